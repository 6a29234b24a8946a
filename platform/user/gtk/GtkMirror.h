#pragma once
// c_GtkMirror: the GTK windows that stand for the UI thread's visible top-level windows.
//
// A top-level window becomes a GtkWindow when it is first shown: a fixed area at its size, its
// title, its dialog font, its icon (WM_SETICON) and its controls, placed at their rectangles
// (GtkControls.h). A window owned by another becomes modal over it, as the layer's owned dialogs
// are. The frame's close button gives WM_CLOSE, and Enter and Escape go to the dialog's keys, all
// as user actions. The pointer leaving a widget has the windows that track the mouse checked. UI
// thread only.

#include "platform/user/gtk/GtkControls.h"

#include <windows.h>

#include <map>

typedef struct _GtkWidget GtkWidget;

namespace n_Platform {

class c_GtkMirror {
public:
    c_GtkMirror() = default;
    ~c_GtkMirror();
    c_GtkMirror(const c_GtkMirror&) = delete;
    c_GtkMirror& operator=(const c_GtkMirror&) = delete;

    // Makes or updates what stands for the window; nothing for a window not to be shown.
    void Update(HWND window);
    void Forget(HWND window);
    // The layer's focus, moved by the program, shown.
    void ShowFocus();
    // The widget of a control or the GtkWindow of a top-level window; null for none.
    GtkWidget* Find(HWND window) const;
    // The window whose widget has the pointer (a top-level window where it is over no control of
    // it); null when the pointer is over none.
    HWND FindWindowUnderPointer() const;

private:
    struct s_TopView {
        GtkWidget* m_p_Window = nullptr;
        GtkWidget* m_p_Fixed = nullptr;
        HICON m_Icon = nullptr;
    };
    struct s_ChildView {
        HWND m_Top = nullptr;
        s_ControlView m_View;
    };

    void UpdateTop(HWND window, s_TopView& top);
    s_TopView* MakeTop(HWND window);
    void MakeChild(HWND child, HWND top);

    std::map<HWND, s_TopView> m_Tops;
    std::map<HWND, s_ChildView> m_Children;
    HWND m_ShownFocus = nullptr;
};

} // namespace n_Platform
