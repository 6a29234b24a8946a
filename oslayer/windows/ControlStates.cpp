// Control states over the control messages.

#include "oslayer/windows/ControlStates.h"

#include "oslayer/windows/ControlHandle.h"
#include "oslayer/windows/ControlTexts.h"

c_String GetComboSelectedText(CWnd* combo, const c_StringView& defaultText, std::int32_t fallbackIndex) {
    const HWND window = GetControlHandle(combo);
    const LRESULT selection = SendMessageW(window, CB_GETCURSEL, 0, 0);
    const LRESULT index = selection == CB_ERR ? fallbackIndex : selection;
    if (index < 0) {
        return c_String(defaultText);
    }
    return n_OSLayer::ComboBoxGetItemText(window, static_cast<std::int32_t>(index));
}

void SetButtonCheck(CWnd* button, bool checked) {
    SendMessageW(GetControlHandle(button), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsButtonChecked(CWnd* button) {
    return SendMessageW(GetControlHandle(button), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void EnableControl(CWnd* control, bool enable) {
    EnableWindow(GetControlHandle(control), enable ? TRUE : FALSE);
}
