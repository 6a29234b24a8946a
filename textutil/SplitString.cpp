// Splitting into owned pieces and splitting a writable buffer in place.

#include "textutil/SplitString.h"

#include <cstring>
#include <new>
#include <stdexcept>

int SplitString(const c_String& text, const char* separator, std::vector<c_String>& out) {
    return text.SplitString(separator, out);
}

int SplitStringNoCase(const c_StringNoCase& text, const char* separator, std::vector<c_String>& out) {
    return text.SplitString(separator, out);
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
