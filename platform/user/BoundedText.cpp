// Texts handed out into a caller's buffer of a given size.

#include "platform/user/BoundedText.h"

#include <algorithm>

namespace n_Platform {

int CopyBoundedText(std::u16string_view text, LPWSTR buffer, int units) {
    if (buffer == nullptr || units <= 0) {
        return 0;
    }
    const int count = static_cast<int>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(units - 1)));
    std::copy_n(text.data(), count, buffer);
    buffer[count] = u'\0';
    return count;
}

} // namespace n_Platform
