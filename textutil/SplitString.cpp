// Splitting into owned pieces and splitting a writable buffer in place.

#include "textutil/SplitString.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace {

// True when every piece could be stored.
template <typename Text> bool AppendOwnedPieces(const Text& text, const char* separator, std::vector<c_String>& out) {
    const c_StringView separatorView(separator);
    const int length = text.GetLength();
    int start = 0;
    while (start < length) {
        const int hit = text.Find(separatorView, start);
        const c_StringView piece = hit < 0 ? text.RightFrom(start) : text.Mid(start, hit - start);
        out.emplace_back(piece);
        if (out.back().GetLength() != piece.GetLength()) {
            return false;
        }
        if (hit < 0) {
            break;
        }
        start = hit + separatorView.GetLength();
    }
    return true;
}

template <typename Text> int SplitOwned(const Text& text, const char* separator, std::vector<c_String>& out) {
    out.clear();
    try {
        if (AppendOwnedPieces(text, separator, out)) {
            return static_cast<int>(out.size());
        }
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    out.clear();
    return 0;
}

} // namespace

int SplitString(const c_String& text, const char* separator, std::vector<c_String>& out) {
    return SplitOwned(text, separator, out);
}

int SplitStringNoCase(const c_StringNoCase& text, const char* separator, std::vector<c_String>& out) {
    return SplitOwned(text, separator, out);
}

int SplitInPlace(char* text, const char* separator, std::vector<char*>& out) {
    out.clear();
    if (text == nullptr) {
        return 0;
    }
    try {
        out.push_back(text);
        const std::size_t separatorLength = separator == nullptr ? 0 : std::strlen(separator);
        if (separatorLength == 0) {
            return 1;
        }
        for (char* position = std::strstr(text, separator); position != nullptr;
             position = std::strstr(position, separator)) {
            *position = 0;
            position += separatorLength;
            if (*position == 0) {
                break;
            }
            out.push_back(position);
        }
        return static_cast<int>(out.size());
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    out.clear();
    return 0;
}
