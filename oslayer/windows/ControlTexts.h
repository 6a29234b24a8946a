#pragma once
// n_OSLayer control texts: one UTF-8 text sent to a combo box, list box or edit with one message,
// and item and line texts read back as UTF-8.
//
// A sender returns the message's result: an index, or CB_ERR / LB_ERR. A reader gives the empty text
// for an item that is not there.

#include "strings/c_String.h"

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

LRESULT ComboBoxAddString(HWND combo, const c_StringView& text);
LRESULT ComboBoxInsertString(HWND combo, std::int32_t index, const c_StringView& text);
// The first item after start (-1: from the first) beginning with the text, without case.
LRESULT ComboBoxFindString(HWND combo, std::int32_t start, const c_StringView& text);
LRESULT ComboBoxSelectString(HWND combo, std::int32_t start, const c_StringView& text);
LRESULT ComboBoxFindStringExact(HWND combo, std::int32_t start, const c_StringView& text);
void EditReplaceSelection(HWND edit, bool canUndo, const c_StringView& text);
LRESULT ListBoxAddString(HWND list, const c_StringView& text);
LRESULT ListBoxInsertString(HWND list, std::int32_t index, const c_StringView& text);
LRESULT ListBoxFindStringExact(HWND list, std::int32_t start, const c_StringView& text);

c_String ComboBoxGetItemText(HWND combo, std::int32_t index);
c_String ListBoxGetItemText(HWND list, std::int32_t index);
// The line's length comes first; one index names the line for both messages.
c_String EditGetLine(HWND edit, std::int32_t index);
// At most maxLength units of the line, without asking its length.
c_String EditGetLine(HWND edit, std::int32_t index, std::int32_t maxLength);

} // namespace n_OSLayer
