#pragma once
// Finding files by name in a folder and all the folders below it.

#include "strings/c_String.h"

#include <vector>

// Searches folder + ("\" unless it ends with a separator) + mask, depth-first in the order of the
// search; "." and ".." are left out, hidden and system entries kept, and every folder found is
// searched the same way. A file matches when nameToFind is empty or equal to its name (with case):
// out gets its path, or its bare name with namesOnly, or without returnFiles the folder it is in. A
// folder that cannot be searched sets the error flag (may be null); one with nothing that matches is
// no error. The walk ends as soon as the caller sets the stop flag (may be null).
void FindFilesRecursively(const c_String& folder, const c_String& nameToFind, std::vector<c_String>& out,
                          bool returnFiles, bool* searchError, const c_String& mask, bool namesOnly, const bool* stop);
