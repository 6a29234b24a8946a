// SHGetKnownFolderPath: the known folders in the drive map, made when missing.

#include "platform/files/DrivePaths.h"
#include "platform/kernel/LastError.h"
#include "platform/shell/DesktopFolder.h"

#include <shlobj.h>

#include <algorithm>
#include <filesystem>

const KNOWNFOLDERID FOLDERID_Desktop = {0xB4BFCC3A, 0xDB2C, 0x424C, {0xB0, 0x29, 0x7F, 0xE9, 0x9A, 0x87, 0xC6, 0x41}};
const KNOWNFOLDERID FOLDERID_CommonPrograms = {
    0x0139D44E, 0x6AFE, 0x49F2, {0x86, 0x90, 0x3D, 0xAF, 0xCA, 0xE6, 0xFF, 0xB8}};
const KNOWNFOLDERID FOLDERID_ProgramFiles = {
    0x905E63B6, 0xC1BF, 0x494E, {0xB2, 0x9C, 0x65, 0xB7, 0x32, 0xD3, 0xD2, 0x1A}};
const KNOWNFOLDERID FOLDERID_ProgramFilesX86 = {
    0x7C5A40EF, 0xA0FB, 0x4BFC, {0x87, 0x4A, 0xC0, 0xF2, 0xE0, 0xB9, 0xFA, 0x8E}};
const KNOWNFOLDERID FOLDERID_System = {0x1AC14E77, 0x02E7, 0x4E5D, {0xB7, 0x44, 0x2E, 0xB1, 0xAE, 0x51, 0x98, 0xB7}};

namespace {

struct s_KnownFolder {
    const KNOWNFOLDERID* m_Id;
    const char16_t* m_Path;
};

// The folders under C:, named as on Windows; the Desktop is the user's own.
const s_KnownFolder KNOWN_FOLDERS[] = {
    {&FOLDERID_CommonPrograms, u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
    {&FOLDERID_ProgramFiles, u"C:\\Program Files"},
    {&FOLDERID_ProgramFilesX86, u"C:\\Program Files (x86)"},
    {&FOLDERID_System, u"C:\\Windows\\System32"},
};

HRESULT FindLinuxFolder(REFKNOWNFOLDERID id, std::string& folder) {
    if (id == FOLDERID_Desktop) {
        folder = n_Platform::FindDesktopFolder();
        return S_OK;
    }
    const auto* known = std::find_if(std::begin(KNOWN_FOLDERS), std::end(KNOWN_FOLDERS),
                                     [&](const s_KnownFolder& entry) { return *entry.m_Id == id; });
    if (known == std::end(KNOWN_FOLDERS)) {
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    }
    return n_Platform::ToLinuxPath(known->m_Path, folder) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

// Windows has every known folder from its installation on; here the first ask makes it.
HRESULT MakeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error && !std::filesystem::is_directory(folder)) {
        return HRESULT_FROM_WIN32(n_Platform::WindowsErrorFromErrno(error.value()));
    }
    return S_OK;
}

HRESULT CopyToTaskMemory(const std::u16string& text, PWSTR* path) {
    *path = static_cast<PWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
    if (*path == nullptr) {
        return E_OUTOFMEMORY;
    }
    std::copy(text.begin(), text.end(), *path);
    (*path)[text.size()] = u'\0';
    return S_OK;
}

} // namespace

HRESULT WINAPI SHGetKnownFolderPath(REFKNOWNFOLDERID id, DWORD, HANDLE, PWSTR* path) {
    if (path == nullptr) {
        return E_INVALIDARG;
    }
    *path = nullptr;
    std::string folder;
    HRESULT result = FindLinuxFolder(id, folder);
    if (SUCCEEDED(result)) {
        result = MakeFolder(folder);
    }
    if (FAILED(result)) {
        return result;
    }
    std::u16string shown = n_Platform::ToDrivePath(folder);
    if (shown.size() > 3 && shown.back() == u'\\') {
        shown.pop_back();
    }
    return CopyToTaskMemory(shown, path);
}
