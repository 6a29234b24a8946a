// Buttons: push buttons, the default push button, check boxes and group boxes.

#include "platform/user/Backend.h"
#include "platform/user/Controls.h"
#include "platform/user/UserInput.h"

namespace {

class c_ButtonState : public n_Platform::c_ControlState {
public:
    UINT m_Check = BST_UNCHECKED;
};

DWORD KindOf(HWND button) {
    return static_cast<DWORD>(GetWindowLongW(button, GWL_STYLE)) & BS_TYPEMASK;
}

bool IsCheckBox(HWND button) {
    const DWORD kind = KindOf(button);
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX;
}

void SetCheck(HWND button, c_ButtonState& state, UINT check) {
    if (IsCheckBox(button) && state.m_Check != check) {
        state.m_Check = check;
        n_Platform::GetUserBackend().OnWindowChanged(button);
    }
}

void Click(HWND button, c_ButtonState& state) {
    if (!n_Platform::AcceptsUserInput(button) || KindOf(button) == BS_GROUPBOX) {
        return;
    }
    if (KindOf(button) == BS_AUTOCHECKBOX) {
        SetCheck(button, state, state.m_Check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    }
    n_Platform::NotifyParent(button, BN_CLICKED);
}

} // namespace

namespace n_Platform {

LRESULT CALLBACK ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    c_ButtonState* state = GetControlState<c_ButtonState>(window, message);
    if (state == nullptr) {
        return DefControlProc(window, message, wParam, lParam);
    }
    switch (message) {
        case BM_GETCHECK:
            return state->m_Check;
        case BM_SETCHECK:
            SetCheck(window, *state, static_cast<UINT>(wParam));
            return 0;
        case BM_CLICK:
            Click(window, *state);
            return 0;
        default:
            return DefControlProc(window, message, wParam, lParam);
    }
}

} // namespace n_Platform
