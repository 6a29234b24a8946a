// Message boxes and the folder chooser as GTK dialogs.

#include "platform/user/gtk/GtkDialogs.h"

#include "platform/files/DrivePaths.h"
#include "platform/files/PathText.h"
#include "platform/user/FolderPickerRequest.h"
#include "platform/user/MessageBoxes.h"

#include <gtk/gtk.h>

namespace {

struct s_BoxCallback {
    UINT m_Type;
    std::function<void(int)> m_OnAnswer;
};

struct s_ChooserCallback {
    std::function<void(bool, const std::u16string&)> m_OnEnd;
};

const char* ButtonLabel(int id) {
    switch (id) {
        case IDOK:
            return "OK";
        case IDCANCEL:
            return "Cancel";
        case IDABORT:
            return "_Abort";
        case IDRETRY:
            return "_Retry";
        case IDIGNORE:
            return "_Ignore";
        case IDYES:
            return "_Yes";
        default:
            return "_No";
    }
}

GtkMessageType MessageTypeOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR:
            return GTK_MESSAGE_ERROR;
        case MB_ICONQUESTION:
            return GTK_MESSAGE_QUESTION;
        case MB_ICONWARNING:
            return GTK_MESSAGE_WARNING;
        case MB_ICONINFORMATION:
            return GTK_MESSAGE_INFO;
        default:
            return GTK_MESSAGE_OTHER;
    }
}

void OnBoxResponse(GtkDialog*, gint response, gpointer data) {
    if (response > 0) {
        static_cast<s_BoxCallback*>(data)->m_OnAnswer(response);
    }
}

// Escape and the close button: the Escape answer, or nothing for a box without one.
gboolean OnBoxDelete(GtkWidget*, GdkEvent*, gpointer data) {
    const auto* callback = static_cast<s_BoxCallback*>(data);
    if (const int answer = n_Platform::GetEscapeAnswer(callback->m_Type)) {
        callback->m_OnAnswer(answer);
    }
    return TRUE;
}

void OnChooserResponse(GtkDialog* dialog, gint response, gpointer data) {
    const auto* callback = static_cast<s_ChooserCallback*>(data);
    if (response != GTK_RESPONSE_ACCEPT) {
        callback->m_OnEnd(false, std::u16string());
        return;
    }
    gchar* folder = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
    callback->m_OnEnd(folder != nullptr, n_Platform::ToUtf16(folder != nullptr ? folder : ""));
    g_free(folder);
}

gboolean KeepOpen(GtkWidget*, GdkEvent*, gpointer) {
    return TRUE;
}

template <typename T> void DeleteCallback(gpointer data, GClosure*) {
    delete static_cast<T*>(data);
}

} // namespace

namespace n_Platform {

GtkWidget* OpenMessageBoxDialog(const s_MessageBox& box, GtkWindow* owner, std::function<void(int answer)> onAnswer) {
    GtkWidget* dialog = gtk_message_dialog_new(owner, GTK_DIALOG_MODAL, MessageTypeOf(box.m_Type), GTK_BUTTONS_NONE,
                                               "%s", ToUtf8(box.m_Text).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), ToUtf8(box.m_Caption).c_str());
    for (const int id : GetMessageBoxButtons(box.m_Type)) {
        gtk_dialog_add_button(GTK_DIALOG(dialog), ButtonLabel(id), id);
    }
    const int defaultAnswer = GetDefaultAnswer(box.m_Type);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), defaultAnswer);
    auto* callback = new s_BoxCallback{box.m_Type, std::move(onAnswer)};
    g_signal_connect(dialog, "response", G_CALLBACK(OnBoxResponse), callback);
    g_signal_connect_data(dialog, "delete-event", G_CALLBACK(OnBoxDelete), callback, DeleteCallback<s_BoxCallback>,
                          GConnectFlags(0));
    gtk_widget_show_all(dialog);
    gtk_widget_grab_focus(gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), defaultAnswer));
    return dialog;
}

GtkWidget* OpenFolderChooser(const s_FolderPickerRequest& request, GtkWindow* owner,
                             std::function<void(bool chosen, const std::u16string& folder)> onEnd) {
    GtkWidget* dialog =
        gtk_file_chooser_dialog_new(ToUtf8(request.m_Title).c_str(), owner, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER,
                                    "_Cancel", GTK_RESPONSE_CANCEL, "_Select", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    std::string start;
    if (!request.m_Selection.empty() && ToLinuxPath(request.m_Selection, start)) {
        gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog), start.c_str());
    }
    g_signal_connect_data(dialog, "response", G_CALLBACK(OnChooserResponse), new s_ChooserCallback{std::move(onEnd)},
                          DeleteCallback<s_ChooserCallback>, GConnectFlags(0));
    // The close button cancels through the response; the window stays until the picker ends.
    g_signal_connect(dialog, "delete-event", G_CALLBACK(KeepOpen), nullptr);
    gtk_widget_show_all(dialog);
    return dialog;
}

} // namespace n_Platform
