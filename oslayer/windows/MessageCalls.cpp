// n_OSLayer message calls over the Windows calls.

#include "oslayer/windows/MessageCalls.h"

#include "oslayer/system/TextConversion.h"

namespace n_OSLayer {

std::uint32_t RegisterWindowMessage(const c_StringView& name) {
    return RegisterWindowMessageW(UTF8ToWide(name).GetBuffer());
}

bool PostQuitMessageToThread(std::uint32_t threadId) {
    return PostThreadMessageW(threadId, WM_QUIT, 0, 0) != FALSE;
}

LRESULT CallWindowProc(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

std::uint64_t GetDoubleClickTime() {
    return ::GetDoubleClickTime();
}

bool ShowWindowVisible(HWND window) {
    ShowWindow(window, SW_SHOW);
    return true;
}

} // namespace n_OSLayer
