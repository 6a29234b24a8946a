#pragma once
// Global memory blocks, MulDiv, and file mappings backed by memory.
//
// Global blocks are checked entries of the layer: a movable block's handle is not its address, and
// a freed or made-up handle fails with ERROR_INVALID_HANDLE. A mapping backed by memory
// (INVALID_HANDLE_VALUE for the file) holds zeroed bytes of its size; its name is known within the
// process. Mappings of files are not supported (ERROR_NOT_SUPPORTED).

#include "win32/types.h"

typedef HANDLE HGLOBAL;

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

#define ERROR_NOT_LOCKED 158
#define ERROR_INVALID_ADDRESS 487

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
// A fixed block's address is its handle; a movable block is locked once more per call.
LPVOID WINAPI GlobalLock(HGLOBAL block);
// TRUE while the block stays locked; FALSE with the last error 0 at the last unlock, or with
// ERROR_NOT_LOCKED when it was not locked.
BOOL WINAPI GlobalUnlock(HGLOBAL block);
// The bytes asked for; 0 for a bad handle.
SIZE_T WINAPI GlobalSize(HGLOBAL block);
// Null on success, the handle itself on failure.
HGLOBAL WINAPI GlobalFree(HGLOBAL block);

// number × numerator ÷ denominator through 64 bits, rounded half away from zero; -1 when the
// denominator is 0 or the result does not fit 32 bits.
int WINAPI MulDiv(int number, int numerator, int denominator);

#define PAGE_READONLY 0x02
#define PAGE_READWRITE 0x04
#define FILE_MAP_WRITE 0x0002
#define FILE_MAP_READ 0x0004
#define FILE_MAP_ALL_ACCESS 0xF001F

HANDLE WINAPI CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protection, DWORD sizeHigh,
                                 DWORD sizeLow, LPCWSTR name);
// ERROR_FILE_NOT_FOUND when no mapping of that name exists.
HANDLE WINAPI OpenFileMappingW(DWORD access, BOOL inherit, LPCWSTR name);
// The view stays valid until UnmapViewOfFile, also after the mapping's handle is closed.
LPVOID WINAPI MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes);
BOOL WINAPI UnmapViewOfFile(LPCVOID view);
