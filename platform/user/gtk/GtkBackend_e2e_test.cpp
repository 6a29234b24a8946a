// Tests of the GTK back end on an Xvfb of their own: the one loop, the mirrored controls, user
// actions on the widgets, boxes and pickers.

#include "platform/testing/PumpUntil.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/user/Backend.h"
#include "platform/user/UserInput.h"
#include "platform/user/gtk/testing/DialogOnScreen.h"
#include "platform/user/gtk/testing/c_GtkTestDisplay.h"
#include "platform/user/testing/SampleDialog.h"
#include "platform/user/testing/c_DialogDriver.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <gtest/gtest.h>
#include <objbase.h>
#include <win32/folderpicker.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

using n_Platform::c_GtkTestDisplay;
using n_Platform::c_XvfbDisplay;
using n_Platform::WaitUntil;
using namespace n_SampleDialog;

testing::Environment* const g_Display = testing::AddGlobalTestEnvironment(&c_GtkTestDisplay::Get());

// The sample dialog run modally on the display's UI thread.
class GtkSampleDialog : public testing::Test {
protected:
    void SetUp() override {
        if (!Display().GetProblem().empty()) {
            GTEST_SKIP() << "No display for the GTK tests: " << Display().GetProblem();
        }
        n_Platform::RegisterDialogTemplate(SAMPLE_TEMPLATE);
        ASSERT_TRUE(Display().Post([this] {
            m_Result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(SAMPLE_DIALOG), nullptr,
                                       SampleProcedure, reinterpret_cast<LPARAM>(&m_Record));
            m_Ended = true;
        }));
        m_Dialog = m_Driver.WaitForDialog(SAMPLE_DIALOG);
        ASSERT_NE(m_Dialog, nullptr);
        m_p_Window = Display().WaitForShownWidget(m_Dialog);
        ASSERT_NE(m_p_Window, nullptr);
    }
    void TearDown() override {
        if (m_Dialog != nullptr && !m_Ended) {
            const HWND dialog = m_Dialog;
            Display().Run([dialog] { EndDialog(dialog, 0); });
        }
        WaitUntil([this] { return m_Ended.load(); });
    }

    static const c_GtkTestDisplay& Display() { return c_GtkTestDisplay::Get(); }

    GtkWidget* Widget(int id) {
        GtkWidget* widget = nullptr;
        const HWND control = GetDlgItem(m_Dialog, id);
        Display().Run([&] { widget = Display().FindWidget(control); });
        return widget;
    }

    n_Platform::c_DialogDriver m_Driver{true};
    s_Record m_Record;
    std::atomic<INT_PTR> m_Result{-2};
    std::atomic<bool> m_Ended{false};
    HWND m_Dialog = nullptr;
    GtkWidget* m_p_Window = nullptr;
};

TEST_F(GtkSampleDialog, ShowsTheProgramsStateWithoutNotifying) {
    std::string title;
    bool checked = false;
    std::string choice;
    Display().Run([&] {
        title = gtk_window_get_title(GTK_WINDOW(m_p_Window));
        checked =
            gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Display().FindWidget(GetDlgItem(m_Dialog, CHECK_BOX))));
        gchar* text =
            gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(Display().FindWidget(GetDlgItem(m_Dialog, COMBO))));
        choice = text != nullptr ? text : "";
        g_free(text);
    });
    EXPECT_EQ(title, "Sample");
    EXPECT_TRUE(checked);
    EXPECT_EQ(choice, "Second");
    EXPECT_TRUE(m_Record.GetCommands().empty());
}

