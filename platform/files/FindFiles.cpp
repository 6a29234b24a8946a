// Folder searches: FindFirstFileW, FindNextFileW and FindClose over a sorted snapshot of the folder.

#include "platform/files/DrivePaths.h"
#include "platform/files/FileStatus.h"
#include "platform/files/PathText.h"
#include "platform/files/WildcardMask.h"
#include "platform/kernel/HandleTable.h"
#include "platform/kernel/LastError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <mutex>
#include <vector>

namespace {

class c_FindObject : public n_Platform::c_KernelObject {
public:
    explicit c_FindObject(std::vector<WIN32_FIND_DATAW> entries) : m_Entries(std::move(entries)) {}

    bool Next(WIN32_FIND_DATAW& data) {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (m_Next >= m_Entries.size()) {
            return false;
        }
        data = m_Entries[m_Next++];
        return true;
    }

private:
    std::mutex m_Lock;
    std::vector<WIN32_FIND_DATAW> m_Entries;
    std::size_t m_Next = 0;
};

class c_FolderReader {
public:
    explicit c_FolderReader(const std::string& linuxPath) : m_p_Folder(opendir(linuxPath.c_str())) {}
    ~c_FolderReader() {
        if (m_p_Folder != nullptr) {
            closedir(m_p_Folder);
        }
    }
    c_FolderReader(const c_FolderReader&) = delete;
    c_FolderReader& operator=(const c_FolderReader&) = delete;

    bool IsOpen() const { return m_p_Folder != nullptr; }
    int GetDescriptor() const { return dirfd(m_p_Folder); }
    const char* NextName() {
        const dirent* entry = readdir(m_p_Folder);
        return entry == nullptr ? nullptr : entry->d_name;
    }

private:
    DIR* m_p_Folder;
};

WIN32_FIND_DATAW MakeFindData(std::u16string_view name, const n_Platform::s_FileStatus& status) {
    WIN32_FIND_DATAW data = {};
    data.dwFileAttributes = status.m_Attributes;
    data.ftCreationTime = status.m_Creation;
    data.ftLastAccessTime = status.m_LastAccess;
    data.ftLastWriteTime = status.m_LastWrite;
    data.nFileSizeHigh = static_cast<DWORD>(status.m_Size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(status.m_Size);
    const std::size_t length = std::min<std::size_t>(name.size(), MAX_PATH - 1);
    std::memcpy(data.cFileName, name.data(), length * sizeof(WCHAR));
    return data;
}

char16_t FoldCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Names in order without ASCII case, names that differ only in case in unit order.
bool ComesBefore(const WIN32_FIND_DATAW& first, const WIN32_FIND_DATAW& second) {
    const std::u16string_view a(first.cFileName);
    const std::u16string_view b(second.cFileName);
    const auto folded = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
    if (folded.first == a.end() || folded.second == b.end()) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
    return FoldCase(*folded.first) < FoldCase(*folded.second);
}

// The folder part and the mask of a pattern; the folder of a bare mask is the current one.
void SplitPattern(std::u16string_view pattern, std::u16string& folder, std::u16string_view& mask) {
    const std::size_t separator = pattern.find_last_of(u"\\/");
    if (separator != std::u16string_view::npos) {
        folder = pattern.substr(0, separator + 1);
        mask = pattern.substr(separator + 1);
    } else if (pattern.size() >= 2 && pattern[1] == u':') {
        folder = pattern.substr(0, 2);
        mask = pattern.substr(2);
    } else {
        folder = u".";
        mask = pattern;
    }
}

bool ListMatches(const std::string& linuxFolder, std::u16string_view mask, std::vector<WIN32_FIND_DATAW>& entries) {
    c_FolderReader reader(linuxFolder);
    if (!reader.IsOpen()) {
        const int error = errno;
        return n_Platform::FailWith(false, error == ENOENT || error == ENOTDIR
                                               ? ERROR_PATH_NOT_FOUND
                                               : n_Platform::WindowsErrorFromErrno(error));
    }
    const bool wildcards = n_Platform::HasWildcards(mask);
    for (const char* name = reader.NextName(); name != nullptr; name = reader.NextName()) {
        const std::u16string wideName = n_Platform::ToUtf16(name);
        n_Platform::s_FileStatus status;
        if ((wildcards ? n_Platform::MatchesMask(wideName, mask) : wideName == mask) &&
            n_Platform::ReadEntryStatus(reader.GetDescriptor(), name, status)) {
            entries.push_back(MakeFindData(wideName, status));
        }
    }
    std::sort(entries.begin(), entries.end(), ComesBefore);
    return true;
}

} // namespace

HANDLE WINAPI FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    std::u16string folder;
    std::u16string_view mask;
    SplitPattern(n_Platform::ReadArgument(pattern), folder, mask);
    std::string linuxFolder;
    if (!n_Platform::ToLinuxPath(folder, linuxFolder)) {
        return INVALID_HANDLE_VALUE;
    }
    std::vector<WIN32_FIND_DATAW> entries;
    if (!ListMatches(linuxFolder, mask, entries)) {
        return INVALID_HANDLE_VALUE;
    }
    if (entries.empty()) {
        return n_Platform::FailWith(INVALID_HANDLE_VALUE, ERROR_FILE_NOT_FOUND);
    }
    auto search = std::make_shared<c_FindObject>(std::move(entries));
    search->Next(*data);
    HANDLE handle = n_Platform::InsertHandle(std::move(search));
    if (handle == nullptr) {
        return INVALID_HANDLE_VALUE;
    }
    SetLastError(ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI FindNextFileW(HANDLE search, LPWIN32_FIND_DATAW data) {
    std::shared_ptr<c_FindObject> object = n_Platform::LookupHandleAs<c_FindObject>(search);
    if (object == nullptr) {
        return FALSE;
    }
    if (!object->Next(*data)) {
        return n_Platform::FailWith(FALSE, ERROR_NO_MORE_FILES);
    }
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE search) {
    if (n_Platform::LookupHandleAs<c_FindObject>(search) == nullptr) {
        return FALSE;
    }
    return CloseHandle(search);
}
