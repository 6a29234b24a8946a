#pragma once
// Making folders and clearing their read-only attribute, with the log lines of the file utilities.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

// Creates every folder of the path below its first part (a drive such as C: is never created),
// piece by piece, skipping empty pieces; "\" and "/" both separate, and each piece keeps the
// separator before it. The error text starts "CreateFolderRecursively: ", to which a failure adds
// the Windows error text. An empty path, and a UNC path (\\server\share), fail: nothing is created
// on the local drive for them.
bool CreateFolderRecursively(const c_StringView& path, c_String& error);
// Creates the folder (one level) and clears its read-only attribute, logging what happened; false
// only when the folder is empty or cannot be created.
bool PrepareFilesFolder(const c_String& folder);
// Clears the read-only attribute of a file and logs the outcome when it cleared it or failed.
void ClearReadOnlyAttributeWithLog(const c_String& path);
