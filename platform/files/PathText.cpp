// UTF-16 and UTF-8 texts of paths, through the layer's code-page functions.

#include "platform/files/PathText.h"

#include <climits>
#include <cstring>

namespace n_Platform {

std::string ToUtf8(std::u16string_view text) {
    if (text.empty() || text.size() > INT_MAX / 3) {
        return std::string();
    }
    const int units = static_cast<int>(text.size());
    std::string result(text.size() * 3, '\0');
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), units, result.data(),
                                          static_cast<int>(result.size()), nullptr, nullptr);
    result.resize(bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
    return result;
}

std::u16string ToUtf16(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return std::u16string();
    }
    const int bytes = static_cast<int>(text.size());
    std::u16string result(text.size(), u'\0');
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, result.data(), bytes);
    result.resize(units > 0 ? static_cast<std::size_t>(units) : 0);
    return result;
}

DWORD CopyTextResult(std::u16string_view text, LPWSTR buffer, DWORD size) {
    const DWORD length = static_cast<DWORD>(text.size());
    if (buffer == nullptr || size <= length) {
        return length + 1;
    }
    std::memcpy(buffer, text.data(), text.size() * sizeof(WCHAR));
    buffer[length] = 0;
    return length;
}

} // namespace n_Platform
