// Tests of the n_OSLayer scroll-bar, deferred-position and flashing wrappers on a sample dialog.

#include "oslayer/windows/ScrollingCalls.h"

#include "oslayer/testing/c_SampleControlsDialog.h"

#include <gtest/gtest.h>

namespace {

typedef c_SampleControlsDialog c_Sample;

TEST(ScrollingCalls, ScrollBarsOfTheListKeepTheirValues) {
    c_Sample sample;
    const HWND list = sample.GetItem(c_Sample::LIST);
    SCROLLINFO info = {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 49, 10, 0, 0};
    EXPECT_EQ(n_OSLayer::SetScrollInfo(list, SB_VERT, &info, true), 0);
    EXPECT_EQ(n_OSLayer::SetScrollPos(list, SB_VERT, 45, true), 0);
    EXPECT_EQ(n_OSLayer::GetScrollPos(list, SB_VERT), 40);
    SCROLLINFO read = {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_TRUE(n_OSLayer::GetScrollInfo(list, SB_VERT, &read));
    EXPECT_EQ(read.nMax, 49);
    EXPECT_EQ(read.nPage, 10u);
    EXPECT_TRUE(n_OSLayer::ShowScrollBar(list, SB_VERT, true));
    EXPECT_NE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_TRUE(n_OSLayer::ShowScrollBar(list, SB_VERT, false));
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL, 0);
}

TEST(ScrollingCalls, DeferredPositionsMoveTheControlsAtTheEnd) {
    c_Sample sample;
    const HWND edit = sample.GetItem(c_Sample::EDIT);
    const HWND combo = sample.GetItem(c_Sample::COMBO);
    HDWP positions = n_OSLayer::BeginDeferWindowPos(2);
    positions = n_OSLayer::DeferWindowPos(positions, edit, nullptr, 1, 2, 30, 10, SWP_NOZORDER);
    positions = n_OSLayer::DeferWindowPos(positions, combo, nullptr, 3, 4, 50, 12, SWP_NOZORDER);
    RECT rect = {};
    GetClientRect(edit, &rect);
    EXPECT_NE(rect.right, 30);
    EXPECT_TRUE(n_OSLayer::EndDeferWindowPos(positions));
    GetClientRect(edit, &rect);
    EXPECT_EQ(rect.right, 30);
    GetClientRect(combo, &rect);
    EXPECT_EQ(rect.right, 50);
    EXPECT_FALSE(n_OSLayer::EndDeferWindowPos(positions));
}

TEST(ScrollingCalls, FlashWindowAnswersForTheActiveDialog) {
    c_Sample sample;
    SetActiveWindow(sample.GetDialog());
    EXPECT_TRUE(n_OSLayer::FlashWindow(sample.GetDialog(), FLASHW_ALL, 3, 0));
    EXPECT_FALSE(n_OSLayer::FlashWindow(sample.GetItem(c_Sample::EDIT), FLASHW_ALL, 3, 0));
    EXPECT_FALSE(n_OSLayer::FlashWindow(nullptr, FLASHW_ALL, 3, 0));
}

} // namespace
