#pragma once
// n_OSLayer keyboard, mouse and screen calls: key state, input, the cursor, system metrics and
// monitors.

#include <windows.h>

#include <cstdint>

// A count of INPUT records and where they are.
struct s_InputArray {
    std::uint32_t m_Count = 0;
    INPUT* m_p_Inputs = nullptr;
};

namespace n_OSLayer {

std::int16_t GetKeyState(std::int32_t key);
// The key is down now (bit 15 of GetAsyncKeyState).
bool IsKeyDown(std::int32_t key);
bool IsShiftDown();
bool IsControlDown();
bool IsAltDown();
// The number of events sent.
std::uint32_t SendInput(const INPUT& input);
std::uint32_t SendInput(const s_InputArray& inputs);

std::int32_t GetSystemMetrics(std::int32_t index);
std::int32_t GetCaptionHeight();
std::int32_t GetBorderWidth();
std::int32_t GetFullScreenWidth();
std::int32_t GetFullScreenHeight();

bool SetCursorPos(std::int32_t x, std::int32_t y);
bool GetCursorPos(POINT* point);
HCURSOR SetCursor(HCURSOR cursor);
// The point comes first.
BOOL ScreenToClient(POINT* point, HWND window);
BOOL GetCursorInfo(CURSORINFO* info);
HWND GetDesktopWindow();
BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM data);

} // namespace n_OSLayer
