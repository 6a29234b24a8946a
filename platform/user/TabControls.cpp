// Tab controls: tabs with texts and item data, the selected tab, and the display area below the row
// of tabs.

#include "platform/user/Backend.h"
#include "platform/user/BoundedText.h"
#include "platform/user/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// The row of tabs over the display area, and the border around it.
constexpr int TAB_ROW_HEIGHT = 20;
constexpr int BORDER = 4;

struct s_Tab {
    std::u16string m_Text;
    LPARAM m_Data = 0;
};

class c_TabState : public n_Platform::c_ControlState {
public:
    std::vector<s_Tab> m_Tabs;
    int m_Selection = -1;

    int Count() const { return static_cast<int>(m_Tabs.size()); }
    bool IsTab(WPARAM index) const { return static_cast<int>(index) >= 0 && static_cast<int>(index) < Count(); }
};

// The first tab is selected as it comes; a selection after the new tab moves with its tab.
LRESULT InsertTab(c_TabState& state, WPARAM index, const TCITEMW* item) {
    if (item == nullptr || static_cast<int>(index) < 0) {
        return -1;
    }
    s_Tab tab;
    if ((item->mask & TCIF_TEXT) != 0 && item->pszText != nullptr) {
        tab.m_Text = item->pszText;
    }
    tab.m_Data = (item->mask & TCIF_PARAM) != 0 ? item->lParam : 0;
    const int at = std::min(static_cast<int>(index), state.Count());
    state.m_Tabs.insert(state.m_Tabs.begin() + at, std::move(tab));
    if (state.m_Selection < 0) {
        state.m_Selection = 0;
    } else if (state.m_Selection >= at) {
        ++state.m_Selection;
    }
    return at;
}

// The tab selected before, or -1 without a change for a tab that is not there.
LRESULT Select(c_TabState& state, WPARAM index) {
    if (!state.IsTab(index)) {
        return -1;
    }
    return std::exchange(state.m_Selection, static_cast<int>(index));
}

LRESULT GetTab(const c_TabState& state, WPARAM index, TCITEMW* item) {
    if (item == nullptr || !state.IsTab(index)) {
        return FALSE;
    }
    const s_Tab& tab = state.m_Tabs[index];
    if ((item->mask & TCIF_TEXT) != 0) {
        n_Platform::CopyBoundedText(tab.m_Text, item->pszText, item->cchTextMax);
    }
    if ((item->mask & TCIF_PARAM) != 0) {
        item->lParam = tab.m_Data;
    }
    return TRUE;
}

// From the window's rectangle to the display area, or back when larger is set.
LRESULT AdjustRect(WPARAM larger, RECT* rect) {
    if (rect == nullptr) {
        return 0;
    }
    const int sign = larger != FALSE ? -1 : 1;
    rect->left += sign * BORDER;
    rect->top += sign * (TAB_ROW_HEIGHT + BORDER);
    rect->right -= sign * BORDER;
    rect->bottom -= sign * BORDER;
    return 0;
}

} // namespace

namespace n_Platform {

LRESULT CALLBACK TabControlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    c_TabState* state = GetControlState<c_TabState>(window, message);
    if (state == nullptr) {
        return DefControlProc(window, message, wParam, lParam);
    }
    switch (message) {
        case TCM_INSERTITEMW:
        case TCM_SETCURSEL: {
            const LRESULT result = message == TCM_INSERTITEMW
                                       ? InsertTab(*state, wParam, reinterpret_cast<const TCITEMW*>(lParam))
                                       : Select(*state, wParam);
            GetUserBackend().OnWindowChanged(window);
            return result;
        }
        case TCM_GETITEMW:
            return GetTab(*state, wParam, reinterpret_cast<TCITEMW*>(lParam));
        case TCM_GETITEMCOUNT:
            return state->Count();
        case TCM_GETCURSEL:
            return state->m_Selection;
        case TCM_ADJUSTRECT:
            return AdjustRect(wParam, reinterpret_cast<RECT*>(lParam));
        default:
            return DefControlProc(window, message, wParam, lParam);
    }
}

} // namespace n_Platform
