// Tab pages and list-view items through their CWnd.

#include "oslayer/windows/ControlViews.h"

#include "oslayer/windows/ControlHandle.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr UINT KEEP_PLACE = SWP_NOMOVE | SWP_NOZORDER;
constexpr UINT PAGE_PLACE = SWP_NOZORDER | SWP_NOACTIVATE;

int WidthOf(const RECT& rect) {
    return rect.right - rect.left;
}

int HeightOf(const RECT& rect) {
    return rect.bottom - rect.top;
}

// Changes the window's width by the difference, keeping its place and height.
void Widen(HWND window, int difference) {
    RECT frame = {};
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr, 0, 0, WidthOf(frame) + difference, HeightOf(frame), KEEP_PLACE);
}

void FitTabWidth(HWND owner, CWnd* const* pages, int count, HWND tab) {
    int widest = 0;
    for (int index = 0; index < count; ++index) {
        RECT frame = {};
        GetWindowRect(GetControlHandle(pages[index]), &frame);
        widest = std::max(widest, WidthOf(frame));
    }
    RECT client = {};
    GetClientRect(tab, &client);
    const int difference = widest - WidthOf(client);
    Widen(tab, difference);
    Widen(owner, difference);
}

} // namespace

LRESULT ArrangeTabPages(CWnd* owner, CWnd* const* pages, int count, CWnd* tab, int selected, bool fitWidth) {
    const HWND tabWindow = GetControlHandle(tab);
    if (fitWidth) {
        FitTabWidth(GetControlHandle(owner), pages, count, tabWindow);
    }
    RECT area = {};
    GetClientRect(tabWindow, &area);
    SendMessageW(tabWindow, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int index = 0; index < count; ++index) {
        const HWND page = GetControlHandle(pages[index]);
        SetWindowPos(page, nullptr, area.left, area.top, WidthOf(area), HeightOf(area), PAGE_PLACE);
        ShowWindow(page, index == selected ? SW_SHOW : SW_HIDE);
    }
    return SendMessageW(tabWindow, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

bool EnsureListViewItemVisible(CWnd* list, int index) {
    const HWND window = GetControlHandle(list);
    const LRESULT count = SendMessageW(window, LVM_GETITEMCOUNT, 0, 0);
    SendMessageW(window, LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), FALSE);
    return SendMessageW(window, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE) != FALSE;
}
