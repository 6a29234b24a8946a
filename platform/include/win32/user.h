#pragma once
// Windows, window classes, message queues and messages: the USER32 calls that the program makes.
//
// Windows are checked entries of one table; a destroyed or made-up window fails with
// ERROR_INVALID_WINDOW_HANDLE, and window handles are never reused while the process runs. Every
// thread that makes a window call gets a message queue. A window belongs to the thread that made it:
// only that thread runs its window procedure and may destroy it. PostMessageW appends to the owner's
// queue from any thread; SendMessageW from another thread waits until the owner has handled the
// message, handling messages sent to its own thread meanwhile, so two threads that send to each
// other do not deadlock.
//
// There is no display: a window's text, styles, position and show state live in the layer, and a
// back end only shows them. Top-level windows have no frame, so the client area is the whole window.

#include "win32/types.h"

typedef LONG_PTR LRESULT;
typedef WORD ATOM;

DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HBRUSH);
typedef HICON HCURSOR;

typedef LRESULT(CALLBACK* WNDPROC)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct WNDCLASSEXW {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
    HICON hIconSm;
};

struct WNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
    DWORD lPrivate;
};

struct CREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};

struct WINDOWPLACEMENT {
    UINT length;
    UINT flags;
    UINT showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};

static_assert(sizeof(POINT) == 8, "POINT is 8 bytes");
static_assert(sizeof(RECT) == 16, "RECT is 16 bytes");
static_assert(sizeof(WNDCLASSEXW) == 80, "WNDCLASSEXW is 80 bytes");
static_assert(sizeof(WNDCLASSW) == 72, "WNDCLASSW is 72 bytes");
static_assert(sizeof(MSG) == 48, "MSG is 48 bytes");
static_assert(sizeof(CREATESTRUCTW) == 80, "CREATESTRUCTW is 80 bytes");
static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT is 44 bytes");

// A class atom in the place of a class name.
#define MAKEINTATOM(atom) (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(atom))))
#define IS_INTRESOURCE(value) ((reinterpret_cast<ULONG_PTR>(value) >> 16) == 0)

#define ERROR_INVALID_WINDOW_HANDLE 1400
#define ERROR_TLW_WITH_WSCHILD 1406
#define ERROR_CANNOT_FIND_WND_CLASS 1407
#define ERROR_CLASS_ALREADY_EXISTS 1410
#define ERROR_CLASS_DOES_NOT_EXIST 1411
#define ERROR_CLASS_HAS_WINDOWS 1412
#define ERROR_INVALID_INDEX 1413
#define ERROR_NOT_ENOUGH_QUOTA 1816

// Messages.
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_CLOSE 0x0010
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_TIMER 0x0113
#define WM_USER 0x0400

// Window styles.
#define WS_OVERLAPPED 0x00000000u
#define WS_POPUP 0x80000000u
#define WS_CHILD 0x40000000u
#define WS_MINIMIZE 0x20000000u
#define WS_VISIBLE 0x10000000u
#define WS_DISABLED 0x08000000u
#define WS_MAXIMIZE 0x01000000u
#define WS_CAPTION 0x00C00000u
#define WS_SYSMENU 0x00080000u
#define WS_THICKFRAME 0x00040000u
#define WS_MINIMIZEBOX 0x00020000u
#define WS_MAXIMIZEBOX 0x00010000u
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_EX_TOPMOST 0x00000008u

// Class styles are kept with the class; nothing is drawn, so none of them changes anything.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008

// A top-level window asked for CW_USEDEFAULT gets a 640 x 480 frame at (100, 100) of a 1920 x 1080
// screen; a child window gets 0.
#define CW_USEDEFAULT (static_cast<int>(0x80000000))

