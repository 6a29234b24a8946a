// Tests of TrackMouseEvent's leave tracking against the layer's cursor and windows.

#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestWindows.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using n_TestWindows::MakeWindow;
using n_TestWindows::t_Handler;

TRACKMOUSEEVENT Request(DWORD flags, HWND window) {
    return TRACKMOUSEEVENT{sizeof(TRACKMOUSEEVENT), flags, window, HOVER_DEFAULT};
}

// A visible window at (100, 100) to (740, 580) on the screen, with a child at (110, 110) to
// (210, 160) and a group box at (400, 400) to (600, 500) framing nothing; every WM_MOUSELEAVE counted.
class MouseTracking : public testing::Test {
protected:
    MouseTracking() {
        m_Window = MakeWindow(&m_Handler, WS_VISIBLE);
        m_Child = CreateWindowExW(0, n_TestWindows::CLASS_NAME, u"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, m_Window,
                                  nullptr, n_TestWindows::RegisterHandlerClass(), &m_Handler);
        CreateWindowExW(0, u"Button", u"Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 300, 300, 200, 100, m_Window,
                        nullptr, nullptr, nullptr);
    }
    ~MouseTracking() override {
        DestroyWindow(m_Window);
        n_Platform::PumpPending();
    }

    // The leaves each window got so far.
    std::map<HWND, int> Leaves() {
        n_Platform::PumpPending();
        return m_Leaves;
    }
    BOOL Track(DWORD flags, HWND window) {
        TRACKMOUSEEVENT request = Request(flags, window);
        return TrackMouseEvent(&request);
    }
    HWND Tracked() {
        TRACKMOUSEEVENT query = Request(TME_QUERY, nullptr);
        EXPECT_TRUE(TrackMouseEvent(&query));
        EXPECT_EQ(query.dwFlags, query.hwndTrack != nullptr ? TME_LEAVE : 0u);
        return query.hwndTrack;
    }

    std::map<HWND, int> m_Leaves;
    t_Handler m_Handler = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_MOUSELEAVE) {
            ++m_Leaves[window];
        }
        return DefWindowProcW(window, message, wParam, lParam);
    };
    HWND m_Window = nullptr;
    HWND m_Child = nullptr;
};

TEST_F(MouseTracking, AWindowTheCursorIsNotOverIsLeftAtOnce) {
    const struct {
        const char* m_Name;
        POINT m_Cursor;
        bool m_TrackChild;
        bool m_LeftAtOnce;
    } cases[] = {
        {"over the window", {400, 200}, false, false},
        {"over the window through a group box", {450, 450}, false, false},
        {"outside every window", {50, 50}, false, true},
        {"on the window's right edge", {740, 200}, false, true},
        {"over the window's child", {150, 130}, false, true},
        {"over the child itself", {150, 130}, true, false},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.m_Name);
        m_Leaves.clear();
        SetCursorPos(row.m_Cursor.x, row.m_Cursor.y);
        const HWND window = row.m_TrackChild ? m_Child : m_Window;
        ASSERT_TRUE(Track(TME_LEAVE, window));
        EXPECT_EQ(Leaves()[window], row.m_LeftAtOnce ? 1 : 0);
        EXPECT_EQ(Tracked(), row.m_LeftAtOnce ? nullptr : window);
        Track(TME_LEAVE | TME_CANCEL, window);
    }
}

TEST_F(MouseTracking, TheCursorLeavingEndsTheTrackingWithOneMessage) {
    const struct {
        const char* m_Name;
        void (*m_p_Move)();
    } cases[] = {
        {"moved away", [] { SetCursorPos(900, 900); }},
        {"moved onto a child", [] { SetCursorPos(150, 130); }},
        {"mouse input",
         [] {
             INPUT input = {};
             input.type = INPUT_MOUSE;
             input.mi.dx = -350;
             input.mi.dwFlags = MOUSEEVENTF_MOVE;
             SendInput(1, &input, sizeof(INPUT));
         }},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.m_Name);
        m_Leaves.clear();
        SetCursorPos(400, 200);
        ASSERT_TRUE(Track(TME_LEAVE, m_Window));
        SetCursorPos(420, 220);
        EXPECT_EQ(Leaves()[m_Window], 0);
        row.m_p_Move();
        EXPECT_EQ(Leaves()[m_Window], 1);
        EXPECT_EQ(Tracked(), nullptr);
        SetCursorPos(10, 10);
        EXPECT_EQ(Leaves()[m_Window], 1);
    }
}

TEST_F(MouseTracking, ACancelledOrDestroyedWindowIsNoLongerTracked) {
    SetCursorPos(400, 200);
    ASSERT_TRUE(Track(TME_LEAVE, m_Window));
    EXPECT_EQ(Tracked(), m_Window);
    ASSERT_TRUE(Track(TME_LEAVE | TME_CANCEL, m_Window));
    EXPECT_EQ(Tracked(), nullptr);
    SetCursorPos(10, 10);
    EXPECT_EQ(Leaves()[m_Window], 0);

    SetCursorPos(150, 130);
    ASSERT_TRUE(Track(TME_LEAVE, m_Child));
    DestroyWindow(m_Child);
    EXPECT_EQ(Tracked(), nullptr);
}

TEST_F(MouseTracking, RefusesWhatItCannotTrack) {
    const HWND gone = MakeWindow(&m_Handler, WS_VISIBLE);
    DestroyWindow(gone);
    n_TestWindows::c_LoopThread other(n_TestWindows::Default);
    const struct {
        const char* m_Name;
        TRACKMOUSEEVENT m_Request;
        DWORD m_Error;
    } cases[] = {
        {"a wrong size", {sizeof(TRACKMOUSEEVENT) - 4, TME_LEAVE, m_Window, 0}, ERROR_INVALID_PARAMETER},
        {"hover", Request(TME_HOVER | TME_LEAVE, m_Window), ERROR_NOT_SUPPORTED},
        {"the non-client area", Request(TME_NONCLIENT | TME_LEAVE, m_Window), ERROR_NOT_SUPPORTED},
        {"an unknown flag", Request(0x100 | TME_LEAVE, m_Window), ERROR_INVALID_FLAGS},
        {"a destroyed window", Request(TME_LEAVE, gone), ERROR_INVALID_WINDOW_HANDLE},
        {"another thread's window", Request(TME_LEAVE, other.GetWindow()), ERROR_ACCESS_DENIED},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.m_Name);
        TRACKMOUSEEVENT request = row.m_Request;
        SetLastError(0);
        EXPECT_FALSE(TrackMouseEvent(&request));
        EXPECT_EQ(GetLastError(), row.m_Error);
    }
    EXPECT_FALSE(TrackMouseEvent(nullptr));
}

} // namespace
