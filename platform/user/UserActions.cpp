// The user's actions on dialogs and controls.

#include "platform/user/UserActions.h"

#include "platform/user/Controls.h"
#include "platform/user/Dialogs.h"
#include "platform/user/UserInput.h"

#include <string>

namespace n_Platform {

bool ClickControl(HWND control) {
    if (!AcceptsUserInput(control)) {
        return false;
    }
    SendMessageW(control, BM_CLICK, 0, 0);
    return true;
}

bool TypeIntoControl(HWND control, std::u16string_view text) {
    if (!AcceptsUserInput(control)) {
        return false;
    }
    const std::u16string typed(text);
    SetWindowTextW(control, typed.c_str());
    NotifyParent(control, EN_CHANGE);
    return true;
}

bool ChooseComboItem(HWND combo, int index) {
    if (!AcceptsUserInput(combo) || index < 0 || index >= SendMessageW(combo, CB_GETCOUNT, 0, 0)) {
        return false;
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    NotifyParent(combo, CBN_SELCHANGE);
    return true;
}

bool PressKeyInDialog(HWND dialog, WPARAM key) {
    if (!AcceptsUserInput(dialog)) {
        return false;
    }
    const HWND focus = GetFocus();
    return PostMessageW(focus != nullptr && IsWithinWindow(dialog, focus) ? focus : dialog, WM_KEYDOWN, key, 0) !=
           FALSE;
}

bool CloseByUser(HWND window) {
    if (!AcceptsUserInput(window)) {
        return false;
    }
    SendMessageW(window, WM_CLOSE, 0, 0);
    return true;
}

} // namespace n_Platform
