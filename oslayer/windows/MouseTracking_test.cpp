// Tests of TrackMouseLeave against the layer's cursor.

#include "oslayer/windows/MouseTracking.h"

#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestWindows.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Two visible windows side by side, (100, 100) to (300, 300) and (400, 100) to (600, 300), whose
// WM_MOUSELEAVE messages are counted.
class TrackMouseLeaveCalls : public testing::Test {
protected:
    TrackMouseLeaveCalls() {
        m_Left = n_TestWindows::MakeWindow(&m_Handler, WS_VISIBLE);
        m_Right = n_TestWindows::MakeWindow(&m_Handler, WS_VISIBLE);
        MoveWindow(m_Left, 100, 100, 200, 200, FALSE);
        MoveWindow(m_Right, 400, 100, 200, 200, FALSE);
    }
    ~TrackMouseLeaveCalls() override {
        DestroyWindow(m_Left);
        DestroyWindow(m_Right);
        n_Platform::PumpPending();
    }
    int LeavesOf(HWND window) {
        n_Platform::PumpPending();
        return m_Leaves[window];
    }

    std::map<HWND, int> m_Leaves;
    n_TestWindows::t_Handler m_Handler = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_MOUSELEAVE) {
            ++m_Leaves[window];
        }
        return DefWindowProcW(window, message, wParam, lParam);
    };
    HWND m_Left = nullptr;
    HWND m_Right = nullptr;
};

TEST_F(TrackMouseLeaveCalls, AsksForTheLeaveOfAWindowTheMouseIsOver) {
    SetCursorPos(200, 200);
    EXPECT_TRUE(TrackMouseLeave(m_Left));
    EXPECT_EQ(LeavesOf(m_Left), 0);
    SetCursorPos(500, 200);
    EXPECT_EQ(LeavesOf(m_Left), 1);
}

TEST_F(TrackMouseLeaveCalls, AWindowTheMouseIsNotOverIsToldAtOnce) {
    SetCursorPos(500, 200);
    EXPECT_TRUE(TrackMouseLeave(m_Left));
    EXPECT_EQ(LeavesOf(m_Left), 1);
}

// A leave already tracked is kept: the second window is not asked for, so it is not told at once.
TEST_F(TrackMouseLeaveCalls, KeepsALeaveAlreadyTracked) {
    SetCursorPos(200, 200);
    ASSERT_TRUE(TrackMouseLeave(m_Left));
    EXPECT_TRUE(TrackMouseLeave(m_Right));
    EXPECT_EQ(LeavesOf(m_Right), 0);
    SetCursorPos(500, 200);
    EXPECT_EQ(LeavesOf(m_Left), 1);
}

TEST_F(TrackMouseLeaveCalls, FailsForAWindowThatIsGone) {
    const HWND gone = m_Right;
    DestroyWindow(gone);
    EXPECT_FALSE(TrackMouseLeave(gone));
}

} // namespace
