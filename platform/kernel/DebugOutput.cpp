// OutputDebugStringW: with no debugger to listen, standard error takes the text, one line per call.

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

std::string ToLine(std::u16string_view text) {
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) {
        text.remove_suffix(1);
    }
    text = text.substr(0, INT_MAX / 4);
    std::string line(text.size() * 3 + 1, '\0');
    const int bytes = text.empty() ? 0
                                   : WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                         line.data(), static_cast<int>(line.size()), nullptr, nullptr);
    line.resize(bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    line += '\n';
    return line;
}

} // namespace

VOID WINAPI OutputDebugStringW(LPCWSTR text) {
    if (text == nullptr) {
        return;
    }
    const std::string line = ToLine(text);
    // The whole line in one write where the system allows it, so that threads never mix lines.
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t count = write(STDERR_FILENO, line.data() + written, line.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return;
        }
        written += static_cast<std::size_t>(count);
    }
}
