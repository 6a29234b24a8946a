// The checks of request header fields.

#include "protocols/http/internal/HTTPFieldChecks.h"

#include <cstring>

namespace n_HTTPFieldChecks {

namespace {

bool IsTokenChar(unsigned char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte != 0 && std::strchr("!#$%&'*+-.^_`|~", byte) != nullptr);
}

bool IsValueChar(unsigned char byte) {
    return byte == '\t' || (byte >= 0x20 && byte != 0x7F);
}

} // namespace

bool IsFieldName(const c_StringView& name) {
    if (name.IsEmpty()) {
        return false;
    }
    for (const char byte : name) {
        if (!IsTokenChar(static_cast<unsigned char>(byte))) {
            return false;
        }
    }
    return true;
}

bool IsFieldValue(const c_StringView& value) {
    for (const char byte : value) {
        if (!IsValueChar(static_cast<unsigned char>(byte))) {
            return false;
        }
    }
    return true;
}

} // namespace n_HTTPFieldChecks
