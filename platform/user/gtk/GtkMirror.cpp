// c_GtkMirror: top-level GTK windows and their controls.

#include "platform/user/gtk/GtkMirror.h"

#include "platform/files/PathText.h"
#include "platform/user/Dialogs.h"
#include "platform/user/MouseTracking.h"
#include "platform/user/Resources.h"
#include "platform/user/UserActions.h"
#include "platform/user/WindowTable.h"

#include <gtk/gtk.h>

#include <string>

namespace {

constexpr const char* DIALOG_STYLE_CLASS = "platform-dialog";

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer window) {
    const HWND handle = static_cast<HWND>(window);
    n_Platform::PostUserAction(handle, [handle] { n_Platform::CloseByUser(handle); });
    return TRUE;
}

// Enter and Escape are the dialog's, as IsDialogMessageW takes them; other keys are GTK's.
gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer window) {
    const guint key = event->keyval;
    const WPARAM virtualKey = key == GDK_KEY_Escape                              ? VK_ESCAPE
                              : key == GDK_KEY_Return || key == GDK_KEY_KP_Enter ? VK_RETURN
                                                                                 : 0;
    if (virtualKey == 0) {
        return FALSE;
    }
    const HWND handle = static_cast<HWND>(window);
    n_Platform::PostUserAction(handle, [handle, virtualKey] { n_Platform::PressKeyInDialog(handle, virtualKey); });
    return TRUE;
}

// The pointer left a widget, perhaps for one of its controls: the windows that track it look again.
gboolean OnPointerLeft(GtkWidget*, GdkEventCrossing*, gpointer) {
    n_Platform::CheckMouseLeave();
    return FALSE;
}

void WatchPointerLeaving(GtkWidget* widget) {
    gtk_widget_add_events(widget, GDK_LEAVE_NOTIFY_MASK);
    g_signal_connect(widget, "leave-notify-event", G_CALLBACK(OnPointerLeft), nullptr);
}

// The dialog's template font (fontconfig falls back to an installed sans font); sans otherwise.
void SetDialogFont(HWND window, GtkWidget* widget) {
    const n_Platform::c_DialogState* dialog = n_Platform::FindExtension<n_Platform::c_DialogState>(window);
    const n_Platform::s_DialogTemplate* found =
        dialog == nullptr ? nullptr : n_Platform::FindDialogTemplate(MAKEINTRESOURCEW(dialog->m_TemplateId));
    const std::string face =
        found != nullptr && found->m_FontName != nullptr ? n_Platform::ToUtf8(found->m_FontName) : "Sans";
    const int points = found != nullptr && found->m_FontPoints != 0 ? found->m_FontPoints : 8;
    const std::string css =
        "window { font-family: \"" + face + "\", sans-serif; font-size: " + std::to_string(points) + "pt; }";
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(widget), GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

// Icons are 0xAARRGGBB pixels, top row first; GdkPixbuf wants R, G, B, A bytes.
GdkPixbuf* MakePixbuf(const n_Platform::s_IconTemplate& icon) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, icon.m_Width, icon.m_Height);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int row = 0; row < icon.m_Height; ++row) {
        for (int column = 0; column < icon.m_Width; ++column) {
            const DWORD pixel = icon.m_p_Pixels[row * icon.m_Width + column];
            guchar* out = pixels + row * stride + column * 4;
            out[0] = static_cast<guchar>(pixel >> 16);
            out[1] = static_cast<guchar>(pixel >> 8);
            out[2] = static_cast<guchar>(pixel);
            out[3] = static_cast<guchar>(pixel >> 24);
        }
    }
    return pixbuf;
}

HICON GetDialogIcon(HWND window) {
    const n_Platform::c_DialogState* dialog = n_Platform::FindExtension<n_Platform::c_DialogState>(window);
    if (dialog == nullptr) {
        return nullptr;
    }
    return dialog->m_Icons[ICON_BIG] != nullptr ? dialog->m_Icons[ICON_BIG] : dialog->m_Icons[ICON_SMALL];
}

void ShowIcon(GtkWindow* gtkWindow, HICON icon) {
    const auto* shown = reinterpret_cast<const n_Platform::s_IconTemplate*>(icon);
    if (shown == nullptr || shown->m_p_Pixels == nullptr || shown->m_Width <= 0 || shown->m_Height <= 0) {
        gtk_window_set_icon(gtkWindow, nullptr);
        return;
    }
    GdkPixbuf* pixbuf = MakePixbuf(*shown);
    gtk_window_set_icon(gtkWindow, pixbuf);
    g_object_unref(pixbuf);
}

} // namespace

