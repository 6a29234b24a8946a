#pragma once
// n_OSLayer paths: the parts of a path text, full paths, the program's own path and folder, the
// known folders, the current folder and the environment.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

struct GUID;

namespace n_OSLayer {

// The text up to and including the last "\", "/" or ":" (a drive prefix counts as a folder: C:file
// gives C:); empty when there is none.
c_StringView GetFolderPart(const c_StringView& path);
// The text after the last "\", "/" or ":"; the whole text when there is none.
c_StringView GetFileNamePart(const c_StringView& path);

// GetFullPathNameW; empty on failure.
c_String GetFullPathName(const c_StringView& path);
// The running executable's full path. The buffer starts at 256 units and doubles while the name
// fills it, which means it was cut; empty on failure.
c_String GetModuleFileName();
// The folder part of GetModuleFileName, its "\" included; empty when the path has none.
c_String GetProgramFolder();

// SHGetKnownFolderPath of the folder id with "\" appended; empty on failure.
c_String GetKnownFolderPath(const GUID& folderId);
// The current user's desktop.
c_String GetDesktopFolder();
// The all-users Start Menu programs folder.
c_String GetCommonProgramsFolder();
c_String GetSystemFolder();
c_String GetProgramFilesFolder();
c_String GetProgramFilesX86Folder();

bool SetCurrentDirectory(const c_StringView& path);
// Empty when the variable is not set.
c_String GetEnvironmentVariable(const c_StringView& name);

} // namespace n_OSLayer
