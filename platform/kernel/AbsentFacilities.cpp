// The calls of facilities that Linux lacks, failing as Windows does without them.

#include "platform/kernel/LastError.h"

#include <windows.h>

DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR path, LPDWORD handle) {
    if (handle != nullptr) {
        *handle = 0;
    }
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        return 0;
    }
    return n_Platform::FailWith<DWORD>(0, ERROR_RESOURCE_TYPE_NOT_FOUND);
}

BOOL WINAPI GetFileVersionInfoW(LPCWSTR path, DWORD handle, DWORD, LPVOID) {
    return GetFileVersionInfoSizeW(path, &handle) != 0 ? TRUE : FALSE;
}

BOOL WINAPI VerQueryValueW(LPCVOID, LPCWSTR, LPVOID* value, UINT* bytes) {
    if (value != nullptr) {
        *value = nullptr;
    }
    if (bytes != nullptr) {
        *bytes = 0;
    }
    return FALSE;
}

BOOL WINAPI PlaySoundW(LPCWSTR, HMODULE, DWORD) {
    return FALSE;
}

LPTOP_LEVEL_EXCEPTION_FILTER WINAPI SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER) {
    return nullptr;
}
