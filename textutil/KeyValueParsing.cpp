// Key-value lists, attributes, host and port, and field helpers.

#include "textutil/KeyValueParsing.h"

#include "textutil/NumberParsing.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace {

// A null or empty separator never matches, so the walk always moves on.
std::size_t MatchLength(const char* position, const char* separator) {
    if (separator == nullptr || *separator == 0) {
        return 0;
    }
    const std::size_t length = std::strlen(separator);
    return std::strncmp(position, separator, length) == 0 ? length : 0;
}

void WalkKeyValuePairs(char* text, const char* keySeparator, const char* pairSeparator, std::map<char*, char*>& out) {
    char* key = text;
    bool expectingKey = true;
    char* position = text;
    while (*position != 0) {
        if (expectingKey) {
            if (const std::size_t length = MatchLength(position, keySeparator)) {
                *position = 0;
                out[key] = position + length;
                expectingKey = false;
                position += length;
                continue;
            }
        }
        if (const std::size_t length = MatchLength(position, pairSeparator)) {
            *position = 0;
            if (expectingKey) {
                out[key] = position;
            }
            key = position + length;
            expectingKey = true;
            position += length;
            continue;
        }
        ++position;
    }
    if (expectingKey && *key != 0) {
        out[key] = position;
    }
}

} // namespace

int ParseKeyValuePairsInPlace(char* text, const char* keySeparator, const char* pairSeparator,
                              std::map<char*, char*>& out) {
    out.clear();
    if (text == nullptr) {
        return 0;
    }
    try {
        WalkKeyValuePairs(text, keySeparator, pairSeparator, out);
        return static_cast<int>(out.size());
    } catch (const std::bad_alloc&) {
        out.clear();
        return 0;
    }
}

int ParseKeyValuePairs(const c_String& text, const char* keySeparator, const char* pairSeparator,
                       std::map<c_StringNoCase, c_String>& out) {
    out.clear();
    c_String work(text);
    if (work.GetLength() != text.GetLength()) {
        return 0;
    }
    try {
        std::map<char*, char*> pairs;
        ParseKeyValuePairsInPlace(work.GetBuffer(), keySeparator, pairSeparator, pairs);
        for (const auto& [key, value] : pairs) {
            c_StringNoCase storedKey(key);
            c_String storedValue(value);
            if (storedKey.GetLength() != c_StringView(key).GetLength() ||
                storedValue.GetLength() != c_StringView(value).GetLength()) {
                out.clear();
                return 0;
            }
            out.insert_or_assign(std::move(storedKey), std::move(storedValue));
        }
        return static_cast<int>(out.size());
    } catch (const std::bad_alloc&) {
        out.clear();
        return 0;
    }
}

bool ParseNextAttribute(char*& cursor, char*& name, char*& value) {
    name = nullptr;
    value = nullptr;
    if (cursor == nullptr) {
        return false;
    }
    while (IsWhitespaceChar(*cursor)) {
        ++cursor;
    }
    name = cursor;
    while (*cursor != 0 && *cursor != '=') {
        ++cursor;
    }
    if (*cursor == 0) {
        return false;
    }
    *cursor++ = 0;
    if (*cursor == '"') {
        ++cursor;
    }
    value = cursor;
    while (*cursor != 0 && *cursor != '"') {
        ++cursor;
    }
    if (*cursor == 0) {
        return false;
    }
    *cursor++ = 0;
    return true;
}

void SplitHostAndPort(const c_String& text, c_String& host, std::uint16_t& port) {
    const int colon = text.ReverseFind(':');
    if (colon < 0) {
        host = text;
        return;
    }
    host = text.Left(colon);
    const int number = ParseInt32(text.RightFrom(colon + 1));
    if (number >= 1 && number <= 0xFFFF) {
        port = static_cast<std::uint16_t>(number);
    }
}

int FindFieldEnd(const c_StringView& text) {
    const int end = text.FindFirstOf({',', '\t'});
    return end < 0 ? text.GetLength() : end;
}

c_StringView TrimAndUnquote(const c_StringView& text) {
    const c_StringView trimmed = text.Trimmed();
    if (trimmed.GetLength() >= 2 && trimmed.StartsWith('"') && trimmed.EndsWith('"')) {
        return trimmed.Mid(1, trimmed.GetLength() - 2).Trimmed();
    }
    return trimmed;
}
