// n_OSLayer message-loop pieces.

#include "oslayer/windows/MessageLoop.h"

namespace n_OSLayer {

bool GetMessage(MSG* message, HWND window, UINT firstMessage, UINT lastMessage) {
    return GetMessageW(message, window, firstMessage, lastMessage) > 0;
}

bool TranslateMessage(const MSG* message) {
    return ::TranslateMessage(message) != FALSE;
}

LRESULT DispatchMessage(const MSG* message) {
    return DispatchMessageW(message);
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(window, message, wParam, lParam);
}

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageW(window, message, wParam, lParam) != FALSE;
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace n_OSLayer
