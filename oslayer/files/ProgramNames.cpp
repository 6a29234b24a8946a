// The program's path and folder, and the names built from them and from numbers.

#include "oslayer/files/ProgramNames.h"

#include "textutil/NumberFormatting.h"

#include <vector>

namespace {

std::vector<c_StringView> SplitFolder(const c_StringView& folder) {
    std::vector<c_StringView> pieces;
    folder.Split('\\', pieces);
    return pieces;
}

} // namespace

c_String GetProgramPath() {
    return n_OSLayer::GetModuleFileName();
}

c_StringView GetFolderName(const c_StringView& folder) {
    const std::vector<c_StringView> pieces = SplitFolder(folder);
    return pieces.size() < 2 ? c_StringView() : pieces[pieces.size() - 2];
}

c_String GetProgramFolderName() {
    return c_String(GetFolderName(GetProgramFolder()));
}

c_String GetFolderPathTail(const c_StringView& folder, std::int32_t count) {
    const std::vector<c_StringView> pieces = SplitFolder(folder);
    c_String tail = "/";
    if (pieces.size() >= 3 && count > 1) {
        tail += pieces[pieces.size() - 3];
        tail += "/";
    }
    if (pieces.size() >= 2) {
        tail += pieces[pieces.size() - 2];
    }
    return tail;
}

c_String GetProgramFolderPathTail(std::int32_t count) {
    return GetFolderPathTail(GetProgramFolder(), count);
}

c_String GetButtonBitmapFolder() {
    return "Graphics\\Buttons\\";
}

c_String GetButtonBitmapFileName(std::int32_t n) {
    return Concat({"Button_", ToString(n), ".bmp"});
}

c_String GetButtonBitmapPath(std::int32_t n) {
    return Concat({GetButtonBitmapFolder(), GetButtonBitmapFileName(n)});
}

c_String GetInstanceNamePrefix() {
    return "DovrikChartInstance_";
}

c_String GetInstanceName(std::int32_t n) {
    return Concat({GetInstanceNamePrefix(), ToString(n)});
}
