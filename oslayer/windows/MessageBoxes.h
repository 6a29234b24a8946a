#pragma once
// n_OSLayer message boxes: MessageBoxW with UTF-8 texts and the variants that name their buttons.
//
// Every box is modal: the owner takes no input and the thread's messages flow until it is answered.
// The caption comes before the text in the arguments.

#include "strings/c_StringView.h"

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

// The button chosen, 0 on failure.
std::int32_t MessageBox(HWND owner, const c_StringView& caption, const c_StringView& text, UINT type);
void MessageBoxOK(HWND owner, const c_StringView& caption, const c_StringView& text);
// True on Yes.
bool MessageBoxYesNo(HWND owner, const c_StringView& caption, const c_StringView& text);
// True on Yes; Enter chooses No.
bool MessageBoxYesNoDefaultNo(HWND owner, const c_StringView& caption, const c_StringView& text);
// 0 for Yes, 1 for No, 2 for anything else (Cancel, Escape or a failure).
std::int32_t MessageBoxYesNoCancel(HWND owner, const c_StringView& caption, const c_StringView& text);
// True on OK.
bool MessageBoxOKCancel(HWND owner, const c_StringView& caption, const c_StringView& text);

} // namespace n_OSLayer