namespace n_Platform {

c_GtkMirror::~c_GtkMirror() {
    for (const auto& [window, top] : m_Tops) {
        gtk_widget_destroy(top.m_p_Window);
    }
}

void c_GtkMirror::Update(HWND window) {
    const c_WindowObject* object = FindOwnWindow(window);
    if (object == nullptr || object->m_MessageOnly) {
        return;
    }
    const auto child = m_Children.find(window);
    if (child != m_Children.end()) {
        UpdateControlWidget(window, child->second.m_View);
        return;
    }
    const auto top = m_Tops.find(window);
    if (top != m_Tops.end()) {
        UpdateTop(window, top->second);
        return;
    }
    const s_WindowState state = object->ReadState();
    if ((state.m_Style & WS_CHILD) != 0) {
        if (m_Tops.contains(state.m_Parent)) {
            MakeChild(window, state.m_Parent);
        }
        return;
    }
    if ((state.m_Style & WS_VISIBLE) != 0) {
        if (s_TopView* made = MakeTop(window)) {
            UpdateTop(window, *made);
        }
    }
}

void c_GtkMirror::Forget(HWND window) {
    const auto child = m_Children.find(window);
    if (child != m_Children.end()) {
        gtk_widget_destroy(child->second.m_View.m_p_Widget);
        m_Children.erase(child);
        return;
    }
    const auto top = m_Tops.find(window);
    if (top == m_Tops.end()) {
        return;
    }
    // The window takes its controls' widgets with it.
    std::erase_if(m_Children, [window](const auto& entry) { return entry.second.m_Top == window; });
    gtk_widget_destroy(top->second.m_p_Window);
    m_Tops.erase(top);
}

void c_GtkMirror::ShowFocus() {
    const HWND focus = GetFocus();
    if (focus == m_ShownFocus) {
        return;
    }
    m_ShownFocus = focus;
    const auto child = m_Children.find(focus);
    if (child != m_Children.end()) {
        const c_ProgramChange change;
        const s_ControlView& view = child->second.m_View;
        gtk_widget_grab_focus(view.m_p_Inner != nullptr ? view.m_p_Inner : view.m_p_Widget);
    }
}

GtkWidget* c_GtkMirror::Find(HWND window) const {
    const auto child = m_Children.find(window);
    if (child != m_Children.end()) {
        return child->second.m_View.m_p_Widget;
    }
    const auto top = m_Tops.find(window);
    return top != m_Tops.end() ? top->second.m_p_Window : nullptr;
}

HWND c_GtkMirror::FindWindowUnderPointer() const {
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default()));
    GdkWindow* under = gdk_device_get_window_at_position(pointer, nullptr, nullptr);
    gpointer owner = nullptr;
    if (under != nullptr) {
        gdk_window_get_user_data(under, &owner);
    }
    // The widget of the GDK window, or the nearest of its containers that stands for a window.
    for (auto* widget = static_cast<GtkWidget*>(owner); widget != nullptr; widget = gtk_widget_get_parent(widget)) {
        for (const auto& [handle, child] : m_Children) {
            if (child.m_View.m_p_Widget == widget) {
                return handle;
            }
        }
        for (const auto& [handle, top] : m_Tops) {
            if (top.m_p_Window == widget) {
                return handle;
            }
        }
    }
    return nullptr;
}

c_GtkMirror::s_TopView* c_GtkMirror::MakeTop(HWND window) {
    s_TopView top;
    top.m_p_Window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    top.m_p_Fixed = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(top.m_p_Window), top.m_p_Fixed);
    gtk_window_set_resizable(GTK_WINDOW(top.m_p_Window), FALSE);
    gtk_style_context_add_class(gtk_widget_get_style_context(top.m_p_Window), DIALOG_STYLE_CLASS);
    SetDialogFont(window, top.m_p_Window);
    g_signal_connect(top.m_p_Window, "delete-event", G_CALLBACK(OnDelete), window);
    g_signal_connect(top.m_p_Window, "key-press-event", G_CALLBACK(OnKeyPress), window);
    WatchPointerLeaving(top.m_p_Window);
    const HWND owner = FindOwnWindow(window)->ReadState().m_Parent;
    const auto ownerTop = m_Tops.find(owner);
    if (ownerTop != m_Tops.end()) {
        gtk_window_set_transient_for(GTK_WINDOW(top.m_p_Window), GTK_WINDOW(ownerTop->second.m_p_Window));
        gtk_window_set_modal(GTK_WINDOW(top.m_p_Window), TRUE);
        gtk_window_set_position(GTK_WINDOW(top.m_p_Window), GTK_WIN_POS_CENTER_ON_PARENT);
    } else {
        gtk_window_set_position(GTK_WINDOW(top.m_p_Window), GTK_WIN_POS_CENTER);
    }
    s_TopView& made = m_Tops.emplace(window, top).first->second;
    for (const HWND child : GetChildWindows(window)) {
        MakeChild(child, window);
    }
    gtk_widget_show(made.m_p_Fixed);
    return &made;
}

void c_GtkMirror::MakeChild(HWND child, HWND top) {
    const e_ControlKind kind = GetControlKind(child);
    if (kind == e_ControlKind::NONE) {
        return;
    }
    s_ChildView view{top, MakeControlWidget(child, kind)};
    WatchPointerLeaving(view.m_View.m_p_Widget);
    if (view.m_View.m_p_Inner != nullptr) {
        WatchPointerLeaving(view.m_View.m_p_Inner);
    }
    gtk_fixed_put(GTK_FIXED(m_Tops.at(top).m_p_Fixed), view.m_View.m_p_Widget, 0, 0);
    if (view.m_View.m_p_Inner != nullptr) {
        gtk_widget_show(view.m_View.m_p_Inner);
    }
    UpdateControlWidget(child, m_Children.emplace(child, std::move(view)).first->second.m_View);
}

void c_GtkMirror::UpdateTop(HWND window, s_TopView& top) {
    const s_WindowState state = FindOwnWindow(window)->ReadState();
    const c_ProgramChange change;
    GtkWindow* gtkWindow = GTK_WINDOW(top.m_p_Window);
    gtk_window_set_title(gtkWindow, ToUtf8(state.m_Text).c_str());
    gtk_widget_set_size_request(top.m_p_Fixed, state.m_Rect.right - state.m_Rect.left,
                                state.m_Rect.bottom - state.m_Rect.top);
    const HICON icon = GetDialogIcon(window);
    if (icon != top.m_Icon) {
        top.m_Icon = icon;
        ShowIcon(gtkWindow, icon);
    }
    gtk_widget_set_visible(top.m_p_Window, (state.m_Style & WS_VISIBLE) != 0 ? TRUE : FALSE);
}

} // namespace n_Platform
