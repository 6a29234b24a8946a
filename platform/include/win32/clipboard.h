#pragma once
// The clipboard and the file lists dropped on it: the USER32 and SHELL32 calls that the program makes.
//
// The clipboard is the layer's own, one per process. A thread opens it before it reads, empties or
// sets it; while it is open no other thread may open it. The clipboard owns the data handed to it
// and frees global blocks when they are replaced or emptied. Formats are not converted into each
// other (no CF_TEXT from CF_UNICODETEXT), and there is no delayed rendering.

#include "win32/memory.h"
#include "win32/user.h"

DECLARE_HANDLE(HDROP);

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_UNICODETEXT 13
#define CF_HDROP 15

#define ERROR_CLIPBOARD_NOT_OPEN 1418

// The head of a CF_HDROP block: the names follow at pFiles, each ending in a NUL, the list in a
// second NUL; in UTF-16 when fWide is set.
struct DROPFILES {
    DWORD pFiles;
    POINT pt;
    BOOL fNC;
    BOOL fWide;
};
static_assert(sizeof(DROPFILES) == 20, "DROPFILES is 20 bytes");

// The window may be null; a window given must exist. ERROR_ACCESS_DENIED while another thread has it
// open.
BOOL WINAPI OpenClipboard(HWND owner);
BOOL WINAPI CloseClipboard();
BOOL WINAPI EmptyClipboard();
// The data stay the clipboard's. Null with ERROR_CLIPBOARD_NOT_OPEN unless the calling thread has it
// open, and with ERROR_INVALID_PARAMETER when the format is missing.
HANDLE WINAPI GetClipboardData(UINT format);
// Replaces the format's data. A null handle (delayed rendering) fails with ERROR_NOT_SUPPORTED.
HANDLE WINAPI SetClipboardData(UINT format, HANDLE data);
// Numbers from 0xC000 up; the same name, without ASCII case, gives the same number.
UINT WINAPI RegisterClipboardFormatW(LPCWSTR name);
BOOL WINAPI IsClipboardFormatAvailable(UINT format);
int WINAPI CountClipboardFormats();
// The format after the given one in the order they were set, 0 to start; 0 after the last (with the
// last error 0).
UINT WINAPI EnumClipboardFormats(UINT format);
// Counts every change of the content.
DWORD WINAPI GetClipboardSequenceNumber();

// With index 0xFFFFFFFF the number of names; with a null buffer the length of the name; otherwise
// copies as much of the name as fits with its NUL and returns the units copied. 0 for a bad index or
// a damaged block.
UINT WINAPI DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT units);

// Posted to every listening window when a thread closes the clipboard after changing its content.
#define WM_CLIPBOARDUPDATE 0x031D

// A window listens once however often it is added; the window must exist
// (ERROR_INVALID_WINDOW_HANDLE). Removing a window that does not listen fails with
// ERROR_INVALID_PARAMETER. Destroyed windows stop listening.
BOOL WINAPI AddClipboardFormatListener(HWND window);
BOOL WINAPI RemoveClipboardFormatListener(HWND window);

// The same table of names as the clipboard formats: one name, one number.
UINT WINAPI RegisterWindowMessageW(LPCWSTR name);
