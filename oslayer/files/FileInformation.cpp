// Existence, times and sizes of single files and folders.

#include "oslayer/files/FileInformation.h"

#include "oslayer/files/FileCalls.h"
#include "oslayer/files/PathCalls.h"
#include "oslayer/files/c_FolderListing.h"
#include "oslayer/system/TimeCalls.h"

namespace {

constexpr int LONGEST_FOLDER = 259;

bool ReadAttributes(const c_String& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return n_OSLayer::GetFileAttributesEx(path, &data);
}

FILETIME ReadLastWrite(const c_String& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return ReadAttributes(path, data) ? data.ftLastWriteTime : FILETIME{};
}

} // namespace

bool FileExistsInFolder(const c_String& folder, const c_String& name, bool foldersOnly, bool filesOnly) {
    if ((foldersOnly && filesOnly) || folder.GetLength() > LONGEST_FOLDER) {
        return false;
    }
    const std::int32_t mode = filesOnly     ? c_FolderListing::MODE_FILES
                              : foldersOnly ? c_FolderListing::MODE_FOLDERS
                                            : c_FolderListing::MODE_BOTH;
    c_FolderListing listing(folder, ".*", mode);
    return listing.SearchForFiles(c_FolderListing::RESULT_FIND_DATA) &&
           listing.GetFindDataMap().count(c_StringNoCase(name)) != 0;
}

bool FolderExists(const c_String& path) {
    const c_StringView text = path.GetView().Trimmed('\\').Trimmed('/');
    if (text.IsEmpty()) {
        return false;
    }
    int separator = text.FindLastOf({'\\'});
    if (separator < 0) {
        separator = text.FindLastOf({'/'});
    }
    return FileExistsInFolder(c_String(text.Left(separator + 1)), c_String(text.RightFrom(separator + 1)), true, false);
}

bool GetFileInfo(const c_String& path, s_FileInfo& info) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!ReadAttributes(path, data)) {
        return false;
    }
    info.m_Name = n_OSLayer::GetFileNamePart(path);
    info.m_Attributes = data.dwFileAttributes;
    info.m_Created = n_OSLayer::FileTimeToLocalDateTime(FileTimeValue(data.ftCreationTime));
    info.m_Accessed = n_OSLayer::FileTimeToLocalDateTime(FileTimeValue(data.ftLastAccessTime));
    info.m_Modified = n_OSLayer::FileTimeToLocalDateTime(FileTimeValue(data.ftLastWriteTime));
    info.m_Size = static_cast<std::int64_t>((std::uint64_t(data.nFileSizeHigh) << 32) + data.nFileSizeLow);
    return true;
}

c_DateTime GetFileModifiedLocalDateTime(const c_String& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!ReadAttributes(path, data)) {
        return c_DateTime();
    }
    return n_OSLayer::FileTimeToLocalDateTime(FileTimeValue(data.ftLastWriteTime));
}

std::int64_t GetFileModifiedFileTime(const c_String& path) {
    return static_cast<std::int64_t>(FileTimeValue(ReadLastWrite(path)));
}

std::int32_t CompareFileModifiedTimes(const c_String& pathA, const c_String& pathB) {
    const FILETIME a = ReadLastWrite(pathA);
    const FILETIME b = ReadLastWrite(pathB);
    return n_OSLayer::CompareFileTime(&a, &b);
}

bool IsSameFolder(const c_String& folderA, const c_String& folderB) {
    const c_String fullA = n_OSLayer::GetFullPathName(Concat({folderA, "\\"}));
    const c_String fullB = n_OSLayer::GetFullPathName(Concat({folderB, "\\"}));
    return fullA.GetLength() == fullB.GetLength() && fullA.GetView().Equals(fullB, false);
}
