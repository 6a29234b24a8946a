// c_String: construction from raw buffers, the building operations and the in-place edits.

#include "strings/c_String.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

constexpr char EMPTY_TEXT[1] = {0};

thread_local char t_FallbackByte = 0;

// Copies a piece to out and returns the end of the copy; an empty piece may have a null pointer.
char* CopyPiece(char* out, c_StringView piece) {
    if (piece.IsEmpty()) {
        return out;
    }
    std::memcpy(out, piece.begin(), static_cast<std::size_t>(piece.GetLength()));
    return out + piece.GetLength();
}

} // namespace

c_String::c_String(int size) {
    if (size >= 32) {
        SetSize(size);
    } else if (size > 0) {
        SetStoredSize(size);
    }
}

c_StringView::c_StringView(const c_String& text, int maxLength) {
    const int size = text.GetStoredSize();
    const int limit = maxLength < size ? maxLength : size;
    *this = c_StringView(text.GetBuffer(), limit < 0 ? 0 : limit, true);
}

c_String c_String::FromBuffer(c_String&& buffer) {
    c_String text(static_cast<c_String&&>(buffer));
    text.CutStoredAtNul();
    return text;
}

void c_String::AssignFromBuffer(c_String& buffer) {
    SwapStorage(buffer);
    CutStoredAtNul();
}

const char* c_String::GetChars() const { return GetStoredSize() < 2 ? EMPTY_TEXT : GetBuffer(); }

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
        const int written = std::vsnprintf(grown.GetBuffer() + length, static_cast<std::size_t>(count) + 1, format,
                                           arguments);
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

c_String& c_String::Insert(int position, const c_StringView& text) {
    const int length = GetLength();
    if (position < 0 || position > length || text.IsEmpty()) {
        return *this;
    }
    if (position == length) {
        return Append(text);
    }
    // Built apart, so the inserted text may point into this string; swapped in only when whole.
    c_String built = Concat({Left(position), text, RightFrom(position)});
    if (!built.IsEmpty()) {
        SwapStorage(built);
    }
    return *this;
}

c_String& c_String::Erase(int start, int count) {
    if (count < 1) {
        return *this;
    }
    const std::int64_t length = GetLength();
    const std::int64_t from = start < 0 ? 0 : start;
    const std::int64_t to = std::int64_t(start) + count > length ? length : std::int64_t(start) + count;
    if (to <= from) {
        return *this;
    }
    char* buffer = GetBuffer();
    std::memmove(buffer + from, buffer + to, static_cast<std::size_t>(length - to));
    SetLength(static_cast<int>(length - (to - from)));
    return *this;
}

c_String& c_String::Remove(char c) {
    char* buffer = GetBuffer();
    const int length = GetLength();
    int kept = 0;
    for (int i = 0; i < length; ++i) {
        if (buffer[i] != c) {
            buffer[kept++] = buffer[i];
        }
    }
    if (kept != length) {
        SetLength(kept);
    }
    return *this;
}

c_String& c_String::Replace(char find, char replacement) {
    char* buffer = GetBuffer();
    const int length = GetLength();
    for (int i = 0; i < length; ++i) {
        if (buffer[i] == find) {
            buffer[i] = replacement;
        }
    }
    return *this;
}

c_String& c_String::ReplaceAllViews(const c_StringView& find, const c_StringView& replacement) {
    if (find.IsEmpty() || (find.GetLength() == replacement.GetLength() &&
                           std::memcmp(find.begin(), replacement.begin(), static_cast<std::size_t>(find.GetLength())) == 0)) {
        return *this;
    }
    const c_StringView text = GetView();
    std::int64_t matches = 0;
    for (int position = text.Find(find); position >= 0; position = text.Find(find, position + find.GetLength())) {
        ++matches;
    }
    if (matches == 0) {
        return *this;
    }
    const std::int64_t total = text.GetLength() + matches * (std::int64_t(replacement.GetLength()) - find.GetLength());
    if (total >= INT_MAX) {
        return *this;
    }
    // The result is built apart from the text, find and replacement (any of which may point into
    // this string) and replaces the text only when it is whole.
    c_String result;
    if (!result.SetSize(static_cast<int>(total) + 1)) {
        return *this;
    }
    char* out = result.GetBuffer();
    int copied = 0;
    for (int position = text.Find(find); position >= 0; position = text.Find(find, copied)) {
        out = CopyPiece(out, text.Mid(copied, position - copied));
        out = CopyPiece(out, replacement);
        copied = position + find.GetLength();
    }
    CopyPiece(out, text.RightFrom(copied));
    result.GetBuffer()[total] = 0;
    SwapStorage(result);
    return *this;
}

