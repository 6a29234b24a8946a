// c_GtkBackend: one loop for the UI thread's queue and GTK, the gathered changes, boxes and pickers.

#include "platform/user/gtk/GtkBackend.h"

#include "platform/files/PathText.h"
#include "platform/user/FolderPickerRequest.h"
#include "platform/user/MessageBoxes.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/UserInput.h"
#include "platform/user/gtk/GtkDialogs.h"
#include "platform/user/gtk/GtkMirror.h"

#include <gtk/gtk.h>
#include <pango/pangocairo.h>

#include <algorithm>

namespace {

// Controls of the layer's dialogs are as small as their templates make them, not as GTK's theme
// pads them.
constexpr const char* COMPACT_CONTROLS_CSS = ".platform-dialog button { padding: 0 6px; min-height: 0; }"
                                             ".platform-dialog entry { padding: 0 4px; min-height: 0; }"
                                             ".platform-dialog combobox button { padding: 0 4px; }"
                                             ".platform-dialog checkbutton { padding-top: 0; padding-bottom: 0; }"
                                             ".platform-dialog progressbar trough,"
                                             ".platform-dialog progressbar progress { min-height: 12px; }";

constexpr const char* DIALOG_UNIT_LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

void AddCompactStyle() {
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, COMPACT_CONTROLS_CSS, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

GtkWindow* AsWindow(GtkWidget* widget) {
    return widget != nullptr && GTK_IS_WINDOW(widget) ? GTK_WINDOW(widget) : nullptr;
}

} // namespace

namespace n_Platform {

c_GtkBackend::c_GtkBackend() : m_UiThreadId(GetCurrentThreadId()), m_p_Mirror(std::make_unique<c_GtkMirror>()) {
    AddCompactStyle();
}

c_GtkBackend::~c_GtkBackend() = default;

bool c_GtkBackend::IsUiThread() const {
    return GetCurrentThreadId() == m_UiThreadId;
}

void c_GtkBackend::OnWindowChanged(HWND window) {
    // Reading the controls back while showing them changes nothing.
    if ((IsUiThread() && m_Showing) || GetWindowThreadProcessId(window, nullptr) != m_UiThreadId) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_ChangedLock);
        m_Changed.insert(window);
    }
    // A change from another thread (a style, the enabled state) shows once the UI thread looks.
    if (!IsUiThread()) {
        g_main_context_wakeup(nullptr);
    }
}

void c_GtkBackend::OnWindowDestroyed(HWND window) {
    if (!IsUiThread()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_ChangedLock);
        m_Changed.erase(window);
    }
    m_p_Mirror->Forget(window);
}

void c_GtkBackend::WaitForInput(c_MessageQueue& queue, std::unique_lock<std::mutex>& lock) {
    if (queue.GetThreadId() != m_UiThreadId) {
        c_HeadlessBackend::WaitForInput(queue, lock);
        return;
    }
    // Cleared under the queue's lock: a post after this point finds the thread asleep and wakes it.
    m_Woken.store(false, std::memory_order_relaxed);
    lock.unlock();
    ShowChanges();
    while (!m_Woken.load(std::memory_order_acquire)) {
        g_main_context_iteration(nullptr, TRUE);
        ShowChanges();
    }
    lock.lock();
}

void c_GtkBackend::WakeQueue(c_MessageQueue& queue) {
    if (queue.GetThreadId() != m_UiThreadId) {
        c_HeadlessBackend::WakeQueue(queue);
        return;
    }
    m_Woken.store(true, std::memory_order_release);
    g_main_context_wakeup(nullptr);
}

bool c_GtkBackend::IsPointerOver(HWND window) {
    if (!IsUiThread() || m_p_Mirror->Find(window) == nullptr) {
        return c_HeadlessBackend::IsPointerOver(window);
    }
    return m_p_Mirror->FindWindowUnderPointer() == window;
}

