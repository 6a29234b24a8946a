// Small text functions: each builds its result once, or hands back views into its argument.

#include "textutil/TextFunctions.h"

#include <climits>
#include <cstring>
#include <new>
#include <stdexcept>

namespace {

template <int (*CONVERT)(int)> c_String ConvertedCase(const c_StringView& text) {
    c_String result(text);
    char* buffer = result.GetBuffer();
    for (int i = 0; i < result.GetLength(); ++i) {
        buffer[i] = static_cast<char>(CONVERT(static_cast<unsigned char>(buffer[i])));
    }
    return result;
}

bool EqualsIgnoringCase(char a, char b) {
    return ToLowerChar(static_cast<unsigned char>(a)) == ToLowerChar(static_cast<unsigned char>(b));
}

const c_CharSet& GetUrlTerminators() {
    static const c_CharSet TERMINATORS = {' ', '<', '>', '[', ']', '{', '}', '|', '\\', '^', '\n', '\t'};
    return TERMINATORS;
}

} // namespace

c_String Repeat(const c_StringView& piece, int count) {
    const std::int64_t total = std::int64_t(piece.GetLength()) * (count < 0 ? 0 : count);
    c_String result;
    if (total == 0 || total >= INT_MAX || !result.SetLength(static_cast<int>(total))) {
        return c_String();
    }
    char* out = result.GetBuffer();
    for (int i = 0; i < count; ++i, out += piece.GetLength()) {
        std::memcpy(out, piece.begin(), static_cast<std::size_t>(piece.GetLength()));
    }
    return result;
}

c_String ToUpper(const c_StringView& text) {
    return ConvertedCase<ToUpperChar>(text);
}

c_String ToLower(const c_StringView& text) {
    return ConvertedCase<ToLowerChar>(text);
}

c_String CopyLetterCase(c_StringView& text, c_StringView& model) {
    c_String result(text);
    if (result.GetLength() != text.GetLength()) {
        result = c_String();
        model = c_StringView();
    }
    char* out = result.GetBuffer();
    while (!text.IsEmpty() && !model.IsEmpty()) {
        if (EqualsIgnoringCase(text.GetFirstChar(), model.GetFirstChar())) {
            *out = model.GetFirstChar();
        }
        ++out;
        text.DropFirst();
        model.DropFirst();
    }
    text = c_StringView();
    return result;
}

c_StringView Between(const c_StringView& text, const c_StringView& startMarker, const c_StringView& endMarker) {
    const int start = text.Find(startMarker);
    if (start < 0) {
        return c_StringView();
    }
    const int from = start + startMarker.GetLength();
    const int end = text.Find(endMarker, from);
    if (end < 0) {
        return c_StringView();
    }
    return text.Mid(from, end - from);
}

int StripCommonPrefix(c_StringView& a, c_StringView& b) {
    int common = 0;
    while (common < a.GetLength() && common < b.GetLength() && a.begin()[common] == b.begin()[common]) {
        ++common;
    }
    a = a.RightFrom(common);
    b = b.RightFrom(common);
    return common;
}

std::vector<c_StringView> ExtractURLs(const c_StringView& text) {
    std::vector<c_StringView> addresses;
    try {
        c_StringView rest = text;
        for (int hit = rest.Find("http"); hit >= 0; hit = rest.Find("http")) {
            rest = rest.RightFrom(hit);
            if (!rest.StartsWith("http://") && !rest.StartsWith("https://")) {
                rest = rest.RightFrom(4);
                continue;
            }
            const int end = rest.FindFirstOf(GetUrlTerminators());
            const c_StringView address = end < 0 ? rest : rest.Left(end);
            addresses.push_back(address);
            rest = rest.RightFrom(address.GetLength());
        }
    } catch (const std::bad_alloc&) {
        addresses.clear();
    } catch (const std::length_error&) {
        addresses.clear();
    }
    return addresses;
}

void RemoveMenuMnemonics(c_String& text) {
    char* buffer = text.GetBuffer();
    const int length = text.GetLength();
    int kept = 0;
    for (int i = 0; i < length; ++i) {
        if (buffer[i] != '&') {
            buffer[kept++] = buffer[i];
        } else if (i + 1 < length && buffer[i + 1] == '&') {
            buffer[kept++] = '&';
            ++i;
        }
    }
    text.Truncate(kept);
}

c_String JoinWithDots(const c_String& a, const c_String& b, const c_String& c, const c_String& d) {
    return Concat({a, ".", b, ".", c, ".", d});
}

c_String Concat(const c_String& a, const char* middle, const c_String& b) {
    return Concat({a, middle, b});
}

c_String JoinWithSpace(const c_String& a, const c_StringView& b) {
    return Concat({a, " ", b});
}
