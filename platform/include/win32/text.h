#pragma once
// Code pages, message texts, local memory blocks and module handles.
//
// CP_UTF8 converts with the Unicode rules for ill-formed input: every maximal ill-formed subpart of
// UTF-8 and every unpaired surrogate becomes U+FFFD. CP_ACP is Windows-1252.

#include "win32/types.h"

#define CP_ACP 0
#define CP_UTF8 65001

// Flags 0 is all that is supported; the default character arguments apply to CP_ACP only.
int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int bytes, LPWSTR buffer, int units);
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int units, LPSTR buffer, int bytes,
                               LPCCH defaultChar, LPBOOL usedDefaultChar);

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FF

// The system table holds an English text, ending in "\r\n", for every error number that the layer
// sets. Modules carry no message tables. Every language gets the English text; inserts are not
// expanded, so a text with an insert needs FORMAT_MESSAGE_IGNORE_INSERTS.
DWORD WINAPI FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPWSTR buffer, DWORD size,
                            void* arguments);

#define LMEM_FIXED 0x0000
#define LMEM_ZEROINIT 0x0040

// Fixed blocks only.
HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL WINAPI LocalFree(HLOCAL block);

// A null name gives the executable's module. No library modules are loaded, so every name fails
// with ERROR_MOD_NOT_FOUND.
HMODULE WINAPI GetModuleHandleW(LPCWSTR name);

// No debugger listens: the text goes to standard error as one line (line breaks inside it become
// blanks, a final one is dropped), written at once so that the lines of several threads never mix.
VOID WINAPI OutputDebugStringW(LPCWSTR text);
