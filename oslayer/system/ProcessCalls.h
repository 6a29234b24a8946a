#pragma once
// n_OSLayer processes: starting programs, opening files and pages with the shell, and finding a
// running program by the path of its executable.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

// Starts the program with the command line "\"" + path + "\" " + parameters, shown, with no
// inherited handles, in the folder (the path's own folder when the folder is empty; blanks and one
// trailing "\" removed). Nothing waits for it. A given message becomes "Created process " + path +
// ".  Current folder: " + folder (+ ".  Parameters: " + parameters with logParameters), or "Error
// creating process " + path + ".  " + the Windows error text.
bool CreateProcess(const c_StringView& path, const c_StringView& parameters, const c_StringView& folder,
                   c_String* message, bool logParameters);
// ShellExecuteW with the verb "edit" or "open"; true when the result is above 32.
bool ShellExecute(const c_StringView& file, const c_StringView& parameters, const c_StringView& folder, bool edit);
// ShellExecuteExW with the verb "open"; the result is not looked at.
void ShellExecuteEx(const c_StringView& file);

// The id of a running process started from exactly this executable (compared without ASCII case),
// or 0.
std::uint32_t GetProgramProcessId(const c_StringView& path);
bool IsProgramRunning(const c_StringView& path);
// The path of the process's first module; empty when it cannot be had.
c_String GetProcessImagePath(std::uint32_t processId);
HANDLE OpenProcess(std::uint32_t access, bool inheritHandle, std::uint32_t processId);
std::uint32_t GetCurrentProcessId();

} // namespace n_OSLayer
