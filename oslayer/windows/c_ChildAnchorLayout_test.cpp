// Tests of c_ChildAnchorLayout.

#include "oslayer/windows/c_ChildAnchorLayout.h"

#include "platform/testing/TestWindows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct s_Child {
    const char* m_Name;
    int m_HorizontalMode;
    int m_VerticalMode;
    RECT m_After;
    HWND m_Window = nullptr;
};

// The child's rectangle in its parent's client area.
RECT ReadChildRect(HWND parent, HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ScreenToClient(parent, &corners[0]);
    ScreenToClient(parent, &corners[1]);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

class ChildAnchorLayout : public ::testing::Test {
protected:
    void SetUp() override {
        m_Parent = n_TestWindows::MakeWindow(&m_Handler);
        MoveWindow(m_Parent, 50, 60, 400, 300, FALSE);
        for (s_Child& child : m_Children) {
            child.m_Window = n_TestWindows::MakeWindow(&m_Handler, WS_CHILD, m_Parent);
            MoveWindow(child.m_Window, 10, 20, 100, 50, FALSE);
        }
    }
    void TearDown() override { DestroyWindow(m_Parent); }

    void ExpectChildrenAt(bool after) {
        for (const s_Child& child : m_Children) {
            const RECT expected = after ? child.m_After : RECT{10, 20, 110, 70};
            const RECT rect = ReadChildRect(m_Parent, child.m_Window);
            EXPECT_EQ(rect.left, expected.left) << child.m_Name;
            EXPECT_EQ(rect.top, expected.top) << child.m_Name;
            EXPECT_EQ(rect.right, expected.right) << child.m_Name;
            EXPECT_EQ(rect.bottom, expected.bottom) << child.m_Name;
        }
    }

    n_TestWindows::t_Handler m_Handler = n_TestWindows::Default;
    HWND m_Parent = nullptr;
    // The parent grows by 40 across and 30 down.
    std::vector<s_Child> m_Children = {
        {"stretched both ways", 1, 1, {10, 20, 150, 100}},
        {"moved both ways", 2, 2, {50, 50, 150, 100}},
        {"moved across, stretched down", 2, 1, {50, 20, 150, 100}},
        {"other modes stay", 0, 7, {10, 20, 110, 70}},
    };
};

TEST_F(ChildAnchorLayout, ChildrenFollowTheParentsSize) {
    c_ChildAnchorLayout layout(m_Parent);
    for (const s_Child& child : m_Children) {
        layout.SetAnchor(child.m_Window, child.m_HorizontalMode, child.m_VerticalMode);
    }
    layout.SetAnchor(nullptr, 1);
    layout.CaptureLayout();
    layout.OnParentSized(SIZE_RESTORED, 440, 330);
    ExpectChildrenAt(true);
    layout.OnParentSized(SIZE_MAXIMIZED, 440, 330);
    ExpectChildrenAt(true);
    layout.OnParentSized(SIZE_MINIMIZED, 0, 0);
    ExpectChildrenAt(true);
    layout.OnParentSized(SIZE_RESTORED, 400, 300);
    ExpectChildrenAt(false);
}

TEST_F(ChildAnchorLayout, DestroyedChildrenAreSkipped) {
    c_ChildAnchorLayout layout(m_Parent);
    layout.SetAnchor(m_Children[0].m_Window, 2);
    layout.SetAnchor(m_Children[1].m_Window, 2);
    layout.CaptureLayout();
    DestroyWindow(m_Children[0].m_Window);
    layout.OnParentSized(SIZE_RESTORED, 440, 330);
    const RECT moved = ReadChildRect(m_Parent, m_Children[1].m_Window);
    EXPECT_EQ(moved.left, 50);
    EXPECT_EQ(moved.top, 50);
}

} // namespace
