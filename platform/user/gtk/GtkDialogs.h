#pragma once
// The GTK dialogs of message boxes and folder pickers: shown without a nested main loop (no
// gtk_dialog_run), their answers handed to a callback on the UI thread.
//
// A box has the caption, text, icon and buttons of its type, the default button focused; Escape and
// the window's close button give the box's Escape answer, and do nothing where it has none (a Yes/No
// box), as on Windows. The picker is GTK's folder chooser, opened at the caller's selection.

#include <windows.h>

#include <functional>
#include <string>

typedef struct _GtkWidget GtkWidget;
typedef struct _GtkWindow GtkWindow;

namespace n_Platform {

struct s_MessageBox;
struct s_FolderPickerRequest;

// Shown, modal over owner (null for none); the caller destroys it when the box closes.
GtkWidget* OpenMessageBoxDialog(const s_MessageBox& box, GtkWindow* owner, std::function<void(int answer)> onAnswer);
// The folder comes in Linux form.
GtkWidget* OpenFolderChooser(const s_FolderPickerRequest& request, GtkWindow* owner,
                             std::function<void(bool chosen, const std::u16string& folder)> onEnd);

} // namespace n_Platform
