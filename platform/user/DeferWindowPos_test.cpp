// Tests of deferred window positions and of FlashWindowEx.

#include "platform/testing/TestWindows.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<LONG> RectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

TEST(DeferWindowPos, PositionsWaitForTheEndAndTheHandleIsThenGone) {
    n_TestWindows::t_Handler handler = DefWindowProcW;
    const HWND first = n_TestWindows::MakeWindow(&handler);
    const HWND second = n_TestWindows::MakeWindow(&handler);
    const std::vector<LONG> before = RectOf(first);
    HDWP positions = BeginDeferWindowPos(2);
    ASSERT_NE(positions, nullptr);
    positions = DeferWindowPos(positions, first, nullptr, 10, 20, 30, 40, SWP_NOZORDER);
    positions = DeferWindowPos(positions, second, nullptr, 50, 60, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    ASSERT_NE(positions, nullptr);
    EXPECT_EQ(RectOf(first), before);
    EXPECT_TRUE(EndDeferWindowPos(positions));
    EXPECT_EQ(RectOf(first), (std::vector<LONG>{10, 20, 40, 60}));
    EXPECT_EQ(RectOf(second)[0], 50);
    EXPECT_EQ(RectOf(second)[1], 60);
    EXPECT_FALSE(EndDeferWindowPos(positions));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(DeferWindowPos(positions, first, nullptr, 0, 0, 1, 1, 0), nullptr);
    DestroyWindow(first);
    DestroyWindow(second);
}

TEST(DeferWindowPos, AGoneWindowEndsTheGathering) {
    n_TestWindows::t_Handler handler = DefWindowProcW;
    const HWND window = n_TestWindows::MakeWindow(&handler);
    DestroyWindow(window);
    const HDWP positions = BeginDeferWindowPos(1);
    EXPECT_EQ(DeferWindowPos(positions, window, nullptr, 0, 0, 1, 1, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(EndDeferWindowPos(positions));
}

TEST(FlashWindowEx, ChecksItsRecordAndAnswersWhetherTheWindowIsActive) {
    n_TestWindows::t_Handler handler = DefWindowProcW;
    const HWND window = n_TestWindows::MakeWindow(&handler);
    const HWND other = n_TestWindows::MakeWindow(&handler);
    SetActiveWindow(window);
    FLASHWINFO info = {sizeof(FLASHWINFO), window, FLASHW_ALL, 3, 0};
    EXPECT_TRUE(FlashWindowEx(&info));
    info.hwnd = other;
    EXPECT_FALSE(FlashWindowEx(&info));
    info.cbSize = 20;
    EXPECT_FALSE(FlashWindowEx(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    DestroyWindow(other);
    info = {sizeof(FLASHWINFO), other, FLASHW_ALL, 3, 0};
    EXPECT_FALSE(FlashWindowEx(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    DestroyWindow(window);
}

} // namespace
