// n_OSLayer dialog items over the dialog-item calls.

#include "oslayer/windows/DialogItems.h"

#include "oslayer/system/TextConversion.h"
#include "oslayer/windows/WindowState.h"

namespace n_OSLayer {

void SetDialogItemText(HWND dialog, std::int32_t id, const c_StringView& text) {
    SetDlgItemTextW(dialog, id, UTF8ToWide(text).GetBuffer());
}

c_String GetDialogItemText(HWND dialog, std::int32_t id) {
    return GetWindowText(GetDlgItem(dialog, id));
}

c_String GetDialogItemText(HWND dialog) {
    return GetDialogItemText(dialog, NAME_EDIT_CONTROL_ID);
}

bool CheckDlgButton(HWND dialog, std::int32_t id, UINT check) {
    return ::CheckDlgButton(dialog, id, check) != FALSE;
}

} // namespace n_OSLayer
