#pragma once
// The base types, handle types and calling-convention words of the Windows API, as the program uses them.
//
// Sizes follow 64-bit Windows: LONG and DWORD are 32 bits, pointers and handles 64 bits, and WCHAR
// is a UTF-16 unit (char16_t), never wchar_t.

#include <cstddef>
#include <cstdint>

// x86-64 has one calling convention; the words stay so that declarations read as on Windows.
#define WINAPI
#define CALLBACK
#define __stdcall

typedef int BOOL;
typedef unsigned short WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef unsigned int UINT;
typedef std::int64_t LONGLONG;
typedef std::uint64_t ULONGLONG;
typedef std::uintptr_t ULONG_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::size_t SIZE_T;

typedef void VOID;
typedef void* PVOID;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef DWORD* LPDWORD;
typedef BOOL* LPBOOL;

typedef char* LPSTR;
typedef const char* LPCCH;
typedef char16_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef const WCHAR* LPCWCH;

typedef void* HANDLE;
typedef HANDLE HLOCAL;

// Distinct pointer types, so that one kind of handle cannot be passed for another.
#define DECLARE_HANDLE(name)                                                                                           \
    struct name##__ {                                                                                                  \
        int unused;                                                                                                    \
    };                                                                                                                 \
    typedef struct name##__* name
DECLARE_HANDLE(HINSTANCE);
typedef HINSTANCE HMODULE;

typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;

#define TRUE 1
#define FALSE 0

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)))

struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

static_assert(sizeof(SECURITY_ATTRIBUTES) == 24, "SECURITY_ATTRIBUTES is 24 bytes");
