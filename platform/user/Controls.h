#pragma once
// The standard controls' window procedures and what they share.
//
// Each control keeps its state in its window's extension, made at WM_NCCREATE. The layer registers
// the control classes and the dialog class once, before the first window is made.

#include "platform/user/WindowTable.h"

#include <windows.h>

namespace n_Platform {

// Every control's state: the font it was given (WM_SETFONT, WM_GETFONT).
class c_ControlState : public c_WindowExtension {
public:
    HFONT m_Font = nullptr;
};

// Registers "Button", "Edit", "Static", "ComboBox", "ListBox", the progress bar, the list view, the
// tab control, the tree view and the dialog class "#32770" at the first call.
void RegisterSystemClasses();

// The state of a control of the calling thread, made when the window is made; null for a window
// that has none (or no longer has).
template <typename T> T* GetControlState(HWND control, UINT message) {
    if (message == WM_NCCREATE) {
        if (c_WindowObject* window = FindOwnWindow(control)) {
            window->m_p_Extension = std::make_unique<T>();
        }
    }
    return FindExtension<T>(control);
}

// What every control does with the messages it leaves: fonts here, the rest DefWindowProcW.
LRESULT DefControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
// Tells the control's parent of a user's action: WM_COMMAND with the control's id and the code.
void NotifyParent(HWND control, WORD code);

LRESULT CALLBACK ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ProgressBarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TabControlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TreeViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The dialog class: the dialog's own procedure first, DefDlgProcW for what it leaves.
LRESULT CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace n_Platform
