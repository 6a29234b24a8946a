// n_OSLayer path wrappers over the Windows calls.

#include "oslayer/files/PathCalls.h"

#include "oslayer/system/TextConversion.h"

#include <shlobj.h>
#include <windows.h>

#include <climits>
#include <cstring>

namespace {

constexpr DWORD FIRST_MODULE_NAME_SIZE = 256;
// The longest path Windows knows; no buffer grows beyond it.
constexpr DWORD LONGEST_PATH = 32768;

int FindLastSeparator(const c_StringView& path) {
    return path.FindLastOf({'\\', '/', ':'});
}

// A zeroed buffer of size units, or an empty string when it cannot be had.
c_WString MakeZeroedBuffer(DWORD size) {
    c_WString buffer;
    if (size > INT_MAX / 2 || !buffer.SetLength(static_cast<int>(size))) {
        return c_WString();
    }
    std::memset(buffer.GetBuffer(), 0, size * sizeof(WCHAR));
    return buffer;
}

// The text of a call that is asked for its size first (buffer 0), then for the text; cut at its
// first NUL.
template <typename Call> c_String ReadTwoCallText(const Call& call) {
    const DWORD size = call(nullptr, 0);
    if (size == 0) {
        return c_String();
    }
    c_WString buffer = MakeZeroedBuffer(size);
    if (buffer.GetLength() == 0) {
        return c_String();
    }
    const DWORD length = call(buffer.GetBuffer(), size);
    return n_OSLayer::WideToUTF8(c_WStringView(buffer.begin(), static_cast<int>(length < size ? length : size), true));
}

} // namespace

namespace n_OSLayer {

c_StringView GetFolderPart(const c_StringView& path) {
    return path.Left(FindLastSeparator(path) + 1);
}

c_StringView GetFileNamePart(const c_StringView& path) {
    return path.RightFrom(FindLastSeparator(path) + 1);
}

c_String GetFullPathName(const c_StringView& path) {
    const c_WString widePath = UTF8ToWide(path);
    return ReadTwoCallText(
        [&](LPWSTR buffer, DWORD size) { return GetFullPathNameW(widePath.begin(), size, buffer, nullptr); });
}

c_String GetModuleFileName() {
    for (DWORD size = FIRST_MODULE_NAME_SIZE; size <= LONGEST_PATH; size *= 2) {
        c_WString buffer = MakeZeroedBuffer(size);
        if (buffer.GetLength() == 0) {
            return c_String();
        }
        const DWORD length = GetModuleFileNameW(nullptr, buffer.GetBuffer(), size);
        if (length == 0) {
            return c_String();
        }
        if (length < size) {
            return WideToUTF8(c_WStringView(buffer.begin(), static_cast<int>(length), true));
        }
    }
    return c_String();
}

c_String GetProgramFolder() {
    const c_String path = GetModuleFileName();
    return c_String(GetFolderPart(path));
}

c_String GetKnownFolderPath(const GUID& folderId) {
    PWSTR path = nullptr;
    c_String folder;
    if (SUCCEEDED(SHGetKnownFolderPath(folderId, 0, nullptr, &path)) && path != nullptr) {
        folder = Concat({WideToUTF8(path), "\\"});
    }
    CoTaskMemFree(path);
    return folder;
}

c_String GetDesktopFolder() {
    return GetKnownFolderPath(FOLDERID_Desktop);
}

c_String GetCommonProgramsFolder() {
    return GetKnownFolderPath(FOLDERID_CommonPrograms);
}

c_String GetSystemFolder() {
    return GetKnownFolderPath(FOLDERID_System);
}

c_String GetProgramFilesFolder() {
    return GetKnownFolderPath(FOLDERID_ProgramFiles);
}

c_String GetProgramFilesX86Folder() {
    return GetKnownFolderPath(FOLDERID_ProgramFilesX86);
}

bool SetCurrentDirectory(const c_StringView& path) {
    return SetCurrentDirectoryW(UTF8ToWide(path).begin()) != FALSE;
}

c_String GetEnvironmentVariable(const c_StringView& name) {
    const c_WString wideName = UTF8ToWide(name);
    return ReadTwoCallText(
        [&](LPWSTR buffer, DWORD size) { return GetEnvironmentVariableW(wideName.begin(), buffer, size); });
}

} // namespace n_OSLayer
