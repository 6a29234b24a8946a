// Checks and pictures of dialogs shown through GTK.

#include "platform/user/gtk/testing/DialogOnScreen.h"

#include "platform/files/PathText.h"
#include "platform/user/WindowTable.h"
#include "platform/user/gtk/GtkBackend.h"
#include "platform/user/gtk/GtkControls.h"
#include "platform/user/gtk/testing/c_GtkTestDisplay.h"

#include <gtk/gtk.h>

#include <filesystem>
#include <optional>

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

// The text the widget shows, as the layer's text would be given to it; none for a widget without.
std::optional<std::string> ShownText(n_Platform::e_ControlKind kind, GtkWidget* widget) {
    const char* text = nullptr;
    switch (kind) {
        case n_Platform::e_ControlKind::PUSH_BUTTON:
        case n_Platform::e_ControlKind::CHECK_BOX:
            text = gtk_button_get_label(GTK_BUTTON(widget));
            break;
        case n_Platform::e_ControlKind::GROUP_BOX:
            text = gtk_frame_get_label(GTK_FRAME(widget));
            break;
        case n_Platform::e_ControlKind::LABEL:
            text = gtk_label_get_label(GTK_LABEL(widget));
            break;
        case n_Platform::e_ControlKind::EDIT:
            text = gtk_entry_get_text(GTK_ENTRY(widget));
            break;
        case n_Platform::e_ControlKind::COMBO_BOX: {
            gchar* chosen = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(widget));
            const std::string shown = chosen != nullptr ? chosen : "";
            g_free(chosen);
            return shown;
        }
        default:
            return std::nullopt;
    }
    return std::string(text != nullptr ? text : "");
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
    const std::optional<std::string> text = ShownText(shown.m_Kind, shown.m_p_Widget);
    if (text.has_value() && Expected(shown) != *text) {
        faults.push_back(Describe(shown.m_Control) + " shows \"" + *text + "\"");
    }
    // The room is the control's rectangle; GTK's fixed container would grow a widget past it.
    int width = 0;
    int height = 0;
    gtk_widget_get_size_request(shown.m_p_Widget, &width, &height);
    width = width >= 0 ? width : shown.m_Room.width;
    height = height >= 0 ? height : shown.m_Room.height;
    int minimumWidth = 0;
    int minimumHeight = 0;
    gtk_widget_get_preferred_width(shown.m_p_Widget, &minimumWidth, nullptr);
    gtk_widget_get_preferred_height_for_width(shown.m_p_Widget, width, &minimumHeight, nullptr);
    if (minimumWidth > width || minimumHeight > height) {
        faults.push_back(Describe(shown.m_Control) + " needs " + std::to_string(minimumWidth) + " x " +
                         std::to_string(minimumHeight) + " but has " + std::to_string(width) + " x " +
                         std::to_string(height));
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

std::string GetShownText(HWND control) {
    GtkWidget* widget = Backend().FindWidget(control);
    return widget != nullptr ? ShownText(GetControlKind(control), widget).value_or("") : "";
}

s_DialogPicture TakeDialogPicture(const c_GtkTestDisplay& display, HWND dialog, WORD templateId) {
    s_DialogPicture picture;
    GtkWidget* window = display.WaitForShownWidget(dialog);
    if (window == nullptr) {
        return picture;
    }
    picture.m_Shown = true;
    // Beside the test program: tests may work in temporary folders that go when they end.
    const std::filesystem::path folder =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "gtk-artefacts";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / ("dialog-" + std::to_string(templateId) + ".png")).string();
    display.Run([&] {
        picture.m_Faults = FindLayoutFaults(dialog);
        if (SaveDialogImage(window, path)) {
            picture.m_Path = path;
        }
    });
    return picture;
}

} // namespace n_Platform
