// Fuzz target: the desktop line of a user-dirs.dirs text. The folder found is empty or absolute, and
// a text made only of that line gives it back.

#include "fuzz/FuzzInput.h"
#include "platform/shell/DesktopFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    const std::string folder =
        n_Platform::ParseDesktopEntry(std::string_view(reinterpret_cast<const char*>(data), size), "/home/u");
    FUZZ_CHECK(folder.empty() || folder[0] == '/');
    if (!folder.empty() && folder.find_first_of("\r\n\"") == std::string::npos) {
        FUZZ_CHECK(n_Platform::ParseDesktopEntry("XDG_DESKTOP_DIR=\"" + folder + "\"\n", "/home/u") == folder);
    }
    return 0;
}
