// n_OSLayer keyboard, mouse and screen calls over the Windows calls.

#include "oslayer/windows/InputCalls.h"

namespace {

// The size of one INPUT record that SendInput is told.
constexpr int INPUT_SIZE = 40;
static_assert(sizeof(INPUT) == INPUT_SIZE);

} // namespace

namespace n_OSLayer {

std::int16_t GetKeyState(std::int32_t key) {
    return ::GetKeyState(key);
}

bool IsKeyDown(std::int32_t key) {
    return (static_cast<std::uint16_t>(GetAsyncKeyState(key)) & 0x8000) != 0;
}

bool IsShiftDown() {
    return IsKeyDown(VK_SHIFT);
}

bool IsControlDown() {
    return IsKeyDown(VK_CONTROL);
}

bool IsAltDown() {
    return IsKeyDown(VK_MENU);
}

std::uint32_t SendInput(const INPUT& input) {
    return ::SendInput(1, const_cast<INPUT*>(&input), INPUT_SIZE);
}

std::uint32_t SendInput(const s_InputArray& inputs) {
    return ::SendInput(inputs.m_Count, inputs.m_p_Inputs, INPUT_SIZE);
}

std::int32_t GetSystemMetrics(std::int32_t index) {
    return ::GetSystemMetrics(index);
}

std::int32_t GetCaptionHeight() {
    return ::GetSystemMetrics(SM_CYCAPTION);
}

std::int32_t GetBorderWidth() {
    return ::GetSystemMetrics(SM_CXBORDER);
}

std::int32_t GetFullScreenWidth() {
    return ::GetSystemMetrics(SM_CXFULLSCREEN);
}

std::int32_t GetFullScreenHeight() {
    return ::GetSystemMetrics(SM_CYFULLSCREEN);
}

bool SetCursorPos(std::int32_t x, std::int32_t y) {
    return ::SetCursorPos(x, y) != FALSE;
}

bool GetCursorPos(POINT* point) {
    return ::GetCursorPos(point) != FALSE;
}

HCURSOR SetCursor(HCURSOR cursor) {
    return ::SetCursor(cursor);
}

BOOL ScreenToClient(POINT* point, HWND window) {
    return ::ScreenToClient(window, point);
}

BOOL GetCursorInfo(CURSORINFO* info) {
    return ::GetCursorInfo(info);
}

HWND GetDesktopWindow() {
    return ::GetDesktopWindow();
}

BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM data) {
    return ::EnumDisplayMonitors(dc, clip, callback, data);
}

} // namespace n_OSLayer
