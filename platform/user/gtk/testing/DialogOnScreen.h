#pragma once
// Test helpers for a dialog shown through the GTK back end: whether every control shows the layer's
// text, whole and apart from the others, and a picture of the dialog.

#include <windows.h>

#include <string>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace n_Platform {

class c_GtkTestDisplay;

// On the UI thread from here to SaveDialogImage.
// What is wrong with the shown dialog, one line each: a control whose widget shows another text
// than the layer's, is given less room than it needs (cut off) or overlaps another control (a group
// box may hold controls). Empty when it is shown cleanly.
std::vector<std::string> FindLayoutFaults(HWND dialog);
// Draws the dialog's window into a PNG file; whether it was written.
bool SaveDialogImage(GtkWidget* window, const std::string& path);
// The text that the control's widget shows (a combo box's: its chosen item) in UTF-8, with GTK's
// mnemonic marks; empty for a widget without text and for a window that GTK does not show.
std::string GetShownText(HWND control);

struct s_DialogPicture {
    bool m_Shown = false;
    std::vector<std::string> m_Faults;
    // Where the picture went; empty when it was not written.
    std::string m_Path;
};
// From the test thread, for a dialog of the display's UI thread: once GTK shows it, its layout faults
// and its picture, kept as gtk-artefacts/dialog-<templateId>.png beside the test program.
s_DialogPicture TakeDialogPicture(const c_GtkTestDisplay& display, HWND dialog, WORD templateId);

} // namespace n_Platform
