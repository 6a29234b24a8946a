#pragma once
// n_OSLayer::c_WindowWrapper: member access to the window calls on one window handle, with texts
// in UTF-8.
//
// It does not own the window and is copied freely. Every member forwards to the Windows function of
// its name on the handle and returns its result, a BOOL becoming a bool.

#include "strings/c_String.h"

#include <windows.h>

namespace n_OSLayer {

class c_WindowWrapper {
public:
    c_WindowWrapper() = default;
    c_WindowWrapper(HWND window) : m_Window(window) {}

    HWND GetHandle() const { return m_Window; }

    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const;
    bool PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) const;

    bool IsWindow() const;
    bool DestroyWindow() const;
    bool ShowWindow(int command) const;
    bool IsWindowVisible() const;
    bool IsIconic() const;
    bool IsZoomed() const;
    bool EnableWindow(bool enable) const;
    bool IsWindowEnabled() const;
    bool BringWindowToTop() const;
    // FlashWindowEx with a 32-byte FLASHWINFO for this window.
    bool FlashWindow(DWORD flags, UINT count, DWORD timeoutMs) const;
    // The window that was active before, empty when none was.
    c_WindowWrapper SetActiveWindow() const;

    bool MoveWindow(int x, int y, int width, int height, bool repaint) const;
    bool MoveWindow(const RECT& rect, bool repaint) const;
    bool SetWindowPos(c_WindowWrapper insertAfter, int x, int y, int width, int height, UINT flags) const;
    // HWND_TOPMOST or HWND_NOTOPMOST, neither moved nor sized, activated unless noActivate.
    bool SetTopMost(bool topMost, bool noActivate) const;
    bool GetClientRect(RECT* rect) const;
    bool GetWindowRect(RECT* rect) const;
    bool ClientToScreen(POINT* point) const;
    bool ScreenToClient(POINT* point) const;

    bool GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    // Without the placement marker (flags bit 31), SetWindowPlacement. With it, rcNormalPosition is
    // the frame on the screen: SetWindowPos to it (unless all four values are 0), then the show
    // command (0 to 11) through ShowWindow. False without a record or a window, or when SetWindowPos
    // fails.
    bool RestoreWindowPlacement(const WINDOWPLACEMENT* placement) const;
    // Sets the record's flags to WPF_SETMINPOSITION and applies it; false without a window.
    bool SetWindowPlacementWithMinPosition(WINDOWPLACEMENT* placement) const;

    void SetWindowText(const c_StringView& text) const;
    // Cut at the first NUL; empty for a window without text.
    c_String GetWindowText() const;
    c_String GetClassName() const;

    // Of a dialog: the text of its name edit (control 1043), of a control by id, a button's check.
    c_String GetNameEditText() const;
    void SetDlgItemText(int id, const c_StringView& text) const;
    bool CheckDlgButton(int id, UINT check) const;

    // The window that had the focus or the capture, empty when none had.
    c_WindowWrapper SetFocus() const;
    c_WindowWrapper SetCapture() const;
    // Whichever window has the capture.
    static bool ReleaseCapture();

    // WM_SETFONT and WM_GETFONT.
    void SetFont(HFONT font, bool redraw) const;
    HFONT GetFont() const;

    // The previous position.
    int SetScrollPos(int bar, int position, bool redraw) const;
    int GetScrollPos(int bar) const;
    bool ShowScrollBar(int bar, bool show) const;
    // The position after the change.
    int SetScrollInfo(int bar, SCROLLINFO* info, bool redraw) const;
    BOOL GetScrollInfo(int bar, SCROLLINFO* info) const;

    // WM_CLIPBOARDUPDATE after every change of the clipboard, until removed.
    bool AddClipboardFormatListener() const;
    bool RemoveClipboardFormatListener() const;

    LONG GetWindowLong(int index) const;
    LONG SetWindowLong(int index, LONG value) const;
    // An empty wrapper for an empty one, without calling Windows.
    c_WindowWrapper GetParent() const;

    friend auto operator<=>(const c_WindowWrapper& left, const c_WindowWrapper& right) = default;

protected:
    void SetHandle(HWND window) { m_Window = window; }

private:
    HWND m_Window = nullptr;
};

} // namespace n_OSLayer
