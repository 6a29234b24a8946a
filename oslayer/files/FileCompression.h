#pragma once
// The process's NTFS compression setting and its application to single files.

#include "strings/c_String.h"

// Both false at start; meant to be set once at start-up.
void SetFileCompressionMode(bool enable, bool disable);
// With neither setting, false. Otherwise opens the file (false when it cannot) and, when the file
// system answers, switches its compression to the setting (enable wins) and logs the change or its
// failure: true. A file system that cannot compress logs "File compression not supported on file
// system. " + path + ". " + the Windows error text: false.
bool ApplyFileCompressionSetting(const c_String& path);
