#pragma once
// Deleting files: one with its message, and the older files of a folder.

#include "strings/c_String.h"
#include "strings/c_StringNoCase.h"

#include <cstdint>
#include <set>

// On failure the error becomes "Error deleting " + path + " file: " and the Windows error text in
// double quotes.
bool DeleteFileWithMessage(const c_String& path, c_String& error);
// The same, logging the message on failure.
bool DeleteFileAndLog(const c_String& path);
// Deletes the files of the folder (its text ends with "\") written more than days days before the
// current second whose names end with the extension (compared without case; ".xyz" or longer). The
// message tells how many went, or why none did; false when none did.
bool DeleteFilesInFolder(const c_String& folder, std::int32_t days, const c_String& extension, c_String& message);
// The same for every file older than that whose name is not in the set, each path made as folder +
// "\" + name.
bool DeleteFilesInFolderExceptFiles(const c_String& folder, std::int32_t days, const std::set<c_StringNoCase>& keep,
                                    c_String& message);