s_FontCell c_GtkBackend::GetDialogFontCell(LPCWSTR face, WORD points) {
    PangoFontMap* fonts = pango_cairo_font_map_get_default();
    PangoContext* context = pango_font_map_create_context(fonts);
    pango_cairo_context_set_resolution(context, 96.0);
    PangoFontDescription* description = pango_font_description_new();
    const std::string family = (face != nullptr ? ToUtf8(face) + "," : std::string()) + "sans-serif";
    pango_font_description_set_family(description, family.c_str());
    pango_font_description_set_size(description, (points == 0 ? 8 : points) * PANGO_SCALE);
    PangoFontMetrics* metrics = pango_context_get_metrics(context, description, nullptr);
    // The average width as Windows takes it for dialog units: the 52 letters' width over 52. Pango's
    // approximate width is narrower for the fallback fonts, which leaves texts too little room.
    PangoLayout* letters = pango_layout_new(context);
    pango_layout_set_font_description(letters, description);
    pango_layout_set_text(letters, DIALOG_UNIT_LETTERS, -1);
    int lettersWidth = 0;
    pango_layout_get_size(letters, &lettersWidth, nullptr);
    const s_FontCell cell = {lettersWidth * 8 / (52 * PANGO_SCALE),
                             (pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) * 8 /
                                 PANGO_SCALE};
    g_object_unref(letters);
    pango_font_metrics_unref(metrics);
    pango_font_description_free(description);
    g_object_unref(context);
    return cell;
}

void c_GtkBackend::OnListLineAdded(HWND list, std::u16string_view line) {
    if (!IsUiThread()) {
        c_HeadlessBackend::OnListLineAdded(list, line);
    }
}

void c_GtkBackend::OnProgressChanged(HWND bar, int position, int low, int high) {
    if (!IsUiThread()) {
        c_HeadlessBackend::OnProgressChanged(bar, position, low, high);
    }
}

void c_GtkBackend::OnMessageBoxOpened(s_MessageBox& box) {
    if (box.m_ThreadId != m_UiThreadId) {
        c_HeadlessBackend::OnMessageBoxOpened(box);
        return;
    }
    ShowChanges();
    s_MessageBox* open = &box;
    GtkWidget* dialog = OpenMessageBoxDialog(box, AsWindow(m_p_Mirror->Find(box.m_Owner)), [this, open](int answer) {
        // Taken in the box's loop, and only while the box is still open.
        PostUserInput(m_UiThreadId, [this, open, answer] {
            if (IsDialogOpen(open)) {
                AnswerMessageBox(*open, answer);
            }
        });
    });
    m_OpenDialogs.emplace_back(open, dialog);
}

void c_GtkBackend::OnMessageBoxClosed(s_MessageBox& box) {
    CloseDialog(&box);
}

void c_GtkBackend::OnFolderPickerOpened(s_FolderPickerRequest& request) {
    if (request.m_ThreadId != m_UiThreadId) {
        c_HeadlessBackend::OnFolderPickerOpened(request);
        return;
    }
    ShowChanges();
    s_FolderPickerRequest* open = &request;
    GtkWidget* dialog = OpenFolderChooser(request, AsWindow(m_p_Mirror->Find(request.m_Owner)),
                                          [this, open](bool chosen, const std::u16string& folder) {
                                              PostUserInput(m_UiThreadId, [this, open, chosen, folder] {
                                                  if (IsDialogOpen(open)) {
                                                      EndFolderPicker(*open, chosen, folder);
                                                  }
                                              });
                                          });
    m_OpenDialogs.emplace_back(open, dialog);
}

void c_GtkBackend::OnFolderPickerClosed(s_FolderPickerRequest& request) {
    CloseDialog(&request);
}

void c_GtkBackend::ShowChanges() {
    std::set<HWND> changed;
    {
        std::lock_guard<std::mutex> lock(m_ChangedLock);
        changed.swap(m_Changed);
    }
    m_Showing = true;
    // Handles grow, so a window comes before its controls.
    for (const HWND window : changed) {
        m_p_Mirror->Update(window);
    }
    m_p_Mirror->ShowFocus();
    m_Showing = false;
}

GtkWidget* c_GtkBackend::FindWidget(HWND window) {
    ShowChanges();
    return m_p_Mirror->Find(window);
}

GtkWidget* c_GtkBackend::FindOpenDialog() {
    return m_OpenDialogs.empty() ? nullptr : m_OpenDialogs.back().second;
}

bool c_GtkBackend::IsDialogOpen(const void* request) const {
    return std::any_of(m_OpenDialogs.begin(), m_OpenDialogs.end(),
                       [request](const auto& open) { return open.first == request; });
}

void c_GtkBackend::CloseDialog(const void* request) {
    const auto open = std::find_if(m_OpenDialogs.begin(), m_OpenDialogs.end(),
                                   [request](const auto& open) { return open.first == request; });
    if (open != m_OpenDialogs.end()) {
        gtk_widget_destroy(open->second);
        m_OpenDialogs.erase(open);
    }
}

} // namespace n_Platform
