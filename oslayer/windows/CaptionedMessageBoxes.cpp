// Message boxes with the provider's caption, over the n_OSLayer variants.

#include "oslayer/windows/CaptionedMessageBoxes.h"

#include "oslayer/windows/MessageBoxCaption.h"
#include "oslayer/windows/MessageBoxes.h"

std::int32_t ShowMessageBoxOK(HWND owner, const c_StringView& text, std::uintptr_t first, std::uintptr_t second) {
    return n_OSLayer::MessageBox(owner, GetMessageBoxCaption(text, first, second), text, MB_OK);
}

bool ShowMessageBoxYesNo(HWND owner, const c_StringView& text, std::uintptr_t first, std::uintptr_t second) {
    return n_OSLayer::MessageBoxYesNo(owner, GetMessageBoxCaption(text, first, second), text);
}

std::int32_t ShowMessageBoxYesNoCancel(HWND owner, const c_StringView& text, std::uintptr_t first,
                                       std::uintptr_t second) {
    return n_OSLayer::MessageBoxYesNoCancel(owner, GetMessageBoxCaption(text, first, second), text);
}

bool ShowMessageBoxOKCancel(HWND owner, const c_StringView& text, std::uintptr_t first, std::uintptr_t second) {
    return n_OSLayer::MessageBoxOKCancel(owner, GetMessageBoxCaption(text, first, second), text);
}
