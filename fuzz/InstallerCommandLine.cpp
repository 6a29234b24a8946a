// Fuzz target: the installer's command line. Values come out trimmed and never hold the piece
// separator " /"; the flags only ever turn on, and the same text parsed twice gives the same result.

#include "fuzz/FuzzInput.h"
#include "installer/c_InstallerApp.h"

namespace {

bool IsClean(const c_String& value) {
    return !value.Contains(" /") && value.GetTrimmedView().GetLength() == value.GetLength();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    const c_String commandLine(reinterpret_cast<const char*>(data), static_cast<int>(size));
    c_InstallerApp once;
    once.ParseCommandLine(commandLine);
    FUZZ_CHECK(IsClean(once.GetInstallPath()) && IsClean(once.GetInstallerName()));
    FUZZ_CHECK(once.GetVersion().second || once.GetVersion().first == 0);
    once.ParseCommandLine(commandLine);
    c_InstallerApp twice;
    twice.ParseCommandLine(commandLine);
    FUZZ_CHECK(once.GetInstallPath() == twice.GetInstallPath() && once.GetVersion() == twice.GetVersion() &&
               once.GetAutoStart2() == twice.GetAutoStart2() && once.GetIsARM64() == twice.GetIsARM64() &&
               once.GetCreateShortcuts() == twice.GetCreateShortcuts());
    return 0;
}
