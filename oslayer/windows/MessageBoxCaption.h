#pragma once
// The process-wide caption of message boxes: an optional provider that names the caption from the
// message and two values that the box's caller passes through. Set it once, before any thread shows
// a message box; it is not guarded.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <cstdint>
#include <functional>

typedef std::function<c_String(const c_StringView& text, std::uintptr_t first, std::uintptr_t second)>
    t_MessageBoxCaptionProvider;

// Copies the provider; the previous one is destroyed. An empty one stands for none.
void SetMessageBoxCaptionProvider(const t_MessageBoxCaptionProvider& provider);
// The provider's caption, or the empty text without one.
c_String GetMessageBoxCaption(const c_StringView& text, std::uintptr_t first, std::uintptr_t second);
