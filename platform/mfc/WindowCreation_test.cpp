// Tests of the framework's window creation: objects bound from their window's first message or by
// subclassing, frames with their menus, and class registration that accepts a registered class.

#include <afxwin.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records the messages that reach the object; a destroyed frame says so through the flag.
class c_RecordingWindow : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        m_Messages.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> m_Messages;
};

class c_CountedFrame : public CFrameWnd {
public:
    explicit c_CountedFrame(bool* deleted) : m_p_Deleted(deleted) {}
    ~c_CountedFrame() override { *m_p_Deleted = true; }

private:
    bool* m_p_Deleted;
};

const WCHAR* FrameworkClass() {
    static const WCHAR* name = [] {
        WNDCLASSW description = {};
        description.lpfnWndProc = AfxWndProc;
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = u"WindowCreationFramework";
        AfxRegisterClass(&description);
        return description.lpszClassName;
    }();
    return name;
}

bool Contains(const std::vector<UINT>& messages, UINT message) {
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

TEST(WindowCreation, ObjectsAreBoundToTheirWindows) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, FrameworkClass(), u"Parent", WS_POPUP, 10, 20, 300, 200, nullptr, nullptr));
    const struct {
        const char* m_p_Name;
        LPCWSTR m_Class;
        bool m_FromCreation; // the object saw WM_NCCREATE
    } cases[] = {
        {"a class of AfxWndProc", FrameworkClass(), true},
        {"another procedure, subclassed once made", u"Edit", false},
        {"the framework's default class", nullptr, false},
    };
    for (const auto& row : cases) {
        c_RecordingWindow child;
        ASSERT_TRUE(child.Create(row.m_Class, u"Child", 0, RECT{1, 2, 41, 22}, &parent, 77)) << row.m_p_Name;
        EXPECT_EQ(CWnd::FromHandlePermanent(child.GetSafeHwnd()), &child) << row.m_p_Name;
        EXPECT_EQ(Contains(child.m_Messages, WM_NCCREATE), row.m_FromCreation) << row.m_p_Name;
        EXPECT_NE(GetWindowLongW(child.GetSafeHwnd(), GWL_STYLE) & WS_CHILD, 0) << row.m_p_Name;
        EXPECT_EQ(GetDlgCtrlID(child.GetSafeHwnd()), 77) << row.m_p_Name;
        EXPECT_EQ(::GetParent(child.GetSafeHwnd()), parent.GetSafeHwnd()) << row.m_p_Name;
        child.SetWindowText(u"Text");
        EXPECT_TRUE(Contains(child.m_Messages, WM_SETTEXT)) << row.m_p_Name;
        EXPECT_EQ(child.GetWindowTextLength(), 4) << row.m_p_Name << ": the window's own procedure still answers";
        RECT client = {};
        child.GetClientRect(&client);
        EXPECT_EQ(client.right * 1000 + client.bottom, 40020) << row.m_p_Name;
        child.DestroyWindow();
    }
    parent.DestroyWindow();
}

TEST(WindowCreation, RefusedCreations) {
    CWnd window;
    EXPECT_FALSE(window.CreateEx(0, u"NoSuchClass", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    ASSERT_TRUE(window.CreateEx(0, FrameworkClass(), u"", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
    const HWND first = window.GetSafeHwnd();
    EXPECT_FALSE(window.CreateEx(0, FrameworkClass(), u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
        << "the object has a window";
    EXPECT_EQ(window.GetSafeHwnd(), first);
    c_RecordingWindow other;
    ASSERT_TRUE(other.CreateEx(0, FrameworkClass(), u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(CWnd::FromHandlePermanent(first), &window) << "a later creation binds its own object";
    other.DestroyWindow();
    window.DestroyWindow();
}

TEST(WindowCreation, FramesLoadTheirMenuAndDeleteThemselves) {
    static const n_Platform::s_MenuItemTemplate items[] = {{40001, u"&Help", nullptr, 0}};
    static const n_Platform::s_MenuTemplate menu = {934, items, 1};
    n_Platform::RegisterMenuTemplate(menu);
    bool deleted = false;
    auto* frame = new c_CountedFrame(&deleted);
    ASSERT_TRUE(
        frame->Create(FrameworkClass(), u"Frame", WS_OVERLAPPED, RECT{5, 5, 205, 105}, nullptr, MAKEINTRESOURCEW(934)));
    EXPECT_NE(::GetMenu(frame->GetSafeHwnd()), nullptr);
    EXPECT_FALSE(frame->Create(FrameworkClass(), u"Again", WS_OVERLAPPED, RECT{}, nullptr));
    ::DestroyWindow(frame->GetSafeHwnd());
    EXPECT_TRUE(deleted) << "a frame deletes itself with its window";

    CFrameWnd noMenu;
    EXPECT_FALSE(noMenu.Create(FrameworkClass(), u"Frame", WS_OVERLAPPED, RECT{}, nullptr, MAKEINTRESOURCEW(935)));
    EXPECT_EQ(noMenu.GetSafeHwnd(), nullptr) << "a menu that is not there fails the frame";

    auto* mini = new CMiniFrameWnd;
    ASSERT_TRUE(mini->Create(FrameworkClass(), u"Mini", WS_POPUP, RECT{0, 0, 50, 30}));
    EXPECT_EQ(CWnd::FromHandlePermanent(mini->GetSafeHwnd()), mini);
    mini->DestroyWindow();
}

TEST(WindowCreation, AfxRegisterClassAcceptsARegisteredClass) {
    WNDCLASSW description = {};
    description.style = CS_DBLCLKS;
    description.lpfnWndProc = AfxWndProc;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = u"WindowCreationTwice";
    EXPECT_TRUE(AfxRegisterClass(&description));
    description.style = 0;
    EXPECT_TRUE(AfxRegisterClass(&description)) << "already there";
    WNDCLASSW known = {};
    ASSERT_TRUE(GetClassInfoW(description.hInstance, u"WindowCreationTwice", &known));
    EXPECT_EQ(known.style, static_cast<UINT>(CS_DBLCLKS)) << "the first registration stays";
    EXPECT_FALSE(AfxRegisterClass(nullptr));
    description.lpszClassName = u"";
    EXPECT_FALSE(AfxRegisterClass(&description));
}

} // namespace