#define HWND_TOP (reinterpret_cast<HWND>(0))
#define HWND_BOTTOM (reinterpret_cast<HWND>(1))
#define HWND_TOPMOST (reinterpret_cast<HWND>(-1))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(-2))
// As a parent: a message-only window, never visible.
#define HWND_MESSAGE (reinterpret_cast<HWND>(-3))

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10
#define SW_FORCEMINIMIZE 11

#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200

#define WPF_SETMINPOSITION 0x0001

#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// Queue states for MsgWaitForMultipleObjectsEx. A posted WM_TIMER counts as both a posted message
// and a timer. No keyboard, mouse or paint input exists without a display.
#define QS_KEY 0x0001
#define QS_MOUSEMOVE 0x0002
#define QS_MOUSEBUTTON 0x0004
#define QS_POSTMESSAGE 0x0008
#define QS_TIMER 0x0010
#define QS_PAINT 0x0020
#define QS_SENDMESSAGE 0x0040
#define QS_HOTKEY 0x0080
#define QS_ALLPOSTMESSAGE 0x0100
#define QS_ALLINPUT 0x04FF

#define MWMO_WAITALL 0x0001
#define MWMO_ALERTABLE 0x0002
#define MWMO_INPUTAVAILABLE 0x0004

// Classes are local to their module: a name may be registered once per instance, and is compared
// without ASCII case. A class name given as an atom must be one that RegisterClassExW returned.
// CreateWindowExW looks for the class of its own instance first, then for one of any instance.
ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* description);
// Fails with ERROR_CLASS_HAS_WINDOWS while windows of the class exist.
BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE instance);
// The class's atom as a BOOL, as on Windows.
BOOL WINAPI GetClassInfoExW(HINSTANCE instance, LPCWSTR className, WNDCLASSEXW* description);
BOOL WINAPI GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* description);
int WINAPI GetClassNameW(HWND window, LPWSTR buffer, int units);

// Sends WM_NCCREATE and WM_CREATE before it returns; a window procedure that refuses either gets
// its window destroyed and the call returns null.
HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
// Only the owning thread may destroy a window (else ERROR_ACCESS_DENIED). Sends WM_DESTROY, destroys
// the window's children and owned windows of the same thread, sends WM_NCDESTROY, and discards the
// messages still queued for the window.
BOOL WINAPI DestroyWindow(HWND window);
BOOL WINAPI IsWindow(HWND window);
DWORD WINAPI GetWindowThreadProcessId(HWND window, LPDWORD processId);
// The parent of a child window, the owner of a pop-up window; null otherwise.
HWND WINAPI GetParent(HWND window);
// The desktop window ("#32769"): it covers the primary monitor and belongs to no thread of the
// program, so no thread destroys it, posts to it fail and what is sent to it is answered with 0.
HWND WINAPI GetDesktopWindow();

// Text goes through WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH, which DefWindowProcW answers.
BOOL WINAPI SetWindowTextW(HWND window, LPCWSTR text);
int WINAPI GetWindowTextW(HWND window, LPWSTR buffer, int units);
int WINAPI GetWindowTextLengthW(HWND window);

// Non-zero when the window was visible before.
BOOL WINAPI ShowWindow(HWND window, int command);
BOOL WINAPI IsWindowVisible(HWND window);
BOOL WINAPI IsIconic(HWND window);
BOOL WINAPI IsZoomed(HWND window);
// Non-zero when the window was disabled before.
BOOL WINAPI EnableWindow(HWND window, BOOL enable);
BOOL WINAPI IsWindowEnabled(HWND window);

// Negative indexes name the window's fields; others are byte offsets into its cbWndExtra bytes.
// The 32-bit forms refuse the pointer fields (GWLP_WNDPROC, GWLP_HINSTANCE, GWLP_HWNDPARENT).
LONG_PTR WINAPI GetWindowLongPtrW(HWND window, int index);
LONG_PTR WINAPI SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
LONG WINAPI GetWindowLongW(HWND window, int index);
LONG WINAPI SetWindowLongW(HWND window, int index, LONG value);

