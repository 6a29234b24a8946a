#pragma once
// Control states through their CWnd: the combo box's selected text, checks and enabling. A null
// control stands for no window.

#include "strings/c_String.h"

#include <afxwin.h>

#include <cstdint>

// The selected item's text; without a selection the fallback index's, and the default text for a
// negative index. Empty for an index past the end.
c_String GetComboSelectedText(CWnd* combo, const c_StringView& defaultText, std::int32_t fallbackIndex);
void SetButtonCheck(CWnd* button, bool checked);
bool IsButtonChecked(CWnd* button);
void EnableControl(CWnd* control, bool enable);
