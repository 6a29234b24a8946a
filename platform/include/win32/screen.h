#pragma once
// The headless screen: its monitors and the system metrics.
//
// By default the screen is one monitor of 1920 x 1080 at (0, 0) whose work area is the whole
// monitor (there is no task bar). The metrics are those of a 96-DPI screen; top-level windows have
// no frames, so the frame and caption metrics only tell code that lays out windows what a frame
// would take.

#include "win32/user.h"

DECLARE_HANDLE(HMONITOR);
// The same handle type as the drawing calls declare; no device context is needed here.
struct HDC__;
typedef HDC__* HDC;

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CYVTHUMB 9
#define SM_CXHTHUMB 10
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CYMENU 15
#define SM_CXFULLSCREEN 16
#define SM_CYFULLSCREEN 17
#define SM_CYVSCROLL 20
#define SM_CXHSCROLL 21
#define SM_MOUSEPRESENT 19
#define SM_SWAPBUTTON 23
#define SM_CXMIN 28
#define SM_CYMIN 29
#define SM_CXSIZE 30
#define SM_CYSIZE 31
#define SM_CXFRAME 32
#define SM_CYFRAME 33
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXSMICON 49
#define SM_CYSMICON 50
#define SM_CXMAXIMIZED 61
#define SM_CYMAXIMIZED 62
#define SM_XVIRTUALSCREEN 76
#define SM_YVIRTUALSCREEN 77
#define SM_CXVIRTUALSCREEN 78
#define SM_CYVIRTUALSCREEN 79
#define SM_CMONITORS 80
#define SM_SAMEDISPLAYFORMAT 81

// The size types of WM_SIZE.
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

// 0 for an index that the layer does not know, as Windows gives for unknown indexes.
int WINAPI GetSystemMetrics(int index);

#define MONITOR_DEFAULTTONULL 0x00000000
#define MONITOR_DEFAULTTOPRIMARY 0x00000001
#define MONITOR_DEFAULTTONEAREST 0x00000002

#define MONITORINFOF_PRIMARY 0x00000001
#define CCHDEVICENAME 32

struct MONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};

struct MONITORINFOEXW {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
    WCHAR szDevice[CCHDEVICENAME];
};

static_assert(sizeof(MONITORINFO) == 40, "MONITORINFO is 40 bytes");
static_assert(sizeof(MONITORINFOEXW) == 104, "MONITORINFOEXW is 104 bytes");

typedef BOOL(CALLBACK* MONITORENUMPROC)(HMONITOR monitor, HDC dc, RECT* rect, LPARAM data);

HMONITOR WINAPI MonitorFromPoint(POINT point, DWORD flags);
// The monitor that holds the largest part of the rectangle; for an empty rectangle, the one that
// holds its top-left corner.
HMONITOR WINAPI MonitorFromRect(const RECT* rect, DWORD flags);
HMONITOR WINAPI MonitorFromWindow(HWND window, DWORD flags);
// cbSize must be that of MONITORINFO or MONITORINFOEXW; the device names are "\\.\DISPLAY1" on.
BOOL WINAPI GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info);
// Without a device context only (ERROR_INVALID_PARAMETER otherwise). Each monitor that meets the clip
// rectangle (all without one) is handed over with the part that meets it. FALSE when the callback
// stopped the enumeration.
BOOL WINAPI EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM data);