// Positions of child windows are in their parent's client area, of others on the screen. Only
// HWND_TOPMOST and HWND_NOTOPMOST change anything of the Z order (WS_EX_TOPMOST).
BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);

// Positions gathered and applied together at the end, each as SetWindowPos. A gathering handle is a
// checked value, never reused; a failed DeferWindowPos ends the gathering (null, as on Windows).
DECLARE_HANDLE(HDWP);
HDWP WINAPI BeginDeferWindowPos(int count);
HDWP WINAPI DeferWindowPos(HDWP positions, HWND window, HWND insertAfter, int x, int y, int width, int height,
                           UINT flags);
BOOL WINAPI EndDeferWindowPos(HDWP positions);

// Without a display nothing flashes: the call checks its record and window and answers whether the
// window was the active one.
#define FLASHW_STOP 0
#define FLASHW_CAPTION 0x00000001
#define FLASHW_TRAY 0x00000002
#define FLASHW_ALL (FLASHW_CAPTION | FLASHW_TRAY)
#define FLASHW_TIMER 0x00000004
#define FLASHW_TIMERNOFG 0x0000000C
struct FLASHWINFO {
    UINT cbSize;
    HWND hwnd;
    DWORD dwFlags;
    UINT uCount;
    DWORD dwTimeout;
};
static_assert(sizeof(FLASHWINFO) == 32, "FLASHWINFO is 32 bytes");
typedef FLASHWINFO* PFLASHWINFO;
BOOL WINAPI FlashWindowEx(PFLASHWINFO info);
BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL WINAPI GetWindowRect(HWND window, RECT* rect);
BOOL WINAPI GetClientRect(HWND window, RECT* rect);
// Without frames the client area starts at the window's corner: a point moves by the window's place
// on the screen.
BOOL WINAPI ClientToScreen(HWND window, POINT* point);
BOOL WINAPI ScreenToClient(HWND window, POINT* point);
// The active window is the last one activated, seen by its own thread while it exists; a window of
// another thread cannot be activated (ERROR_ACCESS_DENIED). The Z order has nothing to change, so
// BringWindowToTop only checks the window.
HWND WINAPI SetActiveWindow(HWND window);
HWND WINAPI GetActiveWindow();
BOOL WINAPI BringWindowToTop(HWND window);
// A maximized window covers the screen; a minimized one keeps its rectangle. Positions never set
// read as (-1, -1).
BOOL WINAPI GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement);
BOOL WINAPI SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement);

// A queue holds at most 10,000 posted messages; past that a post fails with ERROR_NOT_ENOUGH_QUOTA.
// A post to a destroyed window fails with ERROR_INVALID_WINDOW_HANDLE; a null window posts to the
// calling thread.
BOOL WINAPI PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Messages sent from other threads are handled first, then posted messages in order, then the quit
// request of PostQuitMessage. A filter window that is destroyed while the call waits makes it
// return -1 with ERROR_INVALID_WINDOW_HANDLE.
BOOL WINAPI GetMessageW(MSG* message, HWND window, UINT firstMessage, UINT lastMessage);
BOOL WINAPI PeekMessageW(MSG* message, HWND window, UINT firstMessage, UINT lastMessage, UINT remove);
// No keyboard input exists without a display, so there is nothing to translate: always FALSE.
BOOL WINAPI TranslateMessage(const MSG* message);
// Calls the window procedure of a window of the calling thread; 0 for other messages.
LRESULT WINAPI DispatchMessageW(const MSG* message);
LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the procedure (a subclassed window's previous one) on the calling thread; 0 without one.
LRESULT WINAPI CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VOID WINAPI PostQuitMessage(int exitCode);
// Waits for up to 63 handles and for input of the kinds in wakeMask: input that arrived since the
// thread last looked at its queue, or any input with MWMO_INPUTAVAILABLE. Input is reported as
// WAIT_OBJECT_0 + count.
DWORD WINAPI MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                         DWORD flags);
