#pragma once
// Path names as text, without touching the file system: parts, extensions, separators, drive
// roots and the characters a file name may not hold. A separator is "\", "/" or ":".

#include "oslayer/files/PathCalls.h"
#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <cstdint>

using n_OSLayer::GetFileNamePart;

// The text before the last separator; empty when there is none.
c_StringView GetFolderPartWithoutSeparator(const c_StringView& path);
// The position of the last "." in the whole text; the length when there is none.
std::int32_t GetExtensionPosition(const c_StringView& path);
// From the last "." to the end, the dot included; empty when there is none.
c_StringView GetFileExtension(const c_StringView& path);
// The text before the last "."; the whole text when there is none.
c_StringView RemoveFileExtension(const c_StringView& path);
// The name part without its extension.
c_StringView GetFileBaseName(const c_StringView& path);
// The path becomes the folder text followed directly by the path's name part.
void ReplaceFolderOfPath(c_String& path, const c_StringView& folder);
// The "\" and "/" characters.
std::int32_t CountPathSeparators(const c_StringView& path);
// The text before the first ":" followed by ":\"; empty when the path has no ":".
c_String GetDriveRoot(const c_StringView& path);
// Whether any of \ / : * ? " < > | occurs.
bool ContainsInvalidFileNameCharacter(const c_StringView& name);
void RemoveInvalidFileNameCharacters(c_String& name);
