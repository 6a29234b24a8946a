#pragma once
// The standard controls: buttons, edits, statics, combo boxes and list boxes, their styles, messages
// and notifications, and the keyboard focus.
//
// A control's whole state (text, check, items, item data, selection, extents) lives in the layer; a
// back end only shows it. A change made by the program through a message never notifies the parent;
// only a user's action (a click, a choice in a list) sends WM_COMMAND with the notification code.

#include "win32/gdihandles.h"
#include "win32/user.h"

#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_PAINT 0x000F
#define WM_ICONERASEBKGND 0x0027
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_QUERYDRAGICON 0x0037
#define WM_SETICON 0x0080
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112

#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B

#define ICON_SMALL 0
#define ICON_BIG 1

#define LOWORD(value) (static_cast<WORD>(static_cast<ULONG_PTR>(value) & 0xFFFF))
#define HIWORD(value) (static_cast<WORD>((static_cast<ULONG_PTR>(value) >> 16) & 0xFFFF))
#define MAKELONG(low, high)                                                                                            \
    (static_cast<LONG>(static_cast<DWORD>(static_cast<WORD>(low)) |                                                    \
                       (static_cast<DWORD>(static_cast<WORD>(high)) << 16)))
#define MAKEWPARAM(low, high) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(low, high))))
#define MAKELPARAM(low, high) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(low, high))))

// Window style bit that dialogs use to choose a control for the focus.
#define WS_GROUP 0x00020000u
#define WS_TABSTOP 0x00010000u
#define WS_VSCROLL 0x00200000u
#define WS_HSCROLL 0x00100000u
#define WS_BORDER 0x00800000u

// Buttons ("Button"). The low four style bits are the kind.
#define BS_PUSHBUTTON 0x0000
#define BS_DEFPUSHBUTTON 0x0001
#define BS_CHECKBOX 0x0002
#define BS_AUTOCHECKBOX 0x0003
#define BS_GROUPBOX 0x0007
#define BS_TYPEMASK 0x000F
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
// A click as if by the user: ignored by a disabled button or one in a disabled window.
#define BM_CLICK 0x00F5
#define BN_CLICKED 0

// Edits ("Edit").
#define ES_LEFT 0x0000
#define ES_AUTOHSCROLL 0x0080
#define ES_PASSWORD 0x0020
#define EM_GETSEL 0x00B0
// wParam start, lParam end; -1 as the start removes the selection, an end of -1 or past the text
// means the end of the text (0xFFFF included).
#define EM_SETSEL 0x00B1
#define EM_SCROLLCARET 0x00B7
// Edits have one line: EM_LINELENGTH and EM_GETLINE take any index for it. EM_GETLINE copies at most
// the count in the buffer's first unit, without a NUL, and answers the units copied.
#define EM_LINELENGTH 0x00C1
// The selection becomes the text (lParam) and the caret follows it.
#define EM_REPLACESEL 0x00C2
#define EM_GETLINE 0x00C4
#define EN_CHANGE 0x0300

// Statics ("Static").
#define SS_LEFT 0x0000

// Combo boxes ("ComboBox"). Indexes count from 0; CB_ERR for a bad index.
#define CBS_DROPDOWNLIST 0x0003
#define CBS_SORT 0x0100
#define CB_ERR (-1)
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
// The searches start after the index in wParam (-1: from the first), go round once and compare
// without case: FIND takes the first item that begins with the text, FINDSTRINGEXACT the whole text.
#define CB_FINDSTRING 0x014C
// CB_FINDSTRING, then that item is selected; the selection stays when none is found.
#define CB_SELECTSTRING 0x014D
#define CB_SETCURSEL 0x014E
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_FINDSTRINGEXACT 0x0158
#define CB_GETDROPPEDWIDTH 0x015F
#define CB_SETDROPPEDWIDTH 0x0160
#define CBN_SELCHANGE 1

// List boxes ("ListBox").
#define LBS_NOTIFY 0x0001
#define LBS_NOINTEGRALHEIGHT 0x0100
#define LB_ERR (-1)
#define LB_ADDSTRING 0x0180
#define LB_INSERTSTRING 0x0181
#define LB_DELETESTRING 0x0182
#define LB_RESETCONTENT 0x0184
#define LB_SETCURSEL 0x0186
#define LB_GETCURSEL 0x0188
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B
#define LB_GETTOPINDEX 0x018E
#define LB_GETITEMDATA 0x0199
#define LB_SETITEMDATA 0x019A
#define LB_SETTOPINDEX 0x0197
#define LB_GETHORIZONTALEXTENT 0x0193
#define LB_SETHORIZONTALEXTENT 0x0194
// As CB_FINDSTRINGEXACT.
#define LB_FINDSTRINGEXACT 0x01A2
#define LBN_SELCHANGE 1

// The keyboard focus of the calling thread: a window of its own. SetFocus sends WM_KILLFOCUS to the
// window that loses it and WM_SETFOCUS to the one that gains it, and returns the former.
HWND WINAPI SetFocus(HWND window);
HWND WINAPI GetFocus();

// The mouse capture of the calling thread: a window of its own, or none. The window that loses it
// gets WM_CAPTURECHANGED with the new one in lParam. There is no mouse input to capture headless.
#define WM_CAPTURECHANGED 0x0215
HWND WINAPI SetCapture(HWND window);
HWND WINAPI GetCapture();
BOOL WINAPI ReleaseCapture();
