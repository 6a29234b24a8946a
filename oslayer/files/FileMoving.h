#pragma once
// Moving and renaming files with MoveFileW, which never replaces an existing destination.

#include "strings/c_String.h"

// With log, logs "Success" or "Error" + " moving " + source + " file to the folder " + the
// destination's folder part + ". " + the error of the move (empty on success).
bool MoveFileWithLog(const c_String& source, const c_String& destination, bool log);
// n_OSLayer::MoveFile alone; error may be null.
bool MoveFileWrapper(const c_String& source, const c_String& destination, c_String* error);
// folder + oldName to folder + newName, joined as they are.
bool RenameFileInFolder(const c_String& folder, const c_String& oldName, const c_String& newName, c_String* error);
