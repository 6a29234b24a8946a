// Tests of the standard scroll bars' range, page and position.

#include "platform/testing/TestWindows.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(ScrollBars, ThePositionStaysWithinTheRangeLessThePage) {
    struct s_Case {
        const char* m_p_Name;
        SCROLLINFO m_Set;
        int m_Position;
        int m_Min;
        int m_Max;
        UINT m_Page;
    } const cases[] = {
        {"defaults, position inside", {sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 40, 0}, 40, 0, 100, 0},
        {"past the end without a page", {sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 500, 0}, 100, 0, 100, 0},
        {"below the minimum", {sizeof(SCROLLINFO), SIF_RANGE | SIF_POS, 10, 20, 0, 3, 0}, 10, 10, 20, 0},
        {"the page takes its room", {sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 95, 0}, 90, 0, 99, 10},
        {"a page larger than the range", {sizeof(SCROLLINFO), SIF_ALL, 0, 9, 50, 5, 0}, 0, 0, 9, 10},
        {"a new range moves the position in", {sizeof(SCROLLINFO), SIF_RANGE, 0, 30, 0, 0, 0}, 30, 0, 30, 0},
    };
    n_TestWindows::t_Handler handler = DefWindowProcW;
    for (const s_Case& row : cases) {
        const HWND window = n_TestWindows::MakeWindow(&handler);
        if (row.m_Set.fMask == SIF_RANGE) {
            SetScrollPos(window, SB_VERT, 80, TRUE);
        }
        EXPECT_EQ(SetScrollInfo(window, SB_VERT, &row.m_Set, TRUE), row.m_Position) << row.m_p_Name;
        SCROLLINFO read = {sizeof(SCROLLINFO), SIF_ALL, -1, -1, 99, -1, -1};
        EXPECT_TRUE(GetScrollInfo(window, SB_VERT, &read)) << row.m_p_Name;
        EXPECT_EQ(read.nPos, row.m_Position) << row.m_p_Name;
        EXPECT_EQ(read.nTrackPos, row.m_Position) << row.m_p_Name;
        EXPECT_EQ(read.nMin, row.m_Min) << row.m_p_Name;
        EXPECT_EQ(read.nMax, row.m_Max) << row.m_p_Name;
        EXPECT_EQ(read.nPage, row.m_Page) << row.m_p_Name;
        EXPECT_EQ(GetScrollPos(window, SB_HORZ), 0) << row.m_p_Name;
        DestroyWindow(window);
    }
}

TEST(ScrollBars, PositionsShowingAndFailures) {
    n_TestWindows::t_Handler handler = DefWindowProcW;
    const HWND window = n_TestWindows::MakeWindow(&handler);
    EXPECT_EQ(SetScrollPos(window, SB_HORZ, 7, TRUE), 0);
    EXPECT_EQ(SetScrollPos(window, SB_HORZ, 9, TRUE), 7);
    EXPECT_EQ(GetScrollPos(window, SB_HORZ), 9);
    EXPECT_TRUE(ShowScrollBar(window, SB_BOTH, TRUE));
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL),
              static_cast<LONG>(WS_HSCROLL | WS_VSCROLL));
    EXPECT_TRUE(ShowScrollBar(window, SB_VERT, FALSE));
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), static_cast<LONG>(WS_HSCROLL));
    SCROLLINFO info = {sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 1, 0};
    EXPECT_EQ(SetScrollInfo(window, SB_CTL, &info, TRUE), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    info.cbSize = 1;
    EXPECT_FALSE(GetScrollInfo(window, SB_HORZ, &info));
    DestroyWindow(window);
    EXPECT_EQ(GetScrollPos(window, SB_HORZ), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(ShowScrollBar(window, SB_HORZ, TRUE));
}

} // namespace
