// n_OSLayer control texts over the combo-box, list-box and edit messages.

#include "oslayer/windows/ControlTexts.h"

#include "oslayer/system/TextConversion.h"

#include <algorithm>
#include <functional>

namespace {

LRESULT SendText(HWND control, UINT message, WPARAM wParam, const c_StringView& text) {
    return SendMessageW(control, message, wParam, reinterpret_cast<LPARAM>(n_OSLayer::UTF8ToWide(text).GetBuffer()));
}

WPARAM IndexParameter(std::int32_t index) {
    return static_cast<WPARAM>(static_cast<LONG_PTR>(index));
}

// Windows fills a zeroed buffer of that many units and answers a count; a negative count is 0, and
// the text ends at its first NUL within the count.
c_String ReadUnits(std::int32_t units, const std::function<LRESULT(char16_t*)>& fill) {
    c_WString buffer;
    if (units <= 0 || !buffer.SetLength(units)) {
        return c_String();
    }
    std::fill(buffer.GetBuffer(), buffer.GetBuffer() + units, u'\0');
    const LRESULT count = std::clamp<LRESULT>(fill(buffer.GetBuffer()), 0, units);
    return n_OSLayer::WideToUTF8(c_WStringView(buffer.GetBuffer(), static_cast<int>(count), true));
}

// The item's length first: an item that is not there sends no text message.
c_String ReadItem(HWND control, UINT lengthMessage, UINT textMessage, std::int32_t index) {
    const LRESULT length = SendMessageW(control, lengthMessage, IndexParameter(index), 0);
    if (length < 0) {
        return c_String();
    }
    return ReadUnits(static_cast<std::int32_t>(length) + 1, [&](char16_t* buffer) {
        return SendMessageW(control, textMessage, IndexParameter(index), reinterpret_cast<LPARAM>(buffer));
    });
}

} // namespace

namespace n_OSLayer {

LRESULT ComboBoxAddString(HWND combo, const c_StringView& text) {
    return SendText(combo, CB_ADDSTRING, 0, text);
}

LRESULT ComboBoxInsertString(HWND combo, std::int32_t index, const c_StringView& text) {
    return SendText(combo, CB_INSERTSTRING, IndexParameter(index), text);
}

LRESULT ComboBoxFindString(HWND combo, std::int32_t start, const c_StringView& text) {
    return SendText(combo, CB_FINDSTRING, IndexParameter(start), text);
}

LRESULT ComboBoxSelectString(HWND combo, std::int32_t start, const c_StringView& text) {
    return SendText(combo, CB_SELECTSTRING, IndexParameter(start), text);
}

LRESULT ComboBoxFindStringExact(HWND combo, std::int32_t start, const c_StringView& text) {
    return SendText(combo, CB_FINDSTRINGEXACT, IndexParameter(start), text);
}

void EditReplaceSelection(HWND edit, bool canUndo, const c_StringView& text) {
    SendText(edit, EM_REPLACESEL, canUndo ? TRUE : FALSE, text);
}

LRESULT ListBoxAddString(HWND list, const c_StringView& text) {
    return SendText(list, LB_ADDSTRING, 0, text);
}

LRESULT ListBoxInsertString(HWND list, std::int32_t index, const c_StringView& text) {
    return SendText(list, LB_INSERTSTRING, IndexParameter(index), text);
}

LRESULT ListBoxFindStringExact(HWND list, std::int32_t start, const c_StringView& text) {
    return SendText(list, LB_FINDSTRINGEXACT, IndexParameter(start), text);
}

c_String ComboBoxGetItemText(HWND combo, std::int32_t index) {
    return ReadItem(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

c_String ListBoxGetItemText(HWND list, std::int32_t index) {
    return ReadItem(list, LB_GETTEXTLEN, LB_GETTEXT, index);
}

c_String EditGetLine(HWND edit, std::int32_t index) {
    const LRESULT length = SendMessageW(edit, EM_LINELENGTH, IndexParameter(index), 0);
    return EditGetLine(edit, index, static_cast<std::int32_t>(std::min<LRESULT>(length, INT32_MAX)));
}

c_String EditGetLine(HWND edit, std::int32_t index, std::int32_t maxLength) {
    return ReadUnits(maxLength, [&](char16_t* buffer) {
        // EM_GETLINE reads the room it may fill from the buffer's first unit.
        buffer[0] = static_cast<char16_t>(maxLength);
        return SendMessageW(edit, EM_GETLINE, IndexParameter(index), reinterpret_cast<LPARAM>(buffer));
    });
}

} // namespace n_OSLayer
