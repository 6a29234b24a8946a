// DefWindowProcW: what a window does with the messages its procedure leaves to the system.
//
// It keeps the window's text (set from the creation title at WM_NCCREATE, then through WM_SETTEXT)
// and destroys the window on WM_CLOSE; every other message gets 0.

#include "platform/user/Backend.h"
#include "platform/user/WindowTable.h"

#include <algorithm>
#include <climits>

namespace {

std::u16string_view TextAt(LPCWSTR text) {
    return text == nullptr ? std::u16string_view() : std::u16string_view(text);
}

void StoreText(n_Platform::c_WindowObject& window, std::u16string_view text) {
    window.ChangeState([&](n_Platform::s_WindowState& state) { state.m_Text = text; });
}

} // namespace

LRESULT WINAPI DefWindowProcW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        DestroyWindow(handle);
        return 0;
    }
    if (message != WM_NCCREATE && message != WM_SETTEXT && message != WM_GETTEXT && message != WM_GETTEXTLENGTH) {
        return 0;
    }
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::LookupWindowObject(handle);
    if (window == nullptr) {
        return 0;
    }
    switch (message) {
        case WM_NCCREATE: {
            // The back end hears of the window, text included, once it is made.
            const LPCWSTR title = reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpszName;
            StoreText(*window, IS_INTRESOURCE(title) ? std::u16string_view() : TextAt(title));
            return TRUE;
        }
        case WM_SETTEXT:
            StoreText(*window, TextAt(reinterpret_cast<LPCWSTR>(lParam)));
            n_Platform::GetUserBackend().OnWindowChanged(handle);
            return TRUE;
        case WM_GETTEXT:
            if (wParam == 0 || lParam == 0) {
                return 0;
            }
            return n_Platform::CopyText(window->ReadState().m_Text, reinterpret_cast<LPWSTR>(lParam),
                                        static_cast<int>(std::min<WPARAM>(wParam, INT_MAX)));
        default:
            return static_cast<LRESULT>(window->ReadState().m_Text.size());
    }
}
