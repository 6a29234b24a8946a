#pragma once
// n_OSLayer services of the system folder's programs: the Windows version read from Kernel32.dll's
// version resource, and commands run through the command interpreter.

#include "strings/c_String.h"

namespace n_OSLayer {

// The product version of the system folder's Kernel32.dll as major.minor ("10.0"); empty when the
// file, its version resource or its fixed part cannot be had.
c_String GetWindowsVersion();
// Starts COMSPEC (else cmd.exe in the system folder) with /C and the command in double quotes, in
// the interpreter's own folder; true when the process was started. Nothing waits for it.
bool RunCommandLine(const c_StringView& command);

} // namespace n_OSLayer