// Waiting for a message runs GTK: an idle source of GTK runs while the UI thread has no message.
TEST_F(GtkSampleDialog, WaitingForMessagesRunsGtk) {
    static std::atomic<int> idleRuns{0};
    Display().Run([] {
        g_idle_add(
            [](gpointer) -> gboolean {
                ++idleRuns;
                return G_SOURCE_REMOVE;
            },
            nullptr);
    });
    EXPECT_TRUE(WaitUntil([] { return idleRuns.load() == 1; }));
    // A message sent from this thread wakes the loop and is answered.
    EXPECT_EQ(SendMessageW(GetDlgItem(m_Dialog, CHECK_BOX), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(GtkSampleDialog, TurnsWhatTheUserDoesIntoTheLayersNotifications) {
    const struct {
        const char* m_Name;
        int m_Id;
        int m_Code;
        void (*m_p_Act)(GtkWidget* widget);
    } cases[] = {
        {"click", GO_BUTTON, BN_CLICKED, [](GtkWidget* widget) { gtk_button_clicked(GTK_BUTTON(widget)); }},
        {"check", CHECK_BOX, BN_CLICKED, [](GtkWidget* widget) { gtk_button_clicked(GTK_BUTTON(widget)); }},
        {"typing", EDIT, EN_CHANGE, [](GtkWidget* widget) { gtk_entry_set_text(GTK_ENTRY(widget), "typed"); }},
        {"choice", COMBO, CBN_SELCHANGE, [](GtkWidget* widget) { gtk_combo_box_set_active(GTK_COMBO_BOX(widget), 0); }},
    };
    std::vector<std::pair<int, int>> expected;
    for (const auto& row : cases) {
        SCOPED_TRACE(row.m_Name);
        GtkWidget* widget = Widget(row.m_Id);
        ASSERT_NE(widget, nullptr);
        Display().Run([&] { row.m_p_Act(widget); });
        expected.emplace_back(row.m_Id, row.m_Code);
        EXPECT_TRUE(WaitUntil([&] { return m_Record.GetCommands() == expected; }));
    }
    EXPECT_FALSE(m_Driver.IsChecked(m_Dialog, CHECK_BOX));
    EXPECT_EQ(m_Driver.GetText(m_Dialog, EDIT), u"typed");
    EXPECT_EQ(m_Driver.GetSelection(m_Dialog, COMBO), 0);
}

TEST_F(GtkSampleDialog, ShowsEveryChangeOfTheProgramAndRaisesNoNotification) {
    const HWND dialog = m_Dialog;
    Display().Run([dialog] {
        SetDlgItemTextW(dialog, EDIT, u"C:\\Programs");
        CheckDlgButton(dialog, CHECK_BOX, BST_UNCHECKED);
        SendDlgItemMessageW(dialog, COMBO, CB_SETCURSEL, 0, 0);
        SendDlgItemMessageW(dialog, LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"First line"));
        SendDlgItemMessageW(dialog, LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Second line"));
        SendDlgItemMessageW(dialog, LIST, LB_SETHORIZONTALEXTENT, 2000, 0);
        SendDlgItemMessageW(dialog, PROGRESS, PBM_SETPOS, 40, 0);
        SetDlgItemTextW(dialog, GO_BUTTON, u"&Start");
        EnableWindow(GetDlgItem(dialog, ASK_BUTTON), FALSE);
        ShowWindow(GetDlgItem(dialog, NOTE_LABEL), SW_HIDE);
    });
    std::string edit;
    bool checked = true;
    int choice = -1;
    int lines = 0;
    int columnWidth = 0;
    double fraction = 0;
    std::string go;
    bool askSensitive = true;
    bool noteVisible = true;
    Display().Run([&] {
        edit = gtk_entry_get_text(GTK_ENTRY(Display().FindWidget(GetDlgItem(dialog, EDIT))));
        checked = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Display().FindWidget(GetDlgItem(dialog, CHECK_BOX))));
        choice = gtk_combo_box_get_active(GTK_COMBO_BOX(Display().FindWidget(GetDlgItem(dialog, COMBO))));
        GtkWidget* scrolled = Display().FindWidget(GetDlgItem(dialog, LIST));
        GtkTreeView* tree = GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(scrolled)));
        lines = gtk_tree_model_iter_n_children(gtk_tree_view_get_model(tree), nullptr);
        columnWidth = gtk_tree_view_column_get_min_width(gtk_tree_view_get_column(tree, 0));
        fraction = gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(Display().FindWidget(GetDlgItem(dialog, PROGRESS))));
        go = gtk_button_get_label(GTK_BUTTON(Display().FindWidget(GetDlgItem(dialog, GO_BUTTON))));
        askSensitive = gtk_widget_get_sensitive(Display().FindWidget(GetDlgItem(dialog, ASK_BUTTON)));
        noteVisible = gtk_widget_get_visible(Display().FindWidget(GetDlgItem(dialog, NOTE_LABEL)));
    });
    EXPECT_EQ(edit, "C:\\Programs");
    EXPECT_FALSE(checked);
    EXPECT_EQ(choice, 0);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(columnWidth, 2000);
    EXPECT_DOUBLE_EQ(fraction, 0.4);
    EXPECT_EQ(go, "_Start");
    EXPECT_FALSE(askSensitive);
    EXPECT_FALSE(noteVisible);
    EXPECT_TRUE(m_Record.GetCommands().empty());
}

