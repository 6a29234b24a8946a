#pragma once
// A user's actions on dialogs and controls, as every back end performs them on the UI thread.
//
// Each is refused (false, nothing happens) when the window does not take user input now: it is
// disabled, or a window it is a child of is, as a dialog is while a modal box is open.

#include <windows.h>

#include <string_view>

namespace n_Platform {

// A click on a button: an automatic check box toggles, then BN_CLICKED goes to the parent.
bool ClickControl(HWND control);
// Typing into an edit: its text is replaced and EN_CHANGE goes to the parent.
bool TypeIntoControl(HWND control, std::u16string_view text);
// A choice in a combo box's list: the selection moves and CBN_SELCHANGE goes to the parent; an index
// outside the list is refused.
bool ChooseComboItem(HWND combo, int index);
// A key in a dialog: queued to the focused control (or the dialog), so that the modal loop's
// IsDialogMessageW takes it.
bool PressKeyInDialog(HWND dialog, WPARAM key);
// Closing the window from its frame: WM_CLOSE.
bool CloseByUser(HWND window);

} // namespace n_Platform
