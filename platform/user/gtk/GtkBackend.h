#pragma once
// c_GtkBackend: the back end for a display, with GTK 3 widgets that mirror the layer's windows.
//
// One thread, the UI thread that started it, owns GTK: its queue and the GTK main loop are one
// loop, since waiting for a message there runs GTK until a post wakes it (g_main_context_wakeup).
// Its visible top-level windows become GTK windows whose children mirror the controls (GtkMirror.h);
// changes are gathered and shown before the thread next waits, so a change made while the program
// is busy shows when it is done, and reading controls back never recurses into the mirror. What the
// user does goes to the layer as the same user actions as the headless back end's (UserActions.h),
// posted to the UI thread. Message boxes and folder pickers of the UI thread are GTK dialogs
// (GtkDialogs.h); other threads keep the headless behaviour: a condition to sleep on, scripted boxes.

#include "platform/user/HeadlessBackend.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace n_Platform {

class c_GtkMirror;

class c_GtkBackend : public c_HeadlessBackend {
public:
    // On the thread that becomes the UI thread, after gtk_init_check succeeded there.
    c_GtkBackend();
    ~c_GtkBackend() override;
    c_GtkBackend(const c_GtkBackend&) = delete;
    c_GtkBackend& operator=(const c_GtkBackend&) = delete;

    DWORD GetUiThreadId() const { return m_UiThreadId; }

    void OnWindowChanged(HWND window) override;
    void OnWindowDestroyed(HWND window) override;
    void WaitForInput(c_MessageQueue& queue, std::unique_lock<std::mutex>& lock) override;
    void WakeQueue(c_MessageQueue& queue) override;
    // On the UI thread, for a window that GTK shows: GDK's pointer, over the window's widget and not
    // over a control of it. Otherwise the layer's cursor.
    bool IsPointerOver(HWND window) override;
    s_FontCell GetDialogFontCell(LPCWSTR face, WORD points) override;
    void OnListLineAdded(HWND list, std::u16string_view line) override;
    void OnProgressChanged(HWND bar, int position, int low, int high) override;
    void OnMessageBoxOpened(s_MessageBox& box) override;
    void OnMessageBoxClosed(s_MessageBox& box) override;
    void OnFolderPickerOpened(s_FolderPickerRequest& request) override;
    void OnFolderPickerClosed(s_FolderPickerRequest& request) override;

    // UI thread: shows what changed since the last time.
    void ShowChanges();
    // UI thread: the GTK widget of a window (a top-level window's GtkWindow), null for none; the open
    // GTK dialog of a box or picker of this thread, null for none.
    GtkWidget* FindWidget(HWND window);
    GtkWidget* FindOpenDialog();

private:
    bool IsUiThread() const;
    bool IsDialogOpen(const void* request) const;
    void CloseDialog(const void* request);

    const DWORD m_UiThreadId;
    // The UI thread's: its queue was woken since it last began to wait.
    std::atomic<bool> m_Woken{false};
    std::mutex m_ChangedLock;
    std::set<HWND> m_Changed;
    std::unique_ptr<c_GtkMirror> m_p_Mirror;
    // The open box or picker dialog of the UI thread, innermost last.
    std::vector<std::pair<const void*, GtkWidget*>> m_OpenDialogs;
    // The UI thread's: changes are being shown.
    bool m_Showing = false;
};

} // namespace n_Platform
