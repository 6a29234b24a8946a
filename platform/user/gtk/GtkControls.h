#pragma once
// The GTK widgets that stand for the layer's controls: made by kind, updated from the layer's state,
// and turned back into the layer's user actions.
//
// A push button is a GtkButton, a check box a GtkCheckButton, a group box a GtkFrame, an edit a
// GtkEntry, a drop-down list a GtkComboBoxText, a list box a GtkTreeView in a scrolled window whose
// column is as wide as the horizontal extent, a static a GtkLabel and the progress bar a
// GtkProgressBar. Updates run under c_ProgramChange, so the signals that GTK raises for them reach
// nobody; only what the user does is posted to the UI thread as the headless back end's actions.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace n_Platform {

enum class e_ControlKind { NONE, PUSH_BUTTON, CHECK_BOX, GROUP_BOX, EDIT, COMBO_BOX, LIST_BOX, LABEL, PROGRESS_BAR };

// What a control's widget showed when last updated, so that an update changes only what differs.
struct s_ControlView {
    e_ControlKind m_Kind = e_ControlKind::NONE;
    // The widget placed in the dialog; for a list box the scrolled window around m_p_Inner.
    GtkWidget* m_p_Widget = nullptr;
    GtkWidget* m_p_Inner = nullptr;
    std::vector<std::u16string> m_Items;
};

// While one lives on the UI thread, the widgets' signals are the program's changes, not the user's.
class c_ProgramChange {
public:
    c_ProgramChange();
    ~c_ProgramChange();
    c_ProgramChange(const c_ProgramChange&) = delete;
    c_ProgramChange& operator=(const c_ProgramChange&) = delete;
};

// NONE for a window that no widget stands for.
e_ControlKind GetControlKind(HWND control);
// Makes the widget of the control's kind with its signals connected; the caller places it.
s_ControlView MakeControlWidget(HWND control, e_ControlKind kind);
// Shows the control's state: text, check, items, selection, extent, position, enabled and shown.
void UpdateControlWidget(HWND control, s_ControlView& view);

// "&Name" as GTK shows a mnemonic ("_Name"); "&&" is a plain '&'.
std::string ToMnemonicText(std::u16string_view text);
// Posts a user's action on the window to the UI thread (the calling thread); the window's widgets
// are brought back to the layer's state after it, whether the layer took it or not.
void PostUserAction(HWND window, std::function<void()> act);

} // namespace n_Platform
