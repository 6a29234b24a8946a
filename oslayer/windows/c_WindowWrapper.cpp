// n_OSLayer::c_WindowWrapper: the window calls on one handle.

#include "oslayer/windows/c_WindowWrapper.h"

#include "oslayer/system/TextConversion.h"
#include "oslayer/windows/ClipboardCalls.h"
#include "oslayer/windows/DialogItems.h"
#include "oslayer/windows/InputFocus.h"
#include "oslayer/windows/ScrollingCalls.h"
#include "oslayer/windows/WindowCreation.h"
#include "oslayer/windows/WindowState.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr UINT PLACEMENT_MARKER = 0x80000000;
constexpr UINT RESTORE_POSITION_FLAGS =
    SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOCOPYBITS | SWP_NOOWNERZORDER;

// The ShowWindow command for each show command of a placement, 0 to 11.
constexpr int SHOW_COMMANDS[] = {SW_HIDE,           SW_SHOW, SW_MINIMIZE, SW_MAXIMIZE,
                                 SW_SHOWNOACTIVATE, SW_SHOW, SW_MINIMIZE, SW_MINIMIZE,
                                 SW_SHOWNOACTIVATE, SW_SHOW, SW_SHOW,     SW_MINIMIZE};

bool IsEmptyRect(const RECT& rect) {
    return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0;
}

} // namespace

namespace n_OSLayer {

LRESULT c_WindowWrapper::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessageW(m_Window, message, wParam, lParam);
}

bool c_WindowWrapper::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return PostMessageW(m_Window, message, wParam, lParam) != FALSE;
}

LRESULT c_WindowWrapper::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) const {
    return DefWindowProcW(m_Window, message, wParam, lParam);
}

bool c_WindowWrapper::IsWindow() const {
    return ::IsWindow(m_Window) != FALSE;
}

bool c_WindowWrapper::DestroyWindow() const {
    return ::DestroyWindow(m_Window) != FALSE;
}

bool c_WindowWrapper::ShowWindow(int command) const {
    return ::ShowWindow(m_Window, command) != FALSE;
}

bool c_WindowWrapper::IsWindowVisible() const {
    return ::IsWindowVisible(m_Window) != FALSE;
}

bool c_WindowWrapper::BringWindowToTop() const {
    return ::BringWindowToTop(m_Window) != FALSE;
}

bool c_WindowWrapper::FlashWindow(DWORD flags, UINT count, DWORD timeoutMs) const {
    return n_OSLayer::FlashWindow(m_Window, flags, count, timeoutMs);
}

c_WindowWrapper c_WindowWrapper::SetActiveWindow() const {
    return c_WindowWrapper(::SetActiveWindow(m_Window));
}

bool c_WindowWrapper::ClientToScreen(POINT* point) const {
    return ::ClientToScreen(m_Window, point) != FALSE;
}

bool c_WindowWrapper::ScreenToClient(POINT* point) const {
    return ::ScreenToClient(m_Window, point) != FALSE;
}

bool c_WindowWrapper::IsIconic() const {
    return ::IsIconic(m_Window) != FALSE;
}

bool c_WindowWrapper::IsZoomed() const {
    return ::IsZoomed(m_Window) != FALSE;
}

bool c_WindowWrapper::EnableWindow(bool enable) const {
    return ::EnableWindow(m_Window, enable ? TRUE : FALSE) != FALSE;
}

bool c_WindowWrapper::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_Window) != FALSE;
}

