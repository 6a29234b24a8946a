// The controls' widgets: making, updating and the user's signals.

#include "platform/user/gtk/GtkControls.h"

#include "platform/files/PathText.h"
#include "platform/user/Backend.h"
#include "platform/user/UserActions.h"
#include "platform/user/UserInput.h"
#include "platform/user/WindowTable.h"

#include <commctrl.h>
#include <gtk/gtk.h>

#include <algorithm>

namespace {

using n_Platform::s_ControlView;

thread_local int t_ProgramChanges = 0;

bool IsUserSignal() {
    return t_ProgramChanges == 0;
}

std::u16string GetClass(HWND control) {
    WCHAR name[32] = {};
    GetClassNameW(control, name, 32);
    return name;
}

std::u16string GetItemText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
    std::u16string text(
        static_cast<std::size_t>(std::max<LRESULT>(0, SendMessageW(control, lengthMessage, index, 0))) + 1, u'\0');
    const LRESULT copied = SendMessageW(control, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, copied)));
    return text;
}

std::vector<std::u16string> ReadItems(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage) {
    std::vector<std::u16string> items;
    const LRESULT count = SendMessageW(control, countMessage, 0, 0);
    for (int index = 0; index < count; ++index) {
        items.push_back(GetItemText(control, lengthMessage, textMessage, index));
    }
    return items;
}

void OnButtonClicked(GtkButton*, gpointer control) {
    if (IsUserSignal()) {
        const HWND window = static_cast<HWND>(control);
        n_Platform::PostUserAction(window, [window] { n_Platform::ClickControl(window); });
    }
}

void OnEntryChanged(GtkEditable* entry, gpointer control) {
    if (IsUserSignal()) {
        const HWND window = static_cast<HWND>(control);
        const std::u16string text = n_Platform::ToUtf16(gtk_entry_get_text(GTK_ENTRY(entry)));
        n_Platform::PostUserAction(window, [window, text] { n_Platform::TypeIntoControl(window, text); });
    }
}

void OnComboChanged(GtkComboBox* combo, gpointer control) {
    const int index = gtk_combo_box_get_active(combo);
    if (IsUserSignal() && index >= 0) {
        const HWND window = static_cast<HWND>(control);
        n_Platform::PostUserAction(window, [window, index] { n_Platform::ChooseComboItem(window, index); });
    }
}

// The user's focus is the layer's, so that Enter presses the button the user moved to.
gboolean OnFocusIn(GtkWidget*, GdkEvent*, gpointer control) {
    if (IsUserSignal()) {
        const HWND window = static_cast<HWND>(control);
        n_Platform::PostUserAction(window, [window] {
            if (n_Platform::AcceptsUserInput(window)) {
                SetFocus(window);
            }
        });
    }
    return FALSE;
}

GtkWidget* MakeListBox(s_ControlView& view) {
    GtkListStore* store = gtk_list_store_new(1, G_TYPE_STRING);
    view.m_p_Inner = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
    g_object_unref(store);
    GtkTreeView* tree = GTK_TREE_VIEW(view.m_p_Inner);
    gtk_tree_view_set_headers_visible(tree, FALSE);
    gtk_tree_view_insert_column_with_attributes(tree, -1, "", gtk_cell_renderer_text_new(), "text", 0, nullptr);
    GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(scrolled), view.m_p_Inner);
    return scrolled;
}

GtkWidget* MakeWidget(HWND control, s_ControlView& view) {
    switch (view.m_Kind) {
        case n_Platform::e_ControlKind::PUSH_BUTTON:
            return gtk_button_new();
        case n_Platform::e_ControlKind::CHECK_BOX:
            return gtk_check_button_new();
        case n_Platform::e_ControlKind::GROUP_BOX:
            return gtk_frame_new(nullptr);
        case n_Platform::e_ControlKind::EDIT: {
            GtkWidget* entry = gtk_entry_new();
            const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
            gtk_entry_set_visibility(GTK_ENTRY(entry), (style & ES_PASSWORD) == 0);
            gtk_entry_set_width_chars(GTK_ENTRY(entry), 1);
            return entry;
        }
        case n_Platform::e_ControlKind::COMBO_BOX:
            return gtk_combo_box_text_new();
        case n_Platform::e_ControlKind::LIST_BOX:
            return MakeListBox(view);
        case n_Platform::e_ControlKind::LABEL:
            return gtk_label_new(nullptr);
        case n_Platform::e_ControlKind::PROGRESS_BAR:
            return gtk_progress_bar_new();
        default:
            return nullptr;
    }
}

