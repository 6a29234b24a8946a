#pragma once
// The folder picker: SHBrowseForFolderW and SHGetPathFromIDListEx.
//
// The picker is modal: its owner is disabled while it is open and the thread's messages flow. It
// has a window of its own, to which the caller's callback sends BFFM_SETSELECTIONW when it gets
// BFFM_INITIALIZED; the back end shows it there and takes the user's folder (headless: the scripted
// one) or the cancel. The item list of a chosen folder is a block for CoTaskMemFree.

#include "win32/dialogs.h"

struct _ITEMIDLIST;
typedef _ITEMIDLIST ITEMIDLIST;
typedef ITEMIDLIST* PIDLIST_ABSOLUTE;
typedef const ITEMIDLIST* PCIDLIST_ABSOLUTE;
typedef ITEMIDLIST* LPITEMIDLIST;

typedef int(CALLBACK* BFFCALLBACK)(HWND picker, UINT message, LPARAM lParam, LPARAM data);

#define BIF_RETURNONLYFSDIRS 0x0001
#define BIF_EDITBOX 0x0010
#define BIF_NEWDIALOGSTYLE 0x0040

#define BFFM_INITIALIZED 1
// wParam TRUE: lParam is a path to open on.
#define BFFM_SETSELECTIONW (WM_USER + 103)

#define GPFIDL_DEFAULT 0

struct BROWSEINFOW {
    HWND hwndOwner;
    PCIDLIST_ABSOLUTE pidlRoot;
    // At least MAX_PATH units: the chosen folder's name.
    LPWSTR pszDisplayName;
    LPCWSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
};
static_assert(sizeof(BROWSEINFOW) == 64, "BROWSEINFOW is 64 bytes");

// Null when cancelled.
PIDLIST_ABSOLUTE WINAPI SHBrowseForFolderW(BROWSEINFOW* information);
// The folder in drive form; FALSE for a null list or a buffer too small for it and its NUL.
BOOL WINAPI SHGetPathFromIDListEx(PCIDLIST_ABSOLUTE list, LPWSTR path, DWORD units, int flags);
