// c_FolderListing: the folder search and its three result forms.

#include "oslayer/files/c_FolderListing.h"

#include "oslayer/files/c_FindFile.h"
#include "textutil/WildcardMatch.h"

namespace {

constexpr int LONGEST_FOLDER = 259;

} // namespace

c_FolderListing::c_FolderListing(const c_StringView& folder, const c_StringView& mask, std::int32_t mode)
    : m_Mode(mode) {
    SetFolder(folder);
    SetMask(mask);
}

void c_FolderListing::SetFolder(const c_StringView& folder) {
    m_Folder = folder;
    if (!folder.EndsWith('\\') && !folder.EndsWith('/')) {
        m_Folder.Append('\\');
    }
    if (m_Folder.GetLength() > LONGEST_FOLDER) {
        m_Error = true;
    }
}

void c_FolderListing::SetMask(const c_StringView& mask) {
    m_Mask = mask.StartsWith('.') ? c_String(mask) : Concat({".", mask});
}

void c_FolderListing::Clear() {
    m_Names.clear();
    m_FindData.clear();
    m_FileInfo.clear();
    m_Error = false;
}

bool c_FolderListing::Keeps(const c_String& name, bool isDirectory) const {
    if ((m_Mode == MODE_FILES && isDirectory) || (m_Mode == MODE_FOLDERS && !isDirectory)) {
        return false;
    }
    if (isDirectory && (name == "." || name == "..")) {
        return false;
    }
    return m_Mask == ".*" || WildcardMatchNoCase(name.GetChars(), Concat({"*", m_Mask}).GetChars());
}

bool c_FolderListing::Store(const c_String& name, const WIN32_FIND_DATAW& data, std::int32_t resultKind) {
    switch (resultKind) {
        case RESULT_NAMES:
            m_Names.push_back(name);
            return true;
        case RESULT_FIND_DATA:
            // The key is spelled as the entry whose data it holds.
            m_FindData.erase(c_StringNoCase(name));
            m_FindData.emplace(c_StringNoCase(name), data);
            return true;
        case RESULT_FILE_INFO:
            m_FileInfo.insert_or_assign(name, s_FileInfo(name, data));
            return true;
        default:
            m_Error = true;
            return false;
    }
}

bool c_FolderListing::SearchForFiles(std::int32_t resultKind) {
    if (m_Error) {
        return false;
    }
    if (m_Mode == 0) {
        m_Error = true;
        return false;
    }
    n_OSLayer::c_FindFile search(Concat({m_Folder, m_PatternPrefix, m_Mask}));
    if (!search.IsValid()) {
        // A folder with nothing that matches is an empty listing, not a failed one.
        m_Error = GetLastError() != ERROR_FILE_NOT_FOUND;
        return !m_Error;
    }
    do {
        const c_String name = search.GetFileName();
        if (search.IsHidden() || search.IsSystem() || !Keeps(name, search.IsDirectory())) {
            continue;
        }
        if (!Store(name, search.GetFindData(), resultKind)) {
            return false;
        }
    } while (search.FindNext());
    return true;
}
