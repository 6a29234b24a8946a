#pragma once
// Registry keys and values: the ADVAPI32 calls that the program makes.
//
// The layer keeps each hive in a file of its own under C:\.registry\ of the drive map, so a value
// written by one process is read by the next. Two hives exist: HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE. Key and value names are compared without ASCII case; a key path is names
// separated by "\" (one trailing "\" is allowed, an empty name elsewhere is ERROR_BAD_PATHNAME).
// The calls return their error number, as on Windows, and leave the last error alone.

#include "win32/types.h"

DECLARE_HANDLE(HKEY);
typedef HKEY* PHKEY;
typedef LONG LSTATUS;
typedef DWORD REGSAM;

#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000001))))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000002))))

#define ERROR_MORE_DATA 234
#define ERROR_BAD_PATHNAME 161
#define ERROR_UNSUPPORTED_TYPE 1630

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4

#define RRF_RT_REG_NONE 0x00000001
#define RRF_RT_REG_SZ 0x00000002
#define RRF_RT_REG_EXPAND_SZ 0x00000004
#define RRF_RT_REG_BINARY 0x00000008
#define RRF_RT_REG_DWORD 0x00000010
#define RRF_RT_ANY 0x0000FFFF

#define REG_OPTION_NON_VOLATILE 0x00000000
#define KEY_ALL_ACCESS 0xF003F

#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2

// Creates every missing key of the path. Only REG_OPTION_NON_VOLATILE; the class, access and
// security arguments are taken and not kept.
LSTATUS WINAPI RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                               const SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition);
// A null name is the key's default value.
LSTATUS WINAPI RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const unsigned char* data,
                              DWORD bytes);
// Without a buffer the size alone comes back. Strings come back terminated: a stored string without
// its NUL needs two bytes more. ERROR_MORE_DATA (with the size needed) when the buffer is too small,
// ERROR_UNSUPPORTED_TYPE when the flags refuse the value's type, ERROR_FILE_NOT_FOUND when the key
// or the value is missing.
LSTATUS WINAPI RegGetValueW(HKEY key, LPCWSTR subKey, LPCWSTR valueName, DWORD flags, LPDWORD type, PVOID data,
                            LPDWORD bytes);
LSTATUS WINAPI RegCloseKey(HKEY key);