// GTK may still deliver a click to a widget the program just disabled; the layer refuses it.
TEST_F(GtkSampleDialog, RefusesActionsOnDisabledControlsAndPutsTheWidgetBack) {
    const HWND check = GetDlgItem(m_Dialog, CHECK_BOX);
    Display().Run([check] { EnableWindow(check, FALSE); });
    GtkWidget* widget = Widget(CHECK_BOX);
    Display().Run([widget] { gtk_button_clicked(GTK_BUTTON(widget)); });
    bool shownChecked = false;
    EXPECT_TRUE(WaitUntil([&] {
        Display().Run([&] { shownChecked = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget)); });
        return shownChecked;
    }));
    EXPECT_TRUE(m_Driver.IsChecked(m_Dialog, CHECK_BOX));
    EXPECT_TRUE(m_Record.GetCommands().empty());
}

// The window manager's close button is WM_CLOSE, which the dialog takes as Cancel.
TEST_F(GtkSampleDialog, ClosingTheWindowCancelsTheDialog) {
    GtkWidget* window = m_p_Window;
    Display().Run([window] { gtk_window_close(GTK_WINDOW(window)); });
    ASSERT_TRUE(WaitUntil([this] { return m_Ended.load(); }));
    EXPECT_EQ(m_Result, IDCANCEL);
}

// A real key from the X server: Enter, with the focus on the edit, presses the default button OK.
TEST_F(GtkSampleDialog, TakesEnterAsTheDialogsKey) {
    GtkWidget* window = m_p_Window;
    unsigned long id = 0;
    Display().Run([&] { id = gdk_x11_window_get_xid(gtk_widget_get_window(window)); });
    const c_XvfbDisplay& x = Display().GetDisplay();
    ASSERT_TRUE(x.RunClient({"xdotool", "windowfocus", "--sync", std::to_string(id), "key", "Return"}));
    ASSERT_TRUE(WaitUntil([this] { return m_Ended.load(); }));
    EXPECT_EQ(m_Result, IDOK);
    EXPECT_EQ(m_Record.GetCommands(), (std::vector<std::pair<int, int>>{{IDOK, BN_CLICKED}}));
}

TEST_F(GtkSampleDialog, RealClickOnAButtonNotifiesTheDialog) {
    GtkWidget* go = Widget(GO_BUTTON);
    unsigned long id = 0;
    GtkAllocation room = {};
    Display().Run([&] {
        id = gdk_x11_window_get_xid(gtk_widget_get_window(m_p_Window));
        gtk_widget_get_allocation(go, &room);
    });
    ASSERT_TRUE(Display().GetDisplay().RunClient({"xdotool", "mousemove", "--sync", "--window", std::to_string(id),
                                                  std::to_string(room.x + room.width / 2),
                                                  std::to_string(room.y + room.height / 2), "click", "1"}));
    EXPECT_TRUE(WaitUntil([this] {
        return m_Record.GetCommands() == std::vector<std::pair<int, int>>{{GO_BUTTON, BN_CLICKED}};
    }));
}

