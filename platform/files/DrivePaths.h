#pragma once
// Paths translated both ways between the program's Windows paths and Linux paths, through the drive
// map (DriveMap.h) and the path grammar (PathGrammar.h).
//
// A Windows path is made full as Windows makes it: "\" and "/" both separate and repeated separators
// collapse; "." and ".." are resolved on the text ("C:\.." is "C:\"); a relative path joins the
// current folder; "\x" is x on the current drive; "C:x" is relative to the current folder when that
// is on C:, else to C:\. A trailing separator stays. A path that starts with one "/" is a POSIX path,
// shown back in the form of the drive whose folder holds it.

#include "platform/files/DriveMap.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace n_Platform {

// The variable that gives a process a module path of its own (GetModuleFileNameW), in Linux or
// drive form.
inline constexpr char MODULE_PATH_VARIABLE[] = "PLATFORM_MODULE_PATH";

// Reads PLATFORM_DRIVES again.
void ReloadDriveMap();

// The full path in drive form ("C:\a\b", "\\server\share\a"), or in POSIX form when no drive holds
// it. False with ERROR_PATH_NOT_FOUND for an empty path.
bool MakeFullPath(std::u16string_view path, std::u16string& full);

// The Linux path of a Windows or POSIX path. False with ERROR_PATH_NOT_FOUND for an empty path or a
// drive that the map does not hold, and with ERROR_BAD_NETPATH for a UNC path.
bool ToLinuxPath(std::u16string_view path, std::string& linuxPath);
bool ToLinuxPath(LPCWSTR path, std::string& linuxPath);

// The drive form of an absolute Linux path, under the drive with the deepest folder that holds it;
// the Linux path itself when no drive does.
std::u16string ToDrivePath(std::string_view linuxPath);

} // namespace n_Platform