bool c_WindowWrapper::MoveWindow(int x, int y, int width, int height, bool repaint) const {
    return ::MoveWindow(m_Window, x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
}

bool c_WindowWrapper::MoveWindow(const RECT& rect, bool repaint) const {
    return MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

bool c_WindowWrapper::SetWindowPos(c_WindowWrapper insertAfter, int x, int y, int width, int height, UINT flags) const {
    return ::SetWindowPos(m_Window, insertAfter.m_Window, x, y, width, height, flags) != FALSE;
}

bool c_WindowWrapper::SetTopMost(bool topMost, bool noActivate) const {
    const UINT flags = SWP_NOSIZE | SWP_NOMOVE | (noActivate ? SWP_NOACTIVATE : 0);
    return SetWindowPos(topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

bool c_WindowWrapper::GetClientRect(RECT* rect) const {
    return ::GetClientRect(m_Window, rect) != FALSE;
}

bool c_WindowWrapper::GetWindowRect(RECT* rect) const {
    return ::GetWindowRect(m_Window, rect) != FALSE;
}

bool c_WindowWrapper::GetWindowPlacement(WINDOWPLACEMENT* placement) const {
    return ::GetWindowPlacement(m_Window, placement) != FALSE;
}

bool c_WindowWrapper::RestoreWindowPlacement(const WINDOWPLACEMENT* placement) const {
    if (placement == nullptr || m_Window == nullptr) {
        return false;
    }
    if ((placement->flags & PLACEMENT_MARKER) == 0) {
        return ::SetWindowPlacement(m_Window, placement) != FALSE;
    }
    bool result = true;
    const RECT& frame = placement->rcNormalPosition;
    if (!IsEmptyRect(frame)) {
        result = SetWindowPos(c_WindowWrapper(), frame.left, frame.top, frame.right - frame.left,
                              frame.bottom - frame.top, RESTORE_POSITION_FLAGS);
    }
    if (placement->showCmd < std::size(SHOW_COMMANDS)) {
        ShowWindow(SHOW_COMMANDS[placement->showCmd]);
    }
    return result;
}

bool c_WindowWrapper::SetWindowPlacementWithMinPosition(WINDOWPLACEMENT* placement) const {
    if (m_Window == nullptr || placement == nullptr) {
        return false;
    }
    placement->flags = WPF_SETMINPOSITION;
    return ::SetWindowPlacement(m_Window, placement) != FALSE;
}

void c_WindowWrapper::SetWindowText(const c_StringView& text) const {
    SetWindowTextW(m_Window, UTF8ToWide(text).GetBuffer());
}

c_String c_WindowWrapper::GetWindowText() const {
    const int length = GetWindowTextLengthW(m_Window);
    if (length <= 0) {
        return c_String();
    }
    c_WString buffer;
    if (!buffer.SetLength(length)) {
        return c_String();
    }
    std::fill(buffer.GetBuffer(), buffer.GetBuffer() + length, u'\0');
    const int count = GetWindowTextW(m_Window, buffer.GetBuffer(), length + 1);
    return WideToUTF8(c_WStringView(buffer.GetBuffer(), count < 0 ? 0 : count, true));
}

c_String c_WindowWrapper::GetClassName() const {
    return GetWindowClassName(m_Window);
}

c_String c_WindowWrapper::GetNameEditText() const {
    return GetDialogItemText(m_Window);
}

void c_WindowWrapper::SetDlgItemText(int id, const c_StringView& text) const {
    SetDialogItemText(m_Window, id, text);
}

bool c_WindowWrapper::CheckDlgButton(int id, UINT check) const {
    return n_OSLayer::CheckDlgButton(m_Window, id, check);
}

c_WindowWrapper c_WindowWrapper::SetFocus() const {
    return n_OSLayer::SetFocus(m_Window);
}

c_WindowWrapper c_WindowWrapper::SetCapture() const {
    return n_OSLayer::SetCapture(m_Window);
}

bool c_WindowWrapper::ReleaseCapture() {
    return n_OSLayer::ReleaseCapture();
}

void c_WindowWrapper::SetFont(HFONT font, bool redraw) const {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

HFONT c_WindowWrapper::GetFont() const {
    return GetWindowFont(m_Window);
}

int c_WindowWrapper::SetScrollPos(int bar, int position, bool redraw) const {
    return n_OSLayer::SetScrollPos(m_Window, bar, position, redraw);
}

int c_WindowWrapper::GetScrollPos(int bar) const {
    return n_OSLayer::GetScrollPos(m_Window, bar);
}

bool c_WindowWrapper::ShowScrollBar(int bar, bool show) const {
    return n_OSLayer::ShowScrollBar(m_Window, bar, show);
}

int c_WindowWrapper::SetScrollInfo(int bar, SCROLLINFO* info, bool redraw) const {
    return n_OSLayer::SetScrollInfo(m_Window, bar, info, redraw);
}

BOOL c_WindowWrapper::GetScrollInfo(int bar, SCROLLINFO* info) const {
    return n_OSLayer::GetScrollInfo(m_Window, bar, info);
}

bool c_WindowWrapper::AddClipboardFormatListener() const {
    return n_OSLayer::AddClipboardFormatListener(m_Window);
}

bool c_WindowWrapper::RemoveClipboardFormatListener() const {
    return n_OSLayer::RemoveClipboardFormatListener(m_Window);
}

LONG c_WindowWrapper::GetWindowLong(int index) const {
    return GetWindowLongW(m_Window, index);
}

LONG c_WindowWrapper::SetWindowLong(int index, LONG value) const {
    return SetWindowLongW(m_Window, index, value);
}

c_WindowWrapper c_WindowWrapper::GetParent() const {
    if (m_Window == nullptr) {
        return c_WindowWrapper();
    }
    return c_WindowWrapper(::GetParent(m_Window));
}

} // namespace n_OSLayer
