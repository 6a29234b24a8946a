// n_OSLayer message boxes over MessageBoxW.

#include "oslayer/windows/MessageBoxes.h"

#include "oslayer/system/TextConversion.h"

namespace n_OSLayer {

std::int32_t MessageBox(HWND owner, const c_StringView& caption, const c_StringView& text, UINT type) {
    return MessageBoxW(owner, UTF8ToWide(text).GetBuffer(), UTF8ToWide(caption).GetBuffer(), type);
}

void MessageBoxOK(HWND owner, const c_StringView& caption, const c_StringView& text) {
    MessageBox(owner, caption, text, MB_OK);
}

bool MessageBoxYesNo(HWND owner, const c_StringView& caption, const c_StringView& text) {
    return MessageBox(owner, caption, text, MB_YESNO) == IDYES;
}

bool MessageBoxYesNoDefaultNo(HWND owner, const c_StringView& caption, const c_StringView& text) {
    return MessageBox(owner, caption, text, MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

std::int32_t MessageBoxYesNoCancel(HWND owner, const c_StringView& caption, const c_StringView& text) {
    switch (MessageBox(owner, caption, text, MB_YESNOCANCEL)) {
        case IDYES:
            return 0;
        case IDNO:
            return 1;
        default:
            return 2;
    }
}

bool MessageBoxOKCancel(HWND owner, const c_StringView& caption, const c_StringView& text) {
    return MessageBox(owner, caption, text, MB_OKCANCEL) == IDOK;
}

} // namespace n_OSLayer
