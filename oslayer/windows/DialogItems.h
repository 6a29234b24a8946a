#pragma once
// n_OSLayer dialog items: the texts and checks of a dialog's controls by id, texts in UTF-8.

#include "strings/c_String.h"

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

// The edit of the name dialog.
constexpr std::int32_t NAME_EDIT_CONTROL_ID = 1043;

void SetDialogItemText(HWND dialog, std::int32_t id, const c_StringView& text);
// Empty for a control without text or no control of that id.
c_String GetDialogItemText(HWND dialog, std::int32_t id);
// The text of the name edit.
c_String GetDialogItemText(HWND dialog);
// BST_CHECKED or BST_UNCHECKED.
bool CheckDlgButton(HWND dialog, std::int32_t id, UINT check);

} // namespace n_OSLayer
