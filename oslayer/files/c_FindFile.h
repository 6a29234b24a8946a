#pragma once
// n_OSLayer::c_FindFile: one open Windows folder search and its current entry.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <windows.h>

namespace n_OSLayer {

class c_FindFile {
public:
    // FindFirstFileW on the pattern; without a match or a folder there is no search, and the last
    // error says why.
    explicit c_FindFile(const c_StringView& pattern);
    ~c_FindFile();
    c_FindFile(const c_FindFile&) = delete;
    c_FindFile& operator=(const c_FindFile&) = delete;

    bool IsValid() const { return m_Handle != nullptr; }
    // The next entry; false at the end (the entry is then zeroed) or without a search.
    bool FindNext();

    bool IsHidden() const { return (m_Entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0; }
    bool IsSystem() const { return (m_Entry.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0; }
    bool IsDirectory() const { return (m_Entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    c_String GetFileName() const;
    const WIN32_FIND_DATAW& GetFindData() const { return m_Entry; }

private:
    HANDLE m_Handle = nullptr;
    WIN32_FIND_DATAW m_Entry = {};
};

} // namespace n_OSLayer
