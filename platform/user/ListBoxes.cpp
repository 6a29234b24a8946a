// List boxes: lines with data, the selection, the top line and the horizontal extent.

#include "platform/user/Backend.h"
#include "platform/user/Controls.h"
#include "platform/user/ItemList.h"

namespace {

class c_ListBoxState : public n_Platform::c_ControlState {
public:
    n_Platform::c_ItemList m_Items;
    int m_HorizontalExtent = 0;
    int m_TopIndex = 0;
};

// A new line is shown (and, headless, echoed) as it comes.
LRESULT AddLine(HWND list, n_Platform::c_ItemList& items, int index, LPARAM text) {
    const LPCWSTR line = reinterpret_cast<LPCWSTR>(text);
    const int added = index == -2 ? items.Add(line, false) : items.Insert(index, line);
    if (added != LB_ERR) {
        n_Platform::GetUserBackend().OnListLineAdded(list, items.GetText(added));
    }
    return added;
}

LRESULT HandleLines(HWND list, c_ListBoxState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    n_Platform::c_ItemList& items = state.m_Items;
    const int index = static_cast<int>(wParam);
    switch (message) {
        case LB_ADDSTRING:
            return AddLine(list, items, -2, lParam);
        case LB_INSERTSTRING:
            return AddLine(list, items, index, lParam);
        case LB_DELETESTRING:
            return items.Delete(index);
        case LB_RESETCONTENT:
            items.Clear();
            state.m_TopIndex = 0;
            return 0;
        case LB_SETCURSEL:
            // Clearing the selection with -1 is no error for the program, but answers LB_ERR.
            return items.Select(index) ? index : LB_ERR;
        case LB_SETITEMDATA:
            if (!items.IsIndex(index)) {
                return LB_ERR;
            }
            items.SetData(index, lParam);
            return TRUE;
        default: // LB_SETTOPINDEX
            if (!items.IsIndex(index)) {
                return LB_ERR;
            }
            state.m_TopIndex = index;
            return 0;
    }
}

} // namespace

namespace n_Platform {

LRESULT CALLBACK ListBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    c_ListBoxState* state = GetControlState<c_ListBoxState>(window, message);
    if (state == nullptr) {
        return DefControlProc(window, message, wParam, lParam);
    }
    const c_ItemList& items = state->m_Items;
    const int index = static_cast<int>(wParam);
    switch (message) {
        case LB_ADDSTRING:
        case LB_INSERTSTRING:
        case LB_DELETESTRING:
        case LB_RESETCONTENT:
        case LB_SETCURSEL:
        case LB_SETITEMDATA:
        case LB_SETTOPINDEX: {
            const LRESULT result = HandleLines(window, *state, message, wParam, lParam);
            GetUserBackend().OnWindowChanged(window);
            return result;
        }
        case LB_GETCOUNT:
            return items.GetCount();
        case LB_GETCURSEL:
            return items.GetSelection();
        case LB_GETTEXT:
            return CopyItemText(items, wParam, lParam);
        case LB_GETTEXTLEN:
            return items.IsIndex(index) ? static_cast<LRESULT>(items.GetText(index).size()) : LB_ERR;
        case LB_GETITEMDATA:
            return items.IsIndex(index) ? items.GetData(index) : LB_ERR;
        case LB_GETTOPINDEX:
            return state->m_TopIndex;
        case LB_FINDSTRINGEXACT:
            return items.Find(index, reinterpret_cast<LPCWSTR>(lParam), true);
        case LB_SETHORIZONTALEXTENT:
            state->m_HorizontalExtent = index;
            GetUserBackend().OnWindowChanged(window);
            return 0;
        case LB_GETHORIZONTALEXTENT:
            return state->m_HorizontalExtent;
        default:
            return DefControlProc(window, message, wParam, lParam);
    }
}

} // namespace n_Platform
