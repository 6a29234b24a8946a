#pragma once
// The program's own path and folder, the names taken from that folder, and the fixed names built
// from numbers.

#include "oslayer/files/PathCalls.h"
#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <cstdint>

using n_OSLayer::GetProgramFolder;

// The running executable's full path and file name.
c_String GetProgramPath();
// The folder's own name: of the folder split at "\" (empty pieces kept) the last but one piece;
// empty for fewer than two pieces. C:\A\B\ gives B.
c_StringView GetFolderName(const c_StringView& folder);
c_String GetProgramFolderName();
// "/", then the parent's name and "/" when count is above 1 and the split has three pieces or more,
// then the folder's own name when it has two or more: C:\A\B\ gives /A/B for 2 and /B for 1.
c_String GetFolderPathTail(const c_StringView& folder, std::int32_t count);
c_String GetProgramFolderPathTail(std::int32_t count);

c_String GetButtonBitmapFolder();
c_String GetButtonBitmapFileName(std::int32_t n);
c_String GetButtonBitmapPath(std::int32_t n);
c_String GetInstanceNamePrefix();
c_String GetInstanceName(std::int32_t n);
