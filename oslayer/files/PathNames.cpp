// Path names as text.

#include "oslayer/files/PathNames.h"

#include <initializer_list>

namespace {

constexpr std::initializer_list<char> INVALID_FILE_NAME_CHARACTERS = {'\\', '/', ':', '*', '?', '"', '<', '>', '|'};

} // namespace

c_StringView GetFolderPartWithoutSeparator(const c_StringView& path) {
    const int separator = path.FindLastOf({'\\', '/', ':'});
    return separator < 0 ? c_StringView() : path.Left(separator);
}

std::int32_t GetExtensionPosition(const c_StringView& path) {
    const int dot = path.FindLastOf({'.'});
    return dot < 0 ? path.GetLength() : dot;
}

c_StringView GetFileExtension(const c_StringView& path) {
    return path.RightFrom(GetExtensionPosition(path));
}

c_StringView RemoveFileExtension(const c_StringView& path) {
    return path.Left(GetExtensionPosition(path));
}

c_StringView GetFileBaseName(const c_StringView& path) {
    return RemoveFileExtension(GetFileNamePart(path));
}

void ReplaceFolderOfPath(c_String& path, const c_StringView& folder) {
    path = Concat({folder, GetFileNamePart(path)});
}

std::int32_t CountPathSeparators(const c_StringView& path) {
    std::int32_t count = 0;
    for (char c : path) {
        count += c == '\\' || c == '/' ? 1 : 0;
    }
    return count;
}

c_String GetDriveRoot(const c_StringView& path) {
    const int colon = path.Find(':');
    return colon < 0 ? c_String() : Concat({path.Left(colon), ":\\"});
}

bool ContainsInvalidFileNameCharacter(const c_StringView& name) {
    return name.FindFirstOf(INVALID_FILE_NAME_CHARACTERS) >= 0;
}

void RemoveInvalidFileNameCharacters(c_String& name) {
    for (char c : INVALID_FILE_NAME_CHARACTERS) {
        name.Remove(c);
    }
}
