#pragma once
// Keyboard and mouse input: the key state, SendInput, and the cursor.
//
// Without a display, input comes only from SendInput. Keys change the process's key state and go
// as WM_KEYDOWN and WM_KEYUP (WM_SYSKEYDOWN and WM_SYSKEYUP while ALT is down, and for F10) to the
// window that has the keyboard: the active window. Mouse input moves the cursor and changes the
// button keys' state; no window gets mouse messages but the WM_MOUSELEAVE of TrackMouseEvent.

#include "win32/user.h"

typedef short SHORT;

#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105

#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_DELETE 0x2E
#define VK_F10 0x79
#define VK_NUMLOCK 0x90
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5
#define VK_PACKET 0xE7

#define INPUT_MOUSE 0
#define INPUT_KEYBOARD 1
#define INPUT_HARDWARE 2

#define KEYEVENTF_EXTENDEDKEY 0x0001
#define KEYEVENTF_KEYUP 0x0002
#define KEYEVENTF_UNICODE 0x0004
#define KEYEVENTF_SCANCODE 0x0008

#define MOUSEEVENTF_MOVE 0x0001
#define MOUSEEVENTF_LEFTDOWN 0x0002
#define MOUSEEVENTF_LEFTUP 0x0004
#define MOUSEEVENTF_RIGHTDOWN 0x0008
#define MOUSEEVENTF_RIGHTUP 0x0010
#define MOUSEEVENTF_MIDDLEDOWN 0x0020
#define MOUSEEVENTF_MIDDLEUP 0x0040
#define MOUSEEVENTF_ABSOLUTE 0x8000

struct MOUSEINPUT {
    LONG dx;
    LONG dy;
    DWORD mouseData;
    DWORD dwFlags;
    DWORD time;
    ULONG_PTR dwExtraInfo;
};

struct KEYBDINPUT {
    WORD wVk;
    WORD wScan;
    DWORD dwFlags;
    DWORD time;
    ULONG_PTR dwExtraInfo;
};

struct HARDWAREINPUT {
    DWORD uMsg;
    WORD wParamL;
    WORD wParamH;
};

struct INPUT {
    DWORD type;
    union {
        MOUSEINPUT mi;
        KEYBDINPUT ki;
        HARDWAREINPUT hi;
    };
};

static_assert(sizeof(MOUSEINPUT) == 32, "MOUSEINPUT is 32 bytes");
static_assert(sizeof(KEYBDINPUT) == 24, "KEYBDINPUT is 24 bytes");
static_assert(sizeof(INPUT) == 40, "INPUT is 40 bytes");

// Bit 15: the key is down; bit 0 (GetKeyState only): the key is toggled on (CAPS LOCK and the like).
// One state for the whole process, the same for both calls.
SHORT WINAPI GetKeyState(int key);
SHORT WINAPI GetAsyncKeyState(int key);
// The events in order; size must be sizeof(INPUT) (ERROR_INVALID_PARAMETER, 0 sent). Hardware input
// is refused (ERROR_NOT_SUPPORTED) and ends the batch. Returns the number of events sent.
UINT WINAPI SendInput(UINT count, INPUT* inputs, int size);

struct CURSORINFO {
    DWORD cbSize;
    DWORD flags;
    HCURSOR hCursor;
    POINT ptScreenPos;
};
static_assert(sizeof(CURSORINFO) == 24, "CURSORINFO is 24 bytes");

#define CURSOR_SHOWING 0x00000001

// The cursor stays within the monitors' bounding rectangle; it starts at the primary one's centre.
BOOL WINAPI SetCursorPos(int x, int y);
BOOL WINAPI GetCursorPos(POINT* point);
// The process's cursor; nothing shows it. Returns the previous one.
HCURSOR WINAPI SetCursor(HCURSOR cursor);
// The cursor is never showing (flags 0): there is no display.
BOOL WINAPI GetCursorInfo(CURSORINFO* info);
// 500 ms, the Windows default.
UINT WINAPI GetDoubleClickTime();

#define WM_MOUSELEAVE 0x02A3

#define TME_HOVER 0x00000001
#define TME_LEAVE 0x00000002
#define TME_NONCLIENT 0x00000010
#define TME_QUERY 0x40000000
#define TME_CANCEL 0x80000000

#define HOVER_DEFAULT 0xFFFFFFFF

struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
static_assert(sizeof(TRACKMOUSEEVENT) == 24, "TRACKMOUSEEVENT is 24 bytes");
typedef TRACKMOUSEEVENT* LPTRACKMOUSEEVENT;

// Leave tracking only: each thread tracks one window of its own, which gets WM_MOUSELEAVE once the
// cursor is no longer over it (over one of its children counts as left), and the tracking ends. A
// window the cursor is not over gets it at once. TME_QUERY fills the record with the thread's
// tracking; TME_CANCEL ends it. Hover and non-client tracking fail with ERROR_NOT_SUPPORTED.
BOOL WINAPI TrackMouseEvent(LPTRACKMOUSEEVENT track);
