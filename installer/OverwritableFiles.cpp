// IsOverwritableFile: the names and extensions that are never replaced.

#include "installer/OverwritableFiles.h"

#include "oslayer/files/PathCalls.h"
#include "strings/c_StringView.h"

namespace {

constexpr const char* PROTECTED_EXTENSIONS[] = {".twconfig", ".cht", ".stdycollct", ".dly", ".qvid", ".cfg", ".config"};

} // namespace

bool IsOverwritableFile(const c_String& name) {
    const c_StringViewNoCase lastComponent(n_OSLayer::GetFileNamePart(name));
    if (lastComponent == "Clean Chart.StdyCollct") {
        return true;
    }
    if (lastComponent == "Dovrik4.config") {
        return false;
    }
    const c_StringViewNoCase whole(name);
    for (const char* extension : PROTECTED_EXTENSIONS) {
        if (whole.EndsWith(extension)) {
            return false;
        }
    }
    return true;
}