// For a window that GTK shows, the X server's pointer decides, not the layer's cursor: tracking
// starts over the button and the button is told once the pointer leaves it.
TEST_F(GtkSampleDialog, TracksTheRealPointerLeavingAControl) {
    static std::atomic<int> leaves{0};
    static WNDPROC previous = nullptr;
    const WNDPROC counting = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_MOUSELEAVE) {
            ++leaves;
        }
        return CallWindowProcW(previous, window, message, wParam, lParam);
    };
    const HWND go = GetDlgItem(m_Dialog, GO_BUTTON);
    GtkWidget* widget = Widget(GO_BUTTON);
    unsigned long id = 0;
    GtkAllocation room = {};
    Display().Run([&] {
        id = gdk_x11_window_get_xid(gtk_widget_get_window(m_p_Window));
        gtk_widget_get_allocation(widget, &room);
        previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(go, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting)));
    });
    const c_XvfbDisplay& x = Display().GetDisplay();
    // Without --sync, which waits for a move that never comes when the pointer is there already.
    ASSERT_TRUE(x.RunClient({"xdotool", "mousemove", "--window", std::to_string(id),
                             std::to_string(room.x + room.width / 2), std::to_string(room.y + room.height / 2)}));
    ASSERT_TRUE(WaitUntil([&] {
        bool over = false;
        Display().Run([&] { over = n_Platform::GetUserBackend().IsPointerOver(go); });
        return over;
    }));
    BOOL tracked = FALSE;
    TRACKMOUSEEVENT query = {sizeof(TRACKMOUSEEVENT), TME_QUERY, nullptr, 0};
    Display().Run([&] {
        SetCursorPos(0, 0);
        TRACKMOUSEEVENT request = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, go, HOVER_DEFAULT};
        tracked = TrackMouseEvent(&request);
        TrackMouseEvent(&query);
    });
    // A leave posted at once would have been handled before this work.
    Display().Run([] {});
    EXPECT_TRUE(tracked);
    EXPECT_EQ(query.hwndTrack, go);
    EXPECT_EQ(leaves, 0);
    ASSERT_TRUE(x.RunClient({"xdotool", "mousemove", "0", "0"}));
    EXPECT_TRUE(WaitUntil([] { return leaves.load() == 1; }));
    Display().Run([go] { SetWindowLongPtrW(go, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous)); });
}

// Ask opens a Yes/No box over the dialog: a GTK message dialog in a nested loop.
TEST_F(GtkSampleDialog, ShowsMessageBoxesAndTakesTheirAnswers) {
    GtkWidget* ask = Widget(ASK_BUTTON);
    Display().Run([ask] { gtk_button_clicked(GTK_BUTTON(ask)); });
    GtkWidget* box = Display().WaitForOpenDialog();
    ASSERT_NE(box, nullptr);
    std::string title;
    std::string text;
    Display().Run([&] {
        title = gtk_window_get_title(GTK_WINDOW(box));
        gchar* shown = nullptr;
        g_object_get(box, "text", &shown, nullptr);
        text = shown != nullptr ? shown : "";
        g_free(shown);
        // Escape does nothing in a box without Cancel.
        gtk_window_close(GTK_WINDOW(box));
    });
    EXPECT_EQ(title, "Sample Installer");
    EXPECT_EQ(text, "Continue?");
    // The dialog takes nothing while its box is open, and the nested loop runs its thread's work.
    EXPECT_FALSE(m_Driver.Click(m_Dialog, GO_BUTTON));
    Display().Run([box] { gtk_button_clicked(GTK_BUTTON(gtk_dialog_get_widget_for_response(GTK_DIALOG(box), IDNO))); });
    EXPECT_TRUE(WaitUntil([this] { return m_Record.GetAnswers() == std::vector<int>{IDNO}; }));
    EXPECT_EQ(m_Record.GetCommands(), (std::vector<std::pair<int, int>>{{ASK_BUTTON, BN_CLICKED}}));
}

