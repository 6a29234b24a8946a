#pragma once
// n_OSLayer message calls: registered messages, quitting other threads, calling a previous window
// procedure, the double-click time and showing windows.

#include "strings/c_StringView.h"

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

// 0 on failure.
std::uint32_t RegisterWindowMessage(const c_StringView& name);
// Posts WM_QUIT to the thread.
bool PostQuitMessageToThread(std::uint32_t threadId);
// The message handed to a subclassed window's previous procedure.
LRESULT CallWindowProc(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
std::uint64_t GetDoubleClickTime();
// Always true.
bool ShowWindowVisible(HWND window);

} // namespace n_OSLayer
