#pragma once
// The standard scroll bars of a window: range, page and position kept by the layer; nothing is drawn.
// The position stays within the range less the page (max - page + 1 at most).

#include "win32/user.h"

#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3

#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
static_assert(sizeof(SCROLLINFO) == 28, "SCROLLINFO is 28 bytes");
typedef SCROLLINFO* LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

// SB_HORZ or SB_VERT of a window of the calling thread's process; scroll-bar controls (SB_CTL) do
// not exist, so they fail with ERROR_INVALID_PARAMETER, as does a wrong cbSize.
// The position after the change.
int WINAPI SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
// Fills what fMask asks for; the tracking position is the position (nothing drags).
BOOL WINAPI GetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
// The previous position.
int WINAPI SetScrollPos(HWND window, int bar, int position, BOOL redraw);
int WINAPI GetScrollPos(HWND window, int bar);
// Sets or clears WS_HSCROLL and WS_VSCROLL (SB_BOTH: both).
BOOL WINAPI ShowScrollBar(HWND window, int bar, BOOL show);
