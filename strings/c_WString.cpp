// c_WString: buffers, formatting through UTF-8, indexing and the builders.

#include "strings/c_WString.h"

#include "strings/c_String.h"
#include "strings/internal/Utf16Codec.h"

namespace {

thread_local char16_t t_FallbackUnit = 0;
thread_local char16_t t_ConstFallbackUnit = 0;

} // namespace

c_WStringView::c_WStringView(const c_WString& text, int maxLength)
    : c_WStringView(n_StringCore::StorageView<c_WStringView>(text, maxLength)) {}

c_WStringView::c_WStringView(const c_WString& text, bool cutAtNul)
    : c_WStringView(n_StringCore::CutStorageView<c_WStringView>(text, cutAtNul)) {}

c_WStringViewNoCase::c_WStringViewNoCase(const c_WString& text, bool cutAtNul)
    : c_WStringViewNoCase(n_StringCore::CutStorageView<c_WStringView>(text, cutAtNul)) {}

c_WString c_WString::FromBuffer(c_WString&& buffer) {
    c_WString text(static_cast<c_WString&&>(buffer));
    text.CutAtNul();
    return text;
}

void c_WString::AssignFromBuffer(c_WString& buffer) {
    SwapStorage(buffer);
    CutAtNul();
}

c_WString& c_WString::AppendFormatV(const char16_t* format, va_list arguments) {
    if (format == nullptr) {
        return *this;
    }
    const n_StringCore::t_Text<char16_t> wideFormat = c_WStringView(format).Text();
    c_String narrowFormat;
    if (!narrowFormat.SetSize(static_cast<int>(n_StringCore::Utf16ToUtf8(wideFormat, nullptr)) + 1)) {
        return *this;
    }
    narrowFormat.GetBuffer()[n_StringCore::Utf16ToUtf8(wideFormat, narrowFormat.GetBuffer())] = 0;
    c_String formatted;
    formatted.AppendFormatV(narrowFormat.GetChars(), arguments);
    const std::int64_t units = n_StringCore::Utf8ToUtf16(formatted.GetText(), nullptr);
    c_WString converted;
    if (units == 0 || units >= INT_MAX || !converted.SetSize(static_cast<int>(units) + 1)) {
        return *this;
    }
    converted.GetBuffer()[n_StringCore::Utf8ToUtf16(formatted.GetText(), converted.GetBuffer())] = 0;
    return Append(converted);
}

c_WString& c_WString::AppendFormat(const char16_t* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    AppendFormatV(format, arguments);
    va_end(arguments);
    return *this;
}

c_WString& c_WString::Format(const char16_t* format, ...) {
    Clear();
    va_list arguments;
    va_start(arguments, format);
    AppendFormatV(format, arguments);
    va_end(arguments);
    return *this;
}

c_WString c_WString::MakeFormatted(const char16_t* format, ...) {
    c_WString formatted;
    va_list arguments;
    va_start(arguments, format);
    formatted.AppendFormatV(format, arguments);
    va_end(arguments);
    return formatted;
}

char16_t& c_WString::operator[](int index) {
    if (index >= 0 && index < GetLength()) {
        return GetBuffer()[index];
    }
    t_FallbackUnit = 0;
    return t_FallbackUnit;
}

const char16_t& c_WString::operator[](int index) const {
    if (index >= 0 && index < GetLength()) {
        return GetBuffer()[index];
    }
    t_ConstFallbackUnit = 0;
    return t_ConstFallbackUnit;
}

c_WString Concat(std::initializer_list<c_WStringView> pieces) {
    c_WString text;
    text.JoinTexts(pieces.begin(), static_cast<int>(pieces.size()), {});
    return text;
}

c_WString operator+(const c_WStringView& left, const c_WStringView& right) {
    return n_StringCore::JoinTwo<c_WString>(left, right);
}

c_WString AppendToRvalue(c_WString&& left, const c_WStringView& right) {
    return n_StringCore::AppendToRvalue(static_cast<c_WString&&>(left), right);
}
