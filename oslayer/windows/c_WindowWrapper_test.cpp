// Tests of n_OSLayer::c_WindowWrapper, c_Window and c_Point, and of the n_OSLayer window creation,
// state and message-loop wrappers.

#include "oslayer/windows/c_WindowWrapper.h"

#include "oslayer/testing/c_SampleControlsDialog.h"
#include "oslayer/windows/MessageLoop.h"
#include "oslayer/windows/WindowCreation.h"
#include "oslayer/windows/WindowState.h"
#include "oslayer/windows/c_Point.h"
#include "oslayer/windows/c_Window.h"
#include "oslayer/windows/c_WindowClass.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Answers WM_GETTEXT with a text that holds a NUL; everything else goes to DefWindowProcW.
LRESULT CALLBACK NulTextProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const WCHAR TEXT[] = u"ab\0cd";
    if (message == WM_GETTEXTLENGTH) {
        return 5;
    }
    if (message == WM_GETTEXT && wParam >= 6) {
        std::copy(TEXT, TEXT + 6, reinterpret_cast<WCHAR*>(lParam));
        return 5;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<LONG> FrameOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

class WindowWrapper : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Class.Register("WrapperWindows", GetModuleHandleW(nullptr), DefWindowProcW));
    }
    HWND Make(const c_StringView& title = "") { return m_Class.CreateWindow(title, 0); }

    c_WindowClass m_Class;
};

TEST_F(WindowWrapper, TextsTravelAsUTF8) {
    const n_OSLayer::c_WindowWrapper window(Make("Grüße ✓"));
    EXPECT_EQ(window.GetWindowText(), "Grüße ✓");
    window.SetWindowText("Dovrik Chart Installer");
    EXPECT_EQ(n_OSLayer::GetWindowText(window.GetHandle()), "Dovrik Chart Installer");
    n_OSLayer::SetWindowText(window.GetHandle(), "");
    EXPECT_EQ(window.GetWindowText(), "");
    EXPECT_EQ(window.GetClassName(), "WrapperWindows");
    EXPECT_TRUE(window.DestroyWindow());
    EXPECT_EQ(window.GetWindowText(), "");
}

TEST_F(WindowWrapper, AWindowTextIsCutAtItsFirstNul) {
    c_WindowClass nulClass;
    ASSERT_TRUE(nulClass.Register("NulTextWindows", GetModuleHandleW(nullptr), NulTextProcedure));
    const n_OSLayer::c_WindowWrapper window(nulClass.CreateWindow("", 0));
    EXPECT_EQ(window.GetWindowText(), "ab");
    window.DestroyWindow();
}

TEST_F(WindowWrapper, StatePositionAndFields) {
    const n_OSLayer::c_WindowWrapper window(Make());
    EXPECT_FALSE(window.ShowWindow(SW_SHOW));
    EXPECT_TRUE(window.IsWindowVisible());
    EXPECT_TRUE(window.EnableWindow(true) == false && window.IsWindowEnabled());
    EXPECT_TRUE(window.MoveWindow(RECT{5, 6, 105, 56}, true));
    EXPECT_EQ(FrameOf(window.GetHandle()), (std::vector<LONG>{5, 6, 105, 56}));
    EXPECT_TRUE(n_OSLayer::SetWindowTopmost(window.GetHandle(), true, false));
    EXPECT_EQ(window.GetWindowLong(GWL_EXSTYLE), static_cast<LONG>(WS_EX_TOPMOST));
    EXPECT_TRUE(window.SetTopMost(false, true));
    EXPECT_EQ(window.GetWindowLong(GWL_EXSTYLE), 0);
    EXPECT_EQ(FrameOf(window.GetHandle()), (std::vector<LONG>{5, 6, 105, 56}));
    RECT client = {};
    EXPECT_TRUE(window.GetClientRect(&client));
    EXPECT_EQ(client.right, 100);
    window.SetWindowLong(GWLP_USERDATA, 77);
    EXPECT_EQ(n_OSLayer::GetWindowLong(window.GetHandle(), GWLP_USERDATA), 77);
    window.DestroyWindow();
    EXPECT_FALSE(n_OSLayer::IsWindow(window.GetHandle()));
}

