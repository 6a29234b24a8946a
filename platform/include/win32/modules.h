#pragma once
// Modules: the executable's own file name and the loading of libraries.
//
// The executable is the one module of the process (GetModuleHandleW in text.h). Its file name is
// the drive form of /proc/self/exe. No library modules are loaded.

#include "win32/types.h"

typedef const char* LPCSTR;
typedef LONG_PTR(WINAPI* FARPROC)();

// A null module is the executable. A buffer too small for the name gets as much as fits with a NUL,
// and the result is then the size, with ERROR_INSUFFICIENT_BUFFER.
DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
// Fails with ERROR_MOD_NOT_FOUND.
HMODULE WINAPI LoadLibraryW(LPCWSTR name);
// Only the executable's own module can be freed, which leaves it loaded.
BOOL WINAPI FreeLibrary(HMODULE module);
// The symbols that the executable exports; ERROR_PROC_NOT_FOUND for any other name.
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name);