// Browse: GTK's folder chooser opens at the caller's selection; its folder comes back in drive form.
TEST_F(GtkSampleDialog, PicksFoldersWithGtksChooser) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    const HWND dialog = m_Dialog;
    std::atomic<bool> ended{false};
    std::u16string picked;
    ASSERT_TRUE(Display().Post([&, dialog] {
        WCHAR name[MAX_PATH] = {};
        BROWSEINFOW information = {};
        information.hwndOwner = dialog;
        information.pszDisplayName = name;
        information.lpszTitle = u"Installation path";
        information.lpfn = [](HWND picker, UINT message, LPARAM, LPARAM) {
            if (message == BFFM_INITIALIZED) {
                SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(u"D:\\"));
            }
            return 0;
        };
        if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&information)) {
            WCHAR path[MAX_PATH] = {};
            SHGetPathFromIDListEx(list, path, MAX_PATH, GPFIDL_DEFAULT);
            picked = path;
            CoTaskMemFree(list);
        }
        ended = true;
    }));
    GtkWidget* chooser = Display().WaitForOpenDialog();
    ASSERT_NE(chooser, nullptr);
    std::string title;
    std::string start;
    // The chooser reads the folder in the background before it shows it.
    WaitUntil([&] {
        Display().Run([&] {
            title = gtk_window_get_title(GTK_WINDOW(chooser));
            gchar* folder = gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(chooser));
            start = folder != nullptr ? folder : "";
            g_free(folder);
        });
        return start == drives.GetD();
    });
    Display().Run([&] { gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT); });
    EXPECT_EQ(title, "Installation path");
    EXPECT_EQ(start, drives.GetD());
    ASSERT_TRUE(WaitUntil([&] { return ended.load(); }));
    EXPECT_EQ(picked, u"D:\\");
}

TEST_F(GtkSampleDialog, ShowsTheDialogsIcon) {
    static const DWORD pixels[4] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0x80FFFFFF};
    n_Platform::RegisterIconTemplate({931, 2, 2, pixels});
    const HWND dialog = m_Dialog;
    int width = 0;
    std::vector<int> firstPixel;
    Display().Run([&] {
        SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(931))));
        GtkWidget* window = Display().FindWidget(dialog);
        GdkPixbuf* icon = gtk_window_get_icon(GTK_WINDOW(window));
        width = icon != nullptr ? gdk_pixbuf_get_width(icon) : 0;
        if (icon != nullptr) {
            const guchar* bytes = gdk_pixbuf_read_pixels(icon);
            firstPixel.assign(bytes, bytes + 4);
        }
    });
    EXPECT_EQ(width, 2);
    // 0xAARRGGBB becomes red, green, blue and alpha.
    EXPECT_EQ(firstPixel, (std::vector<int>{0, 0, 255, 255}));
}

// Each dialog as the user sees it, a picture of it kept in gtk-artefacts/ of the test's folder.
TEST(GtkDialogPictures, ShowEveryTextWholeAndApart) {
    if (!c_GtkTestDisplay::Get().GetProblem().empty()) {
        GTEST_SKIP() << "No display for the GTK tests: " << c_GtkTestDisplay::Get().GetProblem();
    }
    const c_GtkTestDisplay& display = c_GtkTestDisplay::Get();
    n_Platform::RegisterDialogTemplate(SAMPLE_TEMPLATE);
    const struct {
        WORD m_Template;
        DLGPROC m_p_Procedure;
    } dialogs[] = {
        {SAMPLE_DIALOG, SampleProcedure},
    };
    for (const auto& row : dialogs) {
        SCOPED_TRACE(row.m_Template);
        s_Record record;
        HWND dialog = nullptr;
        display.Run([&] {
            dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(row.m_Template), nullptr,
                                        row.m_p_Procedure, reinterpret_cast<LPARAM>(&record));
            ShowWindow(dialog, SW_SHOW);
        });
        ASSERT_NE(dialog, nullptr);
        const n_Platform::s_DialogPicture picture = n_Platform::TakeDialogPicture(display, dialog, row.m_Template);
        display.Run([dialog] { DestroyWindow(dialog); });
        EXPECT_TRUE(picture.m_Shown);
        EXPECT_EQ(picture.m_Faults, std::vector<std::string>());
        EXPECT_FALSE(picture.m_Path.empty());
    }
}

} // namespace