TEST_F(WindowWrapper, ParentsAndComparisons) {
    const n_OSLayer::c_WindowWrapper empty;
    EXPECT_EQ(empty.GetParent().GetHandle(), nullptr);
    EXPECT_EQ(n_OSLayer::GetParent(nullptr), nullptr);
    const n_OSLayer::c_WindowWrapper parent(Make());
    const RECT rect = {1, 2, 11, 12};
    const n_OSLayer::c_WindowWrapper child(n_OSLayer::CreateWindow(
        c_WindowClassId(m_Class.GetAtom()), 0, "", WS_CHILD, &rect, parent, nullptr, m_Class.GetInstance(), nullptr));
    EXPECT_EQ(child.GetParent(), parent);
    EXPECT_NE(child, parent);
    EXPECT_EQ(child < parent, child.GetHandle() < parent.GetHandle());
    parent.DestroyWindow();
    EXPECT_FALSE(child.IsWindow());
}

TEST_F(WindowWrapper, PointsFollowThePlacementOfTheWindow) {
    const n_OSLayer::c_WindowWrapper parent(Make());
    ASSERT_TRUE(parent.MoveWindow(RECT{100, 50, 300, 250}, false));
    const RECT rect = {10, 20, 60, 70};
    const n_OSLayer::c_WindowWrapper child(n_OSLayer::CreateWindow(
        c_WindowClassId(m_Class.GetAtom()), 0, "", WS_CHILD, &rect, parent, nullptr, m_Class.GetInstance(), nullptr));
    const struct {
        const char* m_Name;
        HWND m_Window;
        POINT m_Client;
        POINT m_Screen;
    } rows[] = {
        {"top-level", parent.GetHandle(), {5, 7}, {105, 57}},
        {"child inside its parent", child.GetHandle(), {5, 7}, {115, 77}},
        {"negative", parent.GetHandle(), {-100, -60}, {0, -10}},
    };
    for (const auto& row : rows) {
        POINT point = row.m_Client;
        EXPECT_TRUE(n_OSLayer::ClientToScreen(row.m_Window, &point)) << row.m_Name;
        EXPECT_EQ(point.x * 100000 + point.y, row.m_Screen.x * 100000 + row.m_Screen.y) << row.m_Name;
        EXPECT_TRUE(n_OSLayer::c_WindowWrapper(row.m_Window).ScreenToClient(&point)) << row.m_Name;
        EXPECT_EQ(point.x * 100000 + point.y, row.m_Client.x * 100000 + row.m_Client.y) << row.m_Name;
    }
    POINT point = {1, 2};
    parent.DestroyWindow();
    EXPECT_FALSE(n_OSLayer::ClientToScreen(parent.GetHandle(), &point));
    EXPECT_FALSE(child.ScreenToClient(&point));
    EXPECT_EQ(point.x * 100000 + point.y, 100002) << "a failed call leaves the point alone";
}

TEST_F(WindowWrapper, TheActiveWindowIsTheLastActivated) {
    const n_OSLayer::c_WindowWrapper first(Make());
    const n_OSLayer::c_WindowWrapper second(Make());
    first.SetActiveWindow();
    EXPECT_EQ(n_OSLayer::GetActiveWindow(), first.GetHandle());
    EXPECT_EQ(second.SetActiveWindow(), first) << "the window active before";
    EXPECT_EQ(n_OSLayer::GetActiveWindow(), second.GetHandle());
    EXPECT_TRUE(n_OSLayer::SetActiveWindow(first.GetHandle()));
    EXPECT_TRUE(first.BringWindowToTop());
    first.DestroyWindow();
    EXPECT_EQ(n_OSLayer::GetActiveWindow(), nullptr) << "a destroyed window is no longer active";
    EXPECT_FALSE(n_OSLayer::SetActiveWindow(second.GetHandle())) << "no window was active before";
    EXPECT_FALSE(n_OSLayer::BringWindowToTop(first.GetHandle()));
    EXPECT_FALSE(n_OSLayer::SetActiveWindow(first.GetHandle()));
    EXPECT_EQ(n_OSLayer::GetActiveWindow(), second.GetHandle()) << "a failed activation changes nothing";
    second.DestroyWindow();
}