void ConnectSignals(HWND control, const s_ControlView& view) {
    GtkWidget* widget = view.m_p_Widget;
    switch (view.m_Kind) {
        case n_Platform::e_ControlKind::PUSH_BUTTON:
        case n_Platform::e_ControlKind::CHECK_BOX:
            g_signal_connect(widget, "clicked", G_CALLBACK(OnButtonClicked), control);
            break;
        case n_Platform::e_ControlKind::EDIT:
            g_signal_connect(widget, "changed", G_CALLBACK(OnEntryChanged), control);
            break;
        case n_Platform::e_ControlKind::COMBO_BOX:
            g_signal_connect(widget, "changed", G_CALLBACK(OnComboChanged), control);
            break;
        default:
            return;
    }
    g_signal_connect(widget, "focus-in-event", G_CALLBACK(OnFocusIn), control);
}

// Statics are left-aligned and wrap at words, as SS_LEFT does.
void SetLabelText(GtkWidget* label, const std::u16string& text) {
    gtk_label_set_text_with_mnemonic(GTK_LABEL(label), n_Platform::ToMnemonicText(text).c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0.0F);
    gtk_label_set_yalign(GTK_LABEL(label), 0.0F);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
}

void SetButtonText(HWND control, GtkWidget* button, const std::u16string& text) {
    gtk_button_set_label(GTK_BUTTON(button), n_Platform::ToMnemonicText(text).c_str());
    gtk_button_set_use_underline(GTK_BUTTON(button), TRUE);
    if (n_Platform::GetControlKind(control) == n_Platform::e_ControlKind::CHECK_BOX) {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button),
                                     SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? TRUE : FALSE);
    }
}

void SetEntryText(GtkWidget* entry, const std::u16string& text) {
    const std::string shown = n_Platform::ToUtf8(text);
    // Setting the same text again would move the user's caret.
    if (shown != gtk_entry_get_text(GTK_ENTRY(entry))) {
        gtk_entry_set_text(GTK_ENTRY(entry), shown.c_str());
    }
}

void UpdateComboBox(HWND control, s_ControlView& view) {
    GtkComboBoxText* combo = GTK_COMBO_BOX_TEXT(view.m_p_Widget);
    std::vector<std::u16string> items = ReadItems(control, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
    if (items != view.m_Items) {
        gtk_combo_box_text_remove_all(combo);
        for (const std::u16string& item : items) {
            gtk_combo_box_text_append_text(combo, n_Platform::ToUtf8(item).c_str());
        }
        view.m_Items = std::move(items);
    }
    gtk_combo_box_set_active(GTK_COMBO_BOX(combo), static_cast<gint>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
}

// Lines are mostly added at the end, as a log grows: only then are the old ones kept.
void UpdateListLines(HWND control, s_ControlView& view, GtkListStore* store) {
    std::vector<std::u16string> lines = ReadItems(control, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
    const bool grown =
        lines.size() >= view.m_Items.size() && std::equal(view.m_Items.begin(), view.m_Items.end(), lines.begin());
    if (!grown) {
        gtk_list_store_clear(store);
        view.m_Items.clear();
    }
    for (std::size_t index = view.m_Items.size(); index < lines.size(); ++index) {
        gtk_list_store_insert_with_values(store, nullptr, -1, 0, n_Platform::ToUtf8(lines[index]).c_str(), -1);
    }
    view.m_Items = std::move(lines);
}

void UpdateListBox(HWND control, s_ControlView& view) {
    GtkTreeView* tree = GTK_TREE_VIEW(view.m_p_Inner);
    UpdateListLines(control, view, GTK_LIST_STORE(gtk_tree_view_get_model(tree)));
    const int extent = static_cast<int>(SendMessageW(control, LB_GETHORIZONTALEXTENT, 0, 0));
    gtk_tree_view_column_set_min_width(gtk_tree_view_get_column(tree, 0), extent);
    GtkTreeSelection* selection = gtk_tree_view_get_selection(tree);
    const int selected = static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0));
    const int top = static_cast<int>(SendMessageW(control, LB_GETTOPINDEX, 0, 0));
    gtk_tree_selection_unselect_all(selection);
    if (selected >= 0) {
        GtkTreePath* path = gtk_tree_path_new_from_indices(selected, -1);
        gtk_tree_selection_select_path(selection, path);
        gtk_tree_path_free(path);
    }
    if (top > 0 && top < static_cast<int>(view.m_Items.size())) {
        GtkTreePath* path = gtk_tree_path_new_from_indices(top, -1);
        gtk_tree_view_scroll_to_cell(tree, path, nullptr, TRUE, 0.0F, 0.0F);
        gtk_tree_path_free(path);
    }
}

void UpdateProgressBar(HWND control, GtkWidget* bar) {
    PBRANGE range = {};
    SendMessageW(control, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const LRESULT position = SendMessageW(control, PBM_GETPOS, 0, 0);
    const double span = static_cast<double>(range.iHigh) - range.iLow;
    gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(bar), span > 0 ? (position - range.iLow) / span : 0.0);
}

void UpdateContent(HWND control, s_ControlView& view, const n_Platform::s_WindowState& state) {
    switch (view.m_Kind) {
        case n_Platform::e_ControlKind::PUSH_BUTTON:
        case n_Platform::e_ControlKind::CHECK_BOX:
            SetButtonText(control, view.m_p_Widget, state.m_Text);
            return;
        case n_Platform::e_ControlKind::GROUP_BOX:
            gtk_frame_set_label(GTK_FRAME(view.m_p_Widget), n_Platform::ToUtf8(state.m_Text).c_str());
            return;
        case n_Platform::e_ControlKind::EDIT:
            SetEntryText(view.m_p_Widget, state.m_Text);
            return;
        case n_Platform::e_ControlKind::COMBO_BOX:
            UpdateComboBox(control, view);
            return;
        case n_Platform::e_ControlKind::LIST_BOX:
            UpdateListBox(control, view);
            return;
        case n_Platform::e_ControlKind::LABEL:
            SetLabelText(view.m_p_Widget, state.m_Text);
            return;
        default:
            UpdateProgressBar(control, view.m_p_Widget);
            return;
    }
}

// A drop-down list's rectangle includes its list; the closed box is as high as GTK makes it.
int ShownHeight(const s_ControlView& view, const RECT& rect) {
    return view.m_Kind == n_Platform::e_ControlKind::COMBO_BOX ? -1 : static_cast<int>(rect.bottom - rect.top);
}

} // namespace

