#pragma once
// The single-instance test: a named mutex made from the running executable's path, which a second
// start of the same program finds already existing.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

// The executable's full path with every "\", "/", ":", "." and " " made "-".
c_String GetSingleInstanceMutexName();

// The mutex name for an executable path: as above, then every "_64" removed, so the 32- and 64-bit
// programs of one folder share it.
c_String MakeSingleInstanceMutexName(const c_StringView& path);

// Creates the mutex, owned, and keeps its handle for the life of the process. True only when the
// mutex existed already; any other failure lets the program run.
bool IsAnotherInstanceRunning();
