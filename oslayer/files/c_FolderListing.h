#pragma once
// c_FolderListing: one folder search with a mask and a mode, and its results in one of three forms.
//
// The folder always ends with a separator, and a folder text of 260 characters or more sets the
// error; the mask always starts with "." (".*" stands for every entry). Hidden and system entries,
// and "." and "..", never reach the results; a mask other than ".*" keeps only names that match "*"
// and the mask without ASCII case. Results add up over searches; an error refuses every further
// search until Clear.
//
// Names that differ only in case share one entry of the find-data map, which is ordered without
// case: the last one found, key and data together. The file-information map keeps them apart,
// ordered byte-wise, since a file system may hold both.

#include "oslayer/files/s_FileInfo.h"
#include "strings/c_String.h"
#include "strings/c_StringNoCase.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <vector>

class c_FolderListing {
public:
    static constexpr std::int32_t MODE_FILES = 1;
    static constexpr std::int32_t MODE_FOLDERS = 2;
    static constexpr std::int32_t MODE_BOTH = 3;

    static constexpr std::int32_t RESULT_NAMES = 1;
    static constexpr std::int32_t RESULT_FIND_DATA = 2;
    static constexpr std::int32_t RESULT_FILE_INFO = 3;

    // Mode 0 makes every search fail.
    c_FolderListing(const c_StringView& folder, const c_StringView& mask, std::int32_t mode);

    // "\" is appended unless the text ends in "\" or "/"; 260 characters or more set the error.
    void SetFolder(const c_StringView& folder);
    // "." is put in front of a mask that lacks it.
    void SetMask(const c_StringView& mask);
    void SetMode(std::int32_t mode) { m_Mode = mode; }
    void SetPatternPrefix(const c_StringView& prefix) { m_PatternPrefix = prefix; }
    // Empties the results and resets the error.
    void Clear();

    // Lists folder + prefix + mask into the results of the kind. A folder without a matching entry
    // is an empty, successful result; a folder that cannot be searched, or an unknown kind when an
    // entry is to be stored, sets the error.
    bool SearchForFiles(std::int32_t resultKind);

    bool HasError() const { return m_Error; }
    const c_String& GetFolder() const { return m_Folder; }
    const c_String& GetMask() const { return m_Mask; }
    const c_String& GetPatternPrefix() const { return m_PatternPrefix; }
    const std::vector<c_String>& GetNames() const { return m_Names; }
    const std::map<c_StringNoCase, WIN32_FIND_DATAW>& GetFindDataMap() const { return m_FindData; }
    const std::map<c_String, s_FileInfo>& GetFileInfoMap() const { return m_FileInfo; }

private:
    bool Keeps(const c_String& name, bool isDirectory) const;
    bool Store(const c_String& name, const WIN32_FIND_DATAW& data, std::int32_t resultKind);

    c_String m_Folder;
    c_String m_Mask = ".*";
    c_String m_PatternPrefix = "*";
    std::int32_t m_Mode;
    std::vector<c_String> m_Names;
    std::map<c_StringNoCase, WIN32_FIND_DATAW> m_FindData;
    std::map<c_String, s_FileInfo> m_FileInfo;
    bool m_Error = false;
};