TEST(WindowWrapperOfADialog, ItemsFocusAndCaptureOfItsControls) {
    c_SampleControlsDialog sample;
    const n_OSLayer::c_WindowWrapper dialog(sample.GetDialog());
    const n_OSLayer::c_WindowWrapper edit(sample.GetItem(c_SampleControlsDialog::EDIT));
    const n_OSLayer::c_WindowWrapper combo(sample.GetItem(c_SampleControlsDialog::COMBO));
    dialog.SetDlgItemText(c_SampleControlsDialog::NAME_EDIT, "Jo \xE2\x82\xAC");
    dialog.SetDlgItemText(c_SampleControlsDialog::EDIT, "other");
    EXPECT_STREQ(dialog.GetNameEditText().GetChars(), "Jo \xE2\x82\xAC");
    EXPECT_TRUE(dialog.CheckDlgButton(c_SampleControlsDialog::CHECK_BOX, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog.GetHandle(), c_SampleControlsDialog::CHECK_BOX), BST_CHECKED);
    edit.SetFocus();
    EXPECT_EQ(combo.SetFocus(), edit);
    EXPECT_EQ(GetFocus(), combo.GetHandle());
    n_OSLayer::c_WindowWrapper::ReleaseCapture();
    EXPECT_EQ(edit.SetCapture(), n_OSLayer::c_WindowWrapper());
    EXPECT_EQ(combo.SetCapture(), edit);
    EXPECT_TRUE(n_OSLayer::c_WindowWrapper::ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(WindowWrapperOfADialog, ScrollBarsFontAndFlashingOfItsControls) {
    c_SampleControlsDialog sample;
    const n_OSLayer::c_WindowWrapper dialog(sample.GetDialog());
    const n_OSLayer::c_WindowWrapper list(sample.GetItem(c_SampleControlsDialog::LIST));
    SCROLLINFO range = {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 49, 10, 0, 0};
    EXPECT_EQ(list.SetScrollInfo(SB_VERT, &range, true), 0);
    EXPECT_EQ(list.SetScrollPos(SB_VERT, 45, false), 0);
    EXPECT_EQ(list.SetScrollPos(SB_HORZ, 3, false), 0) << "the other bar has no range yet";
    EXPECT_EQ(list.GetScrollPos(SB_VERT), 40) << "kept within the range less the page";
    EXPECT_EQ(list.SetScrollPos(SB_VERT, 5, true), 40);
    SCROLLINFO read = {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_TRUE(list.GetScrollInfo(SB_VERT, &read));
    EXPECT_EQ(std::vector<int>({read.nMax, static_cast<int>(read.nPage), read.nPos}), std::vector<int>({49, 10, 5}));
    EXPECT_TRUE(list.ShowScrollBar(SB_VERT, true));
    EXPECT_NE(list.GetWindowLong(GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_TRUE(list.ShowScrollBar(SB_VERT, false));
    EXPECT_EQ(list.GetWindowLong(GWL_STYLE) & WS_VSCROLL, 0);
    const HFONT font = reinterpret_cast<HFONT>(0x1234);
    list.SetFont(font, true);
    EXPECT_EQ(list.GetFont(), font);
    EXPECT_EQ(n_OSLayer::GetWindowFont(list.GetHandle()), font);
    EXPECT_EQ(n_OSLayer::GetWindowFont(nullptr), nullptr);
    dialog.SetActiveWindow();
    EXPECT_TRUE(dialog.FlashWindow(FLASHW_ALL, 3, 0)) << "the active window";
    EXPECT_FALSE(list.FlashWindow(FLASHW_ALL, 3, 0));
}

TEST_F(WindowWrapper, AClipboardListenerIsToldOfChangesUntilRemoved) {
    const n_OSLayer::c_WindowWrapper window(Make());
    const auto changeClipboard = [] {
        OpenClipboard(nullptr);
        EmptyClipboard();
        CloseClipboard();
    };
    MSG message = {};
    EXPECT_TRUE(window.AddClipboardFormatListener());
    changeClipboard();
    EXPECT_TRUE(PeekMessageW(&message, window.GetHandle(), WM_CLIPBOARDUPDATE, WM_CLIPBOARDUPDATE, PM_REMOVE));
    EXPECT_TRUE(window.RemoveClipboardFormatListener());
    changeClipboard();
    EXPECT_FALSE(PeekMessageW(&message, window.GetHandle(), WM_CLIPBOARDUPDATE, WM_CLIPBOARDUPDATE, PM_REMOVE));
    EXPECT_FALSE(window.RemoveClipboardFormatListener()) << "no longer listening";
    window.DestroyWindow();
    EXPECT_FALSE(window.AddClipboardFormatListener());
}

TEST_F(WindowWrapper, FrameworkClassesAreNamedAfterTheirValuesAndRegisteredOnce) {
    const c_String name = n_OSLayer::RegisterFrameworkWindowClass(CS_DBLCLKS, nullptr, nullptr, nullptr);
    ASSERT_TRUE(name.StartsWith("Afx:"));
    EXPECT_EQ(n_OSLayer::RegisterFrameworkWindowClass(CS_DBLCLKS, nullptr, nullptr, nullptr), name);
    const c_String other = n_OSLayer::RegisterFrameworkWindowClass(0, nullptr, nullptr, nullptr);
    EXPECT_NE(other, name);
    WNDCLASSW description = {};
    ASSERT_TRUE(n_OSLayer::GetWindowClassInfo(GetModuleHandleW(nullptr), name, &description));
    EXPECT_EQ(description.style, static_cast<UINT>(CS_DBLCLKS));
    const HWND window =
        n_OSLayer::CreateWindow(0, name, "", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(n_OSLayer::GetWindowClassName(window), name);
    DestroyWindow(window);
}

TEST_F(WindowWrapper, TheCreationForms) {
    const RECT rect = {10, 20, 110, 70};
    const HINSTANCE instance = m_Class.GetInstance();
    const c_WindowClassId byAtom(m_Class.GetAtom());
    struct s_Case {
        const char* m_p_Name;
        HWND m_Window;
        std::vector<LONG> m_Frame;
    };
    const s_Case cases[] = {
        {"by identifier",
         n_OSLayer::CreateWindow(byAtom, 0, "", 0, 10, 20, 100, 50, {}, nullptr, instance, nullptr),
         {10, 20, 110, 70}},
        {"by rectangle",
         n_OSLayer::CreateWindow(byAtom, 0, "", 0, &rect, {}, nullptr, instance, nullptr),
         {10, 20, 110, 70}},
        {"by a null rectangle",
         n_OSLayer::CreateWindow(byAtom, 0, "", 0, nullptr, {}, nullptr, instance, nullptr),
         {100, 100, 740, 580}},
        {"by name",
         n_OSLayer::CreateWindow(0, "WrapperWindows", "", 0, 10, 20, 100, 50, nullptr, nullptr, instance, nullptr),
         {10, 20, 110, 70}},
        {"by atom", n_OSLayer::CreateWindow(m_Class.GetAtom(), "", 0, instance), {100, 100, 740, 580}},
    };
    for (const s_Case& row : cases) {
        ASSERT_NE(row.m_Window, nullptr) << row.m_p_Name;
        EXPECT_EQ(FrameOf(row.m_Window), row.m_Frame) << row.m_p_Name;
        DestroyWindow(row.m_Window);
    }
}

TEST_F(WindowWrapper, AnOwnedWindowCreatedTwiceKeepsTheSecond) {
    HWND first = nullptr;
    HWND second = nullptr;
    {
        n_OSLayer::c_Window owned;
        const RECT rect = {0, 0, 10, 10};
        ASSERT_TRUE(owned.Create(0, u"WrapperWindows", "one", 0, rect, {}, nullptr, m_Class.GetInstance(), nullptr));
        first = owned.GetHandle();
        ASSERT_TRUE(owned.Create(0, u"WrapperWindows", "two", 0, rect, {}, nullptr, m_Class.GetInstance(), nullptr));
        second = owned.GetHandle();
        EXPECT_FALSE(IsWindow(first));
        EXPECT_EQ(owned.GetWindowText(), "two");
        EXPECT_FALSE(owned.Create(0, u"NoSuchClass", "", 0, rect, {}, nullptr, nullptr, nullptr));
        EXPECT_FALSE(IsWindow(second));
        ASSERT_TRUE(owned.Create(0, u"WrapperWindows", "three", 0, rect, {}, nullptr, m_Class.GetInstance(), nullptr));
        second = owned.GetHandle();
    }
    EXPECT_FALSE(IsWindow(second));
}

TEST_F(WindowWrapper, GetMessageEndsOnQuitAndOnErrors) {
    const HWND window = Make();
    MSG message;
    PostMessageW(window, WM_USER, 0, 0);
    EXPECT_TRUE(n_OSLayer::GetMessage(&message, nullptr, 0, 0));
    EXPECT_EQ(n_OSLayer::DispatchMessage(&message), 0);
    DestroyWindow(window);
    EXPECT_FALSE(n_OSLayer::GetMessage(&message, window, 0, 0));
    PostQuitMessage(0);
    EXPECT_FALSE(n_OSLayer::GetMessage(&message, nullptr, 0, 0));
}

TEST(c_Point, ArithmeticAndComparison) {
    n_OSLayer::c_Point point(3, 4);
    point.Offset(1, -1);
    EXPECT_EQ(point, n_OSLayer::c_Point(4, 3));
    EXPECT_EQ(point + n_OSLayer::c_Point(1, 1), n_OSLayer::c_Point(std::pair<int, int>(5, 4)));
    EXPECT_NE(point - point, n_OSLayer::c_Point(0, 1));
    point.Set(-1, -2);
    EXPECT_EQ(point.GetX() + point.GetY(), -3);
    EXPECT_EQ(n_OSLayer::c_Point(), n_OSLayer::c_Point(0, 0));
}

} // namespace