c_String& c_String::MakeUpper() {
    char* buffer = GetBuffer();
    for (int i = 0, length = GetLength(); i < length; ++i) {
        buffer[i] = static_cast<char>(ToUpperChar(static_cast<unsigned char>(buffer[i])));
    }
    return *this;
}

c_String& c_String::MakeLower() {
    char* buffer = GetBuffer();
    for (int i = 0, length = GetLength(); i < length; ++i) {
        buffer[i] = static_cast<char>(ToLowerChar(static_cast<unsigned char>(buffer[i])));
    }
    return *this;
}

void c_String::DropFront(int count) {
    char* buffer = GetBuffer();
    const int remaining = GetLength() - count;
    std::memmove(buffer, buffer + count, static_cast<std::size_t>(remaining));
    SetLength(remaining);
}

void c_String::KeepPiece(const c_StringView& piece) {
    if (piece.IsEmpty()) {
        SetLength(0);
        return;
    }
    char* buffer = GetBuffer();
    std::memmove(buffer, piece.begin(), static_cast<std::size_t>(piece.GetLength()));
    SetLength(piece.GetLength());
}

c_String& c_String::Trim() {
    KeepPiece(GetTrimmedView());
    return *this;
}

c_String& c_String::TrimLeft() {
    KeepPiece(GetTrimmedLeftView());
    return *this;
}

c_String& c_String::TrimChar(char c) {
    KeepPiece(GetTrimmedView(c));
    return *this;
}

void c_String::Truncate(int length) {
    if (length < GetLength()) {
        SetLength(length < 0 ? 0 : length);
    }
}

char& c_String::operator[](int index) {
    if (index >= 0 && index < GetLength()) {
        return GetBuffer()[index];
    }
    t_FallbackByte = 0;
    return t_FallbackByte;
}

c_String Concat(std::initializer_list<c_StringView> pieces) {
    std::int64_t total = 0;
    for (const c_StringView& piece : pieces) {
        total += piece.GetLength();
    }
    c_String text;
    if (total >= INT_MAX || !text.SetSize(static_cast<int>(total) + 1)) {
        return text;
    }
    char* out = text.GetBuffer();
    for (const c_StringView& piece : pieces) {
        out = CopyPiece(out, piece);
    }
    *out = 0;
    return text;
}

c_String JoinStringViews(const c_StringView* pieces, int count, const c_StringView& separator) {
    if (count <= 0) {
        return c_String();
    }
    std::int64_t total = std::int64_t(separator.GetLength()) * (count - 1);
    for (int i = 0; i < count; ++i) {
        total += pieces[i].GetLength();
    }
    c_String text;
    if (total >= INT_MAX || !text.SetSize(static_cast<int>(total) + 1)) {
        return text;
    }
    char* out = text.GetBuffer();
    for (int i = 0; i < count; ++i) {
        if (i != 0) {
            out = CopyPiece(out, separator);
        }
        out = CopyPiece(out, pieces[i]);
    }
    *out = 0;
    return text;
}

c_String operator+(const c_StringView& left, const c_StringView& right) {
    // Joined directly rather than through Concat's list: building that list from two views passed
    // in registers makes GCC spill and reload them in a way that stalls store forwarding.
    c_String text;
    const std::int64_t total = std::int64_t(left.GetLength()) + right.GetLength();
    if (total < INT_MAX && text.SetSize(static_cast<int>(total) + 1)) {
        *CopyPiece(CopyPiece(text.GetBuffer(), left), right) = 0;
    }
    return text;
}

c_String AppendToRvalue(c_String&& left, const c_StringView& right) {
    c_String text(static_cast<c_String&&>(left));
    const int length = text.GetLength();
    text.Append(right);
    if (text.GetLength() != length + right.GetLength()) {
        text.Free();
    }
    return text;
}

int ToUpperChar(int c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }

int ToLowerChar(int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }
