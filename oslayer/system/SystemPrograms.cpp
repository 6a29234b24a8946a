// n_OSLayer services of the system folder's programs.

#include "oslayer/system/SystemPrograms.h"

#include "oslayer/files/PathCalls.h"
#include "oslayer/system/ProcessCalls.h"
#include "oslayer/system/TextConversion.h"
#include "textutil/NumberFormatting.h"

#include <windows.h>

#include <vector>

namespace {

// The fixed part of a version block, null when the block has none of full size.
const VS_FIXEDFILEINFO* QueryFixedInfo(const std::vector<unsigned char>& block) {
    LPVOID value = nullptr;
    UINT bytes = 0;
    if (VerQueryValueW(block.data(), u"\\", &value, &bytes) == FALSE || value == nullptr ||
        bytes < sizeof(VS_FIXEDFILEINFO)) {
        return nullptr;
    }
    return static_cast<const VS_FIXEDFILEINFO*>(value);
}

} // namespace

namespace n_OSLayer {

c_String GetWindowsVersion() {
    const c_WString path = UTF8ToWide(Concat({GetSystemFolder(), "Kernel32.dll"}));
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.GetBuffer(), &handle);
    if (size == 0) {
        return c_String();
    }
    std::vector<unsigned char> block(size, 0);
    if (GetFileVersionInfoW(path.GetBuffer(), 0, size, block.data()) == FALSE) {
        return c_String();
    }
    const VS_FIXEDFILEINFO* info = QueryFixedInfo(block);
    if (info == nullptr) {
        return c_String();
    }
    return Concat({ToString(static_cast<unsigned int>(HIWORD(info->dwProductVersionMS))), ".",
                   ToString(static_cast<unsigned int>(LOWORD(info->dwProductVersionMS)))});
}

bool RunCommandLine(const c_StringView& command) {
    c_String interpreter = GetEnvironmentVariable("COMSPEC");
    if (interpreter.IsEmpty()) {
        interpreter = Concat({GetSystemFolder(), "cmd.exe"});
    }
    return CreateProcess(interpreter, Concat({"/C \"", command, "\""}), "", nullptr, false);
}

} // namespace n_OSLayer
