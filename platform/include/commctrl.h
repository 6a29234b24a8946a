#pragma once
// The common controls that the program uses: the progress bar.

#include <windows.h>

#define PROGRESS_CLASSW u"msctls_progress32"

// The range is 0 to 100 until set; positions are kept within it.
#define PBM_SETRANGE (WM_USER + 1)
#define PBM_SETPOS (WM_USER + 2)
#define PBM_DELTAPOS (WM_USER + 3)
#define PBM_SETRANGE32 (WM_USER + 6)
#define PBM_GETRANGE (WM_USER + 7)
#define PBM_GETPOS (WM_USER + 8)

struct PBRANGE {
    int iLow;
    int iHigh;
};

// Nothing to load without a display: the controls are always there.
inline VOID WINAPI InitCommonControls() {}
