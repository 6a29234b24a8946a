#pragma once
// Dialogs from templates, message boxes, menus, icons and painting: the rest of USER32 that the
// program calls.
//
// Templates, menus and icons are resources that the program registers by id (resources.h). A modal
// dialog or message box disables its owner for its duration and runs the thread's whole message
// loop, so timers, posted messages and messages sent from other threads go on meanwhile. What the
// user does (clicks, keys, closing) reaches a window only while the window and the windows above it
// are enabled.

#include "win32/controls.h"
#include "win32/errors.h"

typedef LONG_PTR INT_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef INT_PTR(CALLBACK* DLGPROC)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#define MAKEINTRESOURCEW(id) (reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(id))))

#define ERROR_INVALID_MENU_HANDLE 1401
#define ERROR_CONTROL_ID_NOT_FOUND 1421
#define ERROR_MENU_ITEM_NOT_FOUND 1456
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDC_STATIC (-1)

#define DS_SETFONT 0x40
#define DS_MODALFRAME 0x80
#define DS_CENTER 0x0800

// The default push button's id is answered with DC_HASDEFID in the high word.
#define DM_GETDEFID (WM_USER + 0)
#define DC_HASDEFID 0x534B

// A dialog from the registered template of that id (MAKEINTRESOURCEW); ERROR_RESOURCE_NAME_NOT_FOUND
// for an id that no template has. The procedure gets WM_INITDIALOG with lParam as its lParam; when
// it returns TRUE the first control with WS_TABSTOP gets the focus. The dialog is shown when its
// template has WS_VISIBLE.
HWND WINAPI CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC procedure, LPARAM lParam);
// Shows the dialog, disables the owner and runs the modal loop until EndDialog; returns its result,
// or -1 when the dialog could not be made. A WM_QUIT ends the loop with 0 and is posted again.
INT_PTR WINAPI DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC procedure, LPARAM lParam);
// Ends a modal dialog with the result once its current message is handled; hides a modeless one.
BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);
// The dialog's default processing after its procedure returned FALSE: WM_CLOSE becomes IDCANCEL,
// DM_GETDEFID names the default push button, the rest goes to DefWindowProcW.
LRESULT WINAPI DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Handles a message for the dialog or one of its controls: Enter presses the focused push button
// or else the default one (WM_COMMAND with its id and BN_CLICKED), Escape sends IDCANCEL, the rest
// is dispatched. FALSE for messages of other windows.
BOOL WINAPI IsDialogMessageW(HWND dialog, MSG* message);

HWND WINAPI GetDlgItem(HWND dialog, int id);
int WINAPI GetDlgCtrlID(HWND window);
LRESULT WINAPI SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT WINAPI GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int units);
BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check);
UINT WINAPI IsDlgButtonChecked(HWND dialog, int id);

// Message boxes.
#define MB_OK 0x0000
#define MB_OKCANCEL 0x0001
#define MB_ABORTRETRYIGNORE 0x0002
#define MB_YESNOCANCEL 0x0003
#define MB_YESNO 0x0004
#define MB_RETRYCANCEL 0x0005
#define MB_TYPEMASK 0x000F
#define MB_ICONMASK 0x00F0
#define MB_ICONERROR 0x0010
#define MB_ICONQUESTION 0x0020
#define MB_ICONWARNING 0x0030
#define MB_ICONINFORMATION 0x0040
#define MB_DEFBUTTON1 0x0000
#define MB_DEFBUTTON2 0x0100
#define MB_DEFBUTTON3 0x0200
#define MB_DEFMASK 0x0F00

// Modal: the owner (when given) is disabled while the box is open and the thread's messages flow.
// The answer is the id of the button chosen; a null caption reads "Error". 0 with
// ERROR_INVALID_PARAMETER for a type that has no buttons.
int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// Menus: loaded from registered menu templates; a dialog gets its template's menu.
#define MF_BYCOMMAND 0x0000
#define MF_BYPOSITION 0x0400
HMENU WINAPI LoadMenuW(HINSTANCE instance, LPCWSTR name);
HMENU WINAPI GetMenu(HWND window);
int WINAPI GetMenuItemCount(HMENU menu);
UINT WINAPI GetMenuItemID(HMENU menu, int position);
HMENU WINAPI GetSubMenu(HMENU menu, int position);
// Removes an item, and a popup without destroying it.
BOOL WINAPI RemoveMenu(HMENU menu, UINT item, UINT flags);
BOOL WINAPI DestroyMenu(HMENU menu);
BOOL WINAPI DrawMenuBar(HWND window);

// Icons: registered icon resources, shared; nothing to destroy.
HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name);
BOOL WINAPI DestroyIcon(HICON icon);

// Painting. There is no display to invalidate: BeginPaint names the whole client area and gives no
// device context until the drawing library provides one.
struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    unsigned char rgbReserved[32];
};
static_assert(sizeof(PAINTSTRUCT) == 72, "PAINTSTRUCT is 72 bytes");
HDC WINAPI BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint);
// Draws the icon at its system size; FALSE with ERROR_INVALID_HANDLE without a device context.
BOOL WINAPI DrawIcon(HDC context, int x, int y, HICON icon);
