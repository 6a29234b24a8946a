// Tests of the framework's window classes and window creation with UTF-8 names.

#include "oslayer/windows/FrameworkWindows.h"

#include "oslayer/windows/c_WindowWrapper.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// "Fenster €": a class name beyond ASCII.
constexpr char CLASS_NAME[] = "Fenster \xE2\x82\xAC";

class FrameworkWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterMFCWindowClass(CLASS_NAME, CS_DBLCLKS, nullptr, nullptr));
        ASSERT_TRUE(m_Parent.CreateEx(0, u"Fenster \u20AC", u"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));
    }
    void TearDown() override { m_Parent.DestroyWindow(); }

    CWnd m_Parent;
};

TEST_F(FrameworkWindows, TheClassIsTheFrameworksOnce) {
    WNDCLASSW known = {};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), u"Fenster \u20AC", &known));
    EXPECT_EQ(known.lpfnWndProc, AfxWndProc);
    EXPECT_EQ(known.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_TRUE(RegisterMFCWindowClass(CLASS_NAME, 0, nullptr, nullptr)) << "already registered";
    EXPECT_FALSE(RegisterMFCWindowClass("", 0, nullptr, nullptr));
}

TEST_F(FrameworkWindows, EachFormMakesTheWindowItNames) {
    CWnd* const parent = &m_Parent;
    const RECT rect = {10, 20, 110, 70};
    const struct {
        const char* m_p_Name;
        std::function<bool(CWnd*)> m_Create;
        bool m_Child;
    } cases[] = {
        {"CreateWindowUTF8",
         [&](CWnd* window) { return CreateWindowUTF8(window, CLASS_NAME, "Grüße", 0, rect, parent, 5, nullptr); },
         true},
        {"CreateWindowExUTF8Rect",
         [&](CWnd* window) {
             return CreateWindowExUTF8Rect(window, WS_EX_TOPMOST, CLASS_NAME, "Grüße", WS_POPUP, rect, nullptr, 0,
                                           nullptr);
         },
         false},
        {"CreateWindowExUTF8",
         [&](CWnd* window) {
             return CreateWindowExUTF8(window, 0, CLASS_NAME, "Grüße", WS_CHILD, 10, 20, 100, 50, parent->GetSafeHwnd(),
                                       reinterpret_cast<HMENU>(5), nullptr);
         },
         true},
    };
    for (const auto& row : cases) {
        CWnd window;
        ASSERT_TRUE(row.m_Create(&window)) << row.m_p_Name;
        const n_OSLayer::c_WindowWrapper made(window.GetSafeHwnd());
        EXPECT_STREQ(made.GetWindowText().GetChars(), "Grüße") << row.m_p_Name;
        EXPECT_STREQ(made.GetClassName().GetChars(), CLASS_NAME) << row.m_p_Name;
        EXPECT_EQ(made.GetParent().GetHandle(), row.m_Child ? parent->GetSafeHwnd() : nullptr) << row.m_p_Name;
        RECT frame = {};
        made.GetClientRect(&frame);
        EXPECT_EQ(frame.right * 1000 + frame.bottom, 100050) << row.m_p_Name;
        if (row.m_Child) {
            EXPECT_EQ(GetDlgCtrlID(window.GetSafeHwnd()), 5) << row.m_p_Name;
        }
        EXPECT_FALSE(row.m_Create(nullptr)) << row.m_p_Name << ": no object";
        window.DestroyWindow();
    }
    CWnd window;
    EXPECT_FALSE(CreateWindowUTF8(&window, "Kein Fenster", "", 0, rect, parent, 1, nullptr));
}

TEST_F(FrameworkWindows, FramesWithTheirMenus) {
    static const n_Platform::s_MenuItemTemplate items[] = {{40001, u"&Hilfe", nullptr, 0}};
    static const n_Platform::s_MenuTemplate menu = {936, items, 1};
    n_Platform::RegisterMenuTemplate(menu);
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(
        CreateFrameUTF8(frame, CLASS_NAME, "Rahmen \xE2\x82\xAC", WS_OVERLAPPED, RECT{0, 0, 200, 100}, nullptr, 936));
    EXPECT_NE(GetMenu(frame->GetSafeHwnd()), nullptr);
    EXPECT_STREQ(n_OSLayer::c_WindowWrapper(frame->GetSafeHwnd()).GetWindowText().GetChars(), "Rahmen \xE2\x82\xAC");
    frame->DestroyWindow();
    CFrameWnd missingMenu;
    EXPECT_FALSE(CreateFrameUTF8(&missingMenu, CLASS_NAME, "", WS_OVERLAPPED, RECT{}, nullptr, 937));
    auto* plain = new CFrameWnd;
    ASSERT_TRUE(CreateFrameUTF8(plain, CLASS_NAME, "", WS_OVERLAPPED, RECT{}, nullptr, 0)) << "no menu for id 0";
    EXPECT_EQ(GetMenu(plain->GetSafeHwnd()), nullptr);
    plain->DestroyWindow();
    auto* mini = new CMiniFrameWnd;
    ASSERT_TRUE(CreateMiniFrameUTF8(mini, CLASS_NAME, "Mini", WS_CHILD, RECT{1, 1, 31, 21}, &m_Parent, 9));
    EXPECT_EQ(GetDlgCtrlID(mini->GetSafeHwnd()), 9);
    mini->DestroyWindow();
}

} // namespace
