// Drop-down list combo boxes: items with data, the selection and the drop-down list's width.

#include "platform/user/Backend.h"
#include "platform/user/Controls.h"
#include "platform/user/ItemList.h"

namespace {

class c_ComboBoxState : public n_Platform::c_ControlState {
public:
    n_Platform::c_ItemList m_Items;
    int m_DroppedWidth = 0;
};

bool IsSorted(HWND combo) {
    return (static_cast<DWORD>(GetWindowLongW(combo, GWL_STYLE)) & CBS_SORT) != 0;
}

// The selection shows as the combo box's text.
LRESULT Select(HWND combo, c_ComboBoxState& state, WPARAM index) {
    const bool selected = state.m_Items.Select(static_cast<int>(index));
    const std::u16string text = selected ? state.m_Items.GetText(state.m_Items.GetSelection()) : std::u16string();
    DefWindowProcW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return selected ? state.m_Items.GetSelection() : CB_ERR;
}

LRESULT SelectFound(HWND combo, c_ComboBoxState& state, WPARAM start, LPARAM text) {
    const int found = state.m_Items.Find(static_cast<int>(start), reinterpret_cast<LPCWSTR>(text), false);
    if (found == CB_ERR) {
        return CB_ERR;
    }
    const LRESULT result = Select(combo, state, static_cast<WPARAM>(found));
    n_Platform::GetUserBackend().OnWindowChanged(combo);
    return result;
}

LRESULT HandleItems(HWND combo, c_ComboBoxState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    n_Platform::c_ItemList& items = state.m_Items;
    const int index = static_cast<int>(wParam);
    switch (message) {
        case CB_ADDSTRING:
            return items.Add(reinterpret_cast<LPCWSTR>(lParam), IsSorted(combo));
        case CB_INSERTSTRING:
            return items.Insert(index, reinterpret_cast<LPCWSTR>(lParam));
        case CB_DELETESTRING:
            return items.Delete(index);
        case CB_RESETCONTENT:
            items.Clear();
            Select(combo, state, static_cast<WPARAM>(CB_ERR));
            return 0;
        case CB_GETCOUNT:
            return items.GetCount();
        case CB_GETLBTEXT:
            return n_Platform::CopyItemText(items, wParam, lParam);
        case CB_GETLBTEXTLEN:
            return items.IsIndex(index) ? static_cast<LRESULT>(items.GetText(index).size()) : CB_ERR;
        case CB_GETITEMDATA:
            return items.IsIndex(index) ? items.GetData(index) : CB_ERR;
        default: // CB_SETITEMDATA
            if (!items.IsIndex(index)) {
                return CB_ERR;
            }
            items.SetData(index, lParam);
            return TRUE;
    }
}

} // namespace

namespace n_Platform {

LRESULT CALLBACK ComboBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    c_ComboBoxState* state = GetControlState<c_ComboBoxState>(window, message);
    if (state == nullptr) {
        return DefControlProc(window, message, wParam, lParam);
    }
    switch (message) {
        case CB_ADDSTRING:
        case CB_INSERTSTRING:
        case CB_DELETESTRING:
        case CB_RESETCONTENT:
        case CB_GETCOUNT:
        case CB_GETLBTEXT:
        case CB_GETLBTEXTLEN:
        case CB_GETITEMDATA:
        case CB_SETITEMDATA: {
            const LRESULT result = HandleItems(window, *state, message, wParam, lParam);
            GetUserBackend().OnWindowChanged(window);
            return result;
        }
        case CB_GETCURSEL:
            return state->m_Items.GetSelection();
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
            return state->m_Items.Find(static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam),
                                       message == CB_FINDSTRINGEXACT);
        case CB_SELECTSTRING:
            return SelectFound(window, *state, wParam, lParam);
        case CB_SETCURSEL: {
            const LRESULT result = Select(window, *state, wParam);
            GetUserBackend().OnWindowChanged(window);
            return result;
        }
        case CB_SETDROPPEDWIDTH:
            if (static_cast<int>(wParam) < 0) {
                return CB_ERR;
            }
            state->m_DroppedWidth = static_cast<int>(wParam);
            return state->m_DroppedWidth;
        case CB_GETDROPPEDWIDTH:
            return state->m_DroppedWidth;
        default:
            return DefControlProc(window, message, wParam, lParam);
    }
}

} // namespace n_Platform
