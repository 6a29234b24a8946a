// c_String: construction from raw buffers, the building operations and the in-place edits.

#include "strings/c_String.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

constexpr char EMPTY_TEXT[1] = {0};

thread_local char t_FallbackByte = 0;

} // namespace

c_String::c_String(int size) {
    if (size >= 32) {
        SetSize(size);
    } else if (size > 0) {
        SetStoredSize(size);
    }
}

c_StringView::c_StringView(const c_String& text, int maxLength)
    : c_StringView(n_StringCore::StorageView<c_StringView>(text, maxLength)) {}

c_StringView::c_StringView(const c_String& text, bool cutAtNul)
    : c_StringView(n_StringCore::CutStorageView<c_StringView>(text, cutAtNul)) {}

c_StringViewNoCase::c_StringViewNoCase(const c_String& text, bool cutAtNul)
    : c_StringViewNoCase(n_StringCore::CutStorageView<c_StringView>(text, cutAtNul)) {}

c_String c_String::FromBuffer(c_String&& buffer) {
    c_String text(static_cast<c_String&&>(buffer));
    text.CutStoredAtNul();
    return text;
}

void c_String::AssignFromBuffer(c_String& buffer) {
    SwapStorage(buffer);
    CutStoredAtNul();
}

const char* c_String::GetChars() const {
    return GetStoredSize() < 2 ? EMPTY_TEXT : GetBuffer();
}

void c_String::AppendRaw(const char* bytes, int count) {
    if (bytes == nullptr || count <= 0) {
        return;
    }
    if (LiesInStorage(bytes)) {
        c_String copy(c_StringView(bytes, count));
        if (copy.GetLength() == count) {
            AppendRaw(copy.GetBuffer(), count);
        }
        return;
    }
    const int stored = GetStoredSize();
    const std::int64_t size = std::int64_t(stored) + count;
    if (size > INT_MAX || !ReserveSize(static_cast<int>(size))) {
        return;
    }
    std::memcpy(GetBuffer() + stored, bytes, static_cast<std::size_t>(count));
    SetStoredSize(static_cast<int>(size));
}

c_String& c_String::AppendFormatV(const char* format, va_list arguments) {
    if (format == nullptr) {
        return *this;
    }
    va_list measuring;
    va_copy(measuring, arguments);
    const int count = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (count < 0) {
        return *this;
    }
    const int length = GetLength();
    const std::int64_t size = std::int64_t(length) + count + 1;
    if (size > INT_MAX) {
        return *this;
    }
    if (size > GetCapacity()) {
        // Growth would move the text that a %s argument may point into: write the result into a new
        // block while the old one stays readable, then take the new block.
        c_String grown;
        if (!grown.ReserveSize(static_cast<int>(size))) {
            return *this;
        }
        std::memcpy(grown.GetBuffer(), GetBuffer(), static_cast<std::size_t>(length));
        grown.SetStoredSize(length + 1);
        const int written =
            std::vsnprintf(grown.GetBuffer() + length, static_cast<std::size_t>(count) + 1, format, arguments);
        if (written < 0) {
            return *this;
        }
        grown.SetLength(length + (written < count ? written : count));
        SwapStorage(grown);
        return *this;
    }
    // The text fits: format apart (a %s argument may point into this text, whose NUL the output
    // would overwrite), then copy into place.
    char small[256];
    c_String large;
    char* formatted = small;
    if (count >= static_cast<int>(sizeof small)) {
        if (!large.ReserveSize(count + 1)) {
            return *this;
        }
        formatted = large.GetBuffer();
    }
    const int written = std::vsnprintf(formatted, static_cast<std::size_t>(count) + 1, format, arguments);
    if (written >= 0) {
        AppendUnits(formatted, written < count ? written : count);
    }
    return *this;
}

c_String& c_String::AppendFormat(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    AppendFormatV(format, arguments);
    va_end(arguments);
    return *this;
}

c_String& c_String::Format(const char* format, ...) {
    // Formatted apart, so that an argument pointing into this string is read before it changes.
    c_String formatted;
    va_list arguments;
    va_start(arguments, format);
    formatted.AppendFormatV(format, arguments);
    va_end(arguments);
    return *this = c_StringView(formatted);
}

c_String c_String::MakeFormatted(const char* format, ...) {
    c_String formatted;
    va_list arguments;
    va_start(arguments, format);
    formatted.AppendFormatV(format, arguments);
    va_end(arguments);
    return formatted;
}

char& c_String::operator[](int index) {
    if (index >= 0 && index < GetLength()) {
        return GetBuffer()[index];
    }
    t_FallbackByte = 0;
    return t_FallbackByte;
}

c_String Concat(std::initializer_list<c_StringView> pieces) {
    c_String text;
    text.JoinTexts(pieces.begin(), static_cast<int>(pieces.size()), {});
    return text;
}

c_String JoinStringViews(const c_StringView* pieces, int count, const c_StringView& separator) {
    c_String text;
    text.JoinTexts(pieces, count, separator.Text());
    return text;
}

c_String operator+(const c_StringView& left, const c_StringView& right) {
    return n_StringCore::JoinTwo<c_String>(left, right);
}

c_String AppendToRvalue(c_String&& left, const c_StringView& right) {
    return n_StringCore::AppendToRvalue(static_cast<c_String&&>(left), right);
}

int ToUpperChar(int c) {
    return c >= 'a' && c <= 'z' ? c - 32 : c;
}

int ToLowerChar(int c) {
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}
