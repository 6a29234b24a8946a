#pragma once
// Test helpers for a dialog shown through the GTK back end, on the UI thread: whether every control
// shows the layer's text, whole and apart from the others, and a picture of the dialog.

#include <windows.h>

#include <string>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace n_Platform {

// What is wrong with the shown dialog, one line each: a control whose widget shows another text
// than the layer's, is given less room than it needs (cut off) or overlaps another control (a group
// box may hold controls). Empty when it is shown cleanly.
std::vector<std::string> FindLayoutFaults(HWND dialog);
// Draws the dialog's window into a PNG file; whether it was written.
bool SaveDialogImage(GtkWidget* window, const std::string& path);

} // namespace n_Platform
