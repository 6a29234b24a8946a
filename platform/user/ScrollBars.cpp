// The standard scroll bars: range, page and position of each window's two bars.

#include "platform/kernel/LastError.h"
#include "platform/user/WindowTable.h"

#include <algorithm>

namespace {

using n_Platform::s_ScrollBarState;

// The highest position: the range less the page, never below the minimum.
int GetTopPosition(const s_ScrollBarState& bar) {
    const long long top = static_cast<long long>(bar.m_Max) - std::max<long long>(bar.m_Page, 1) + 1;
    return static_cast<int>(std::max<long long>(top, bar.m_Min));
}

void Apply(s_ScrollBarState& bar, const SCROLLINFO& info) {
    if ((info.fMask & SIF_RANGE) != 0) {
        bar.m_Min = info.nMin;
        bar.m_Max = std::max(info.nMin, info.nMax);
    }
    if ((info.fMask & SIF_PAGE) != 0) {
        const long long span = static_cast<long long>(bar.m_Max) - bar.m_Min + 1;
        bar.m_Page = static_cast<UINT>(std::min<long long>(info.nPage, span));
    }
    if ((info.fMask & SIF_POS) != 0) {
        bar.m_Position = info.nPos;
    }
    bar.m_Position = std::clamp(bar.m_Position, bar.m_Min, GetTopPosition(bar));
}

// Runs change(bar) on the window's bar under its lock; failure when the window or bar is wrong.
template <typename Change> bool ChangeBar(HWND window, int bar, const Change& change) {
    if (bar != SB_HORZ && bar != SB_VERT) {
        return n_Platform::FailWith(false, ERROR_INVALID_PARAMETER);
    }
    const std::shared_ptr<n_Platform::c_WindowObject> object = n_Platform::LookupWindowObject(window);
    if (object == nullptr) {
        return false;
    }
    object->ChangeState([&](n_Platform::s_WindowState& state) { change(state.m_ScrollBars[bar]); });
    return true;
}

} // namespace

int WINAPI SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL) {
    if (info == nullptr || info->cbSize != sizeof(SCROLLINFO)) {
        return n_Platform::FailWith(0, ERROR_INVALID_PARAMETER);
    }
    int position = 0;
    ChangeBar(window, bar, [&](s_ScrollBarState& state) {
        Apply(state, *info);
        position = state.m_Position;
    });
    return position;
}

BOOL WINAPI GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
    if (info == nullptr || info->cbSize != sizeof(SCROLLINFO)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    return ChangeBar(window, bar,
                     [&](const s_ScrollBarState& state) {
                         if ((info->fMask & SIF_RANGE) != 0) {
                             info->nMin = state.m_Min;
                             info->nMax = state.m_Max;
                         }
                         if ((info->fMask & SIF_PAGE) != 0) {
                             info->nPage = state.m_Page;
                         }
                         if ((info->fMask & SIF_POS) != 0) {
                             info->nPos = state.m_Position;
                         }
                         if ((info->fMask & SIF_TRACKPOS) != 0) {
                             info->nTrackPos = state.m_Position;
                         }
                     })
               ? TRUE
               : FALSE;
}

int WINAPI SetScrollPos(HWND window, int bar, int position, BOOL) {
    int previous = 0;
    ChangeBar(window, bar, [&](s_ScrollBarState& state) {
        previous = state.m_Position;
        SCROLLINFO info = {sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, position, 0};
        Apply(state, info);
    });
    return previous;
}

int WINAPI GetScrollPos(HWND window, int bar) {
    int position = 0;
    ChangeBar(window, bar, [&](const s_ScrollBarState& state) { position = state.m_Position; });
    return position;
}

BOOL WINAPI ShowScrollBar(HWND window, int bar, BOOL show) {
    const DWORD bits = bar == SB_HORZ   ? WS_HSCROLL
                       : bar == SB_VERT ? WS_VSCROLL
                       : bar == SB_BOTH ? WS_HSCROLL | WS_VSCROLL
                                        : 0;
    if (bits == 0) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    const std::shared_ptr<n_Platform::c_WindowObject> object = n_Platform::LookupWindowObject(window);
    if (object == nullptr) {
        return FALSE;
    }
    object->ChangeState([&](n_Platform::s_WindowState& state) {
        state.m_Style = show != FALSE ? state.m_Style | bits : state.m_Style & ~bits;
    });
    return TRUE;
}