namespace n_Platform {

c_ProgramChange::c_ProgramChange() {
    ++t_ProgramChanges;
}

c_ProgramChange::~c_ProgramChange() {
    --t_ProgramChanges;
}

e_ControlKind GetControlKind(HWND control) {
    const std::u16string name = GetClass(control);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    if (name == u"Button") {
        const DWORD kind = style & BS_TYPEMASK;
        if (kind == BS_GROUPBOX) {
            return e_ControlKind::GROUP_BOX;
        }
        return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX ? e_ControlKind::CHECK_BOX : e_ControlKind::PUSH_BUTTON;
    }
    if (name == u"Edit") {
        return e_ControlKind::EDIT;
    }
    if (name == u"ComboBox") {
        return e_ControlKind::COMBO_BOX;
    }
    if (name == u"ListBox") {
        return e_ControlKind::LIST_BOX;
    }
    if (name == u"Static") {
        return e_ControlKind::LABEL;
    }
    return name == PROGRESS_CLASSW ? e_ControlKind::PROGRESS_BAR : e_ControlKind::NONE;
}

s_ControlView MakeControlWidget(HWND control, e_ControlKind kind) {
    s_ControlView view;
    view.m_Kind = kind;
    view.m_p_Widget = MakeWidget(control, view);
    if (view.m_p_Widget != nullptr) {
        ConnectSignals(control, view);
    }
    return view;
}

void UpdateControlWidget(HWND control, s_ControlView& view) {
    const c_WindowObject* window = FindOwnWindow(control);
    if (window == nullptr || view.m_p_Widget == nullptr) {
        return;
    }
    const s_WindowState state = window->ReadState();
    const c_ProgramChange change;
    UpdateContent(control, view, state);
    GtkWidget* widget = view.m_p_Widget;
    gtk_fixed_move(GTK_FIXED(gtk_widget_get_parent(widget)), widget, state.m_Rect.left, state.m_Rect.top);
    gtk_widget_set_size_request(widget, state.m_Rect.right - state.m_Rect.left, ShownHeight(view, state.m_Rect));
    gtk_widget_set_sensitive(widget, (state.m_Style & WS_DISABLED) == 0 ? TRUE : FALSE);
    gtk_widget_set_visible(widget, (state.m_Style & WS_VISIBLE) != 0 ? TRUE : FALSE);
}

std::string ToMnemonicText(std::u16string_view text) {
    std::u16string shown;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char16_t unit = text[index];
        if (unit == u'&' && index + 1 < text.size() && text[index + 1] == u'&') {
            shown += u'&';
            ++index;
        } else if (unit == u'&') {
            shown += u'_';
        } else {
            shown += unit == u'_' ? u"__" : std::u16string(1, unit);
        }
    }
    return ToUtf8(shown);
}

void PostUserAction(HWND window, std::function<void()> act) {
    PostUserInput(GetCurrentThreadId(), [window, act = std::move(act)] {
        act();
        GetUserBackend().OnWindowChanged(window);
    });
}

} // namespace n_Platform
