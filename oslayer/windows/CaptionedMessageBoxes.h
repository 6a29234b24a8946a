#pragma once
// Message boxes captioned by the process-wide caption provider (MessageBoxCaption.h): each takes
// the owner, the text and two values that it hands to the provider unchanged.

#include "strings/c_StringView.h"

#include <windows.h>

#include <cstdint>

// The button chosen, 0 on failure.
std::int32_t ShowMessageBoxOK(HWND owner, const c_StringView& text, std::uintptr_t first, std::uintptr_t second);
// True on Yes.
bool ShowMessageBoxYesNo(HWND owner, const c_StringView& text, std::uintptr_t first, std::uintptr_t second);
// 0 for Yes, 1 for No, 2 for anything else.
std::int32_t ShowMessageBoxYesNoCancel(HWND owner, const c_StringView& text, std::uintptr_t first,
                                       std::uintptr_t second);
// True on OK.
bool ShowMessageBoxOKCancel(HWND owner, const c_StringView& text, std::uintptr_t first, std::uintptr_t second);
