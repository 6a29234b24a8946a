// Checks and pictures of dialogs shown through GTK.

#include "platform/user/gtk/testing/DialogOnScreen.h"

#include "platform/files/PathText.h"
#include "platform/user/WindowTable.h"
#include "platform/user/gtk/GtkBackend.h"
#include "platform/user/gtk/GtkControls.h"

#include <gtk/gtk.h>

namespace {

struct s_Shown {
    HWND m_Control;
    n_Platform::e_ControlKind m_Kind;
    GtkWidget* m_p_Widget;
    GtkAllocation m_Room;
};

n_Platform::c_GtkBackend& Backend() {
    return static_cast<n_Platform::c_GtkBackend&>(n_Platform::GetUserBackend());
}

std::string Describe(HWND control) {
    return "control " + std::to_string(GetDlgCtrlID(control));
}

std::u16string LayerText(HWND control) {
    WCHAR text[512] = {};
    GetWindowTextW(control, text, 512);
    return text;
}

// The text the widget shows, as the layer's text would be given to it; null for a widget without.
const char* ShownText(const s_Shown& shown) {
    switch (shown.m_Kind) {
        case n_Platform::e_ControlKind::PUSH_BUTTON:
        case n_Platform::e_ControlKind::CHECK_BOX:
            return gtk_button_get_label(GTK_BUTTON(shown.m_p_Widget));
        case n_Platform::e_ControlKind::GROUP_BOX:
            return gtk_frame_get_label(GTK_FRAME(shown.m_p_Widget));
        case n_Platform::e_ControlKind::LABEL:
            return gtk_label_get_label(GTK_LABEL(shown.m_p_Widget));
        case n_Platform::e_ControlKind::EDIT:
            return gtk_entry_get_text(GTK_ENTRY(shown.m_p_Widget));
        default:
            return nullptr;
    }
}

std::string Expected(const s_Shown& shown) {
    const std::u16string text = LayerText(shown.m_Control);
    return shown.m_Kind == n_Platform::e_ControlKind::PUSH_BUTTON ||
                   shown.m_Kind == n_Platform::e_ControlKind::CHECK_BOX ||
                   shown.m_Kind == n_Platform::e_ControlKind::LABEL
               ? n_Platform::ToMnemonicText(text)
               : n_Platform::ToUtf8(text);
}

bool Overlap(const GtkAllocation& one, const GtkAllocation& other) {
    return one.x < other.x + other.width && other.x < one.x + one.width && one.y < other.y + other.height &&
           other.y < one.y + one.height;
}

void CheckOne(const s_Shown& shown, std::vector<std::string>& faults) {
    const char* text = ShownText(shown);
    if (text != nullptr && Expected(shown) != text) {
        faults.push_back(Describe(shown.m_Control) + " shows \"" + text + "\"");
    }
    int minimumWidth = 0;
    int minimumHeight = 0;
    gtk_widget_get_preferred_width(shown.m_p_Widget, &minimumWidth, nullptr);
    gtk_widget_get_preferred_height_for_width(shown.m_p_Widget, shown.m_Room.width, &minimumHeight, nullptr);
    if (minimumWidth > shown.m_Room.width || minimumHeight > shown.m_Room.height) {
        faults.push_back(Describe(shown.m_Control) + " needs " + std::to_string(minimumWidth) + " x " +
                         std::to_string(minimumHeight) + " but has " + std::to_string(shown.m_Room.width) + " x " +
                         std::to_string(shown.m_Room.height));
    }
}

} // namespace

namespace n_Platform {

std::vector<std::string> FindLayoutFaults(HWND dialog) {
    std::vector<s_Shown> controls;
    for (const HWND control : GetChildWindows(dialog)) {
        GtkWidget* widget = Backend().FindWidget(control);
        if (widget != nullptr && gtk_widget_get_visible(widget)) {
            controls.push_back({control, GetControlKind(control), widget, {}});
            gtk_widget_get_allocation(widget, &controls.back().m_Room);
        }
    }
    std::vector<std::string> faults;
    for (std::size_t index = 0; index < controls.size(); ++index) {
        CheckOne(controls[index], faults);
        for (std::size_t other = index + 1; other < controls.size(); ++other) {
            const bool group = controls[index].m_Kind == e_ControlKind::GROUP_BOX ||
                               controls[other].m_Kind == e_ControlKind::GROUP_BOX;
            if (!group && Overlap(controls[index].m_Room, controls[other].m_Room)) {
                faults.push_back(Describe(controls[index].m_Control) + " overlaps " +
                                 Describe(controls[other].m_Control));
            }
        }
    }
    return faults;
}

bool SaveDialogImage(GtkWidget* window, const std::string& path) {
    // A change since the last frame leaves the window to be laid out again first.
    gtk_container_check_resize(GTK_CONTAINER(window));
    const int width = gtk_widget_get_allocated_width(window);
    const int height = gtk_widget_get_allocated_height(window);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* context = cairo_create(surface);
    gtk_widget_draw(window, context);
    cairo_destroy(context);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

} // namespace n_Platform
