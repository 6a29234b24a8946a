#pragma once
// Questions about single files and folders: whether they exist, their times and sizes, and whether
// two folder texts name the same folder.

#include "oslayer/files/s_FileInfo.h"
#include "strings/c_String.h"
#include "textutil/c_DateTime.h"

#include <cstdint>

// Whether the folder holds the name, compared without ASCII case; files only, folders only, or
// both when neither flag is set (both set: false). A folder text of 260 characters or more, or one
// that cannot be searched, gives false.
bool FileExistsInFolder(const c_String& folder, const c_String& name, bool foldersOnly, bool filesOnly);
// Whether the path names a folder: "\" and then "/" are taken off both ends, and the last part is
// looked for in the rest.
bool FolderExists(const c_String& path);
// The path's name part, attributes, local times and size; false, the record untouched, when the
// attributes cannot be read.
bool GetFileInfo(const c_String& path, s_FileInfo& info);
// The last-write time in local time; 0 when it cannot be read.
c_DateTime GetFileModifiedLocalDateTime(const c_String& path);
// The raw last-write FILETIME; 0 when it cannot be read.
std::int64_t GetFileModifiedFileTime(const c_String& path);
// -1, 0 or 1 as A's last write is earlier, the same or later than B's; an unreadable time is 0.
std::int32_t CompareFileModifiedTimes(const c_String& pathA, const c_String& pathB);
// The full paths of both folders, each with "\" appended, compared without ASCII case.
bool IsSameFolder(const c_String& folderA, const c_String& folderB);
