#pragma once
// n_OSLayer message-loop pieces: the thin wrappers of the calls a message loop and its senders make.

#include <windows.h>

namespace n_OSLayer {

// False on WM_QUIT, and on the error result -1, which ends a loop as WM_QUIT does.
bool GetMessage(MSG* message, HWND window, UINT firstMessage, UINT lastMessage);
bool TranslateMessage(const MSG* message);
LRESULT DispatchMessage(const MSG* message);
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace n_OSLayer
