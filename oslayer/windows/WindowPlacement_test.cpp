// Tests of the n_OSLayer placement readers, the placement marker, the offsets and the placement text.

#include "oslayer/windows/WindowPlacement.h"

#include "oslayer/windows/c_WindowClass.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<LONG> Values(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

class WindowPlacement : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Class.Register("PlacementWindows", GetModuleHandleW(nullptr), DefWindowProcW));
        m_Window = m_Class.CreateWindow("", WS_VISIBLE);
        ASSERT_TRUE(MoveWindow(m_Window, 10, 20, 300, 200, TRUE));
    }
    void TearDown() override {
        n_OSLayer::SetWindowPlacementOffsets(0, 0, false);
        DestroyWindow(m_Window);
    }

    c_WindowClass m_Class;
    HWND m_Window = nullptr;
};

TEST(WindowPlacementText, WritesEveryFieldInOrder) {
    struct s_Case {
        const char* m_p_Name;
        WINDOWPLACEMENT m_Placement;
        const char* m_p_Text;
    };
    const s_Case cases[] = {
        {"all zero",
         {44, 0, 0, {0, 0}, {0, 0}, {0, 0, 0, 0}},
         "WINDOWPLACEMENT { length: 44 | flags: 0 | showCmd: 0 | ptMinPosition: {0, 0} | ptMaxPosition: {0, 0} | "
         "rcNormalPosition: { {0, 0}, {0, 0} } }"},
        {"marker and negative coordinates",
         {44, n_OSLayer::PLACEMENT_MARKER, 2, {-1, -1}, {-8, 7}, {-32000, 5, 640, 480}},
         "WINDOWPLACEMENT { length: 44 | flags: 2147483648 | showCmd: 2 | ptMinPosition: {-1, -1} | ptMaxPosition: "
         "{-8, 7} | rcNormalPosition: { {-32000, 5}, {640, 480} } }"},
    };
    for (const s_Case& row : cases) {
        EXPECT_EQ(n_OSLayer::WindowPlacementToText(row.m_Placement), row.m_p_Text) << row.m_p_Name;
    }
}

TEST(WindowPlacementRects, WidthAndHeight) {
    const RECT rect = {-10, 5, 30, 2};
    EXPECT_EQ(n_OSLayer::GetRectWidth(rect), 40);
    EXPECT_EQ(n_OSLayer::GetRectHeight(rect), -3);
}

TEST_F(WindowPlacement, WithoutOffsetsTheSystemsPlacementComesUnchanged) {
    WINDOWPLACEMENT placement = {};
    ASSERT_TRUE(n_OSLayer::GetWindowPlacement(m_Window, &placement, false));
    EXPECT_EQ(placement.length, 44u);
    EXPECT_EQ(placement.flags, 0u);
    EXPECT_FALSE(n_OSLayer::GetWindowPlacement(m_Window, nullptr, false));
    n_OSLayer::SetWindowPlacementOffsets(0, 0, true);
    ASSERT_TRUE(n_OSLayer::GetWindowPlacement(m_Window, &placement, false));
    EXPECT_EQ(placement.flags, n_OSLayer::PLACEMENT_MARKER);
}

TEST_F(WindowPlacement, AdjustedReadersGiveTheFrameOrTheOffsetNormalRectangle) {
    ShowWindow(m_Window, SW_MAXIMIZE);
    WINDOWPLACEMENT placement = {};
    ASSERT_TRUE(n_OSLayer::GetWindowPlacementAdjusted(m_Window, &placement, false));
    RECT frame;
    GetWindowRect(m_Window, &frame);
    EXPECT_EQ(placement.flags, n_OSLayer::PLACEMENT_MARKER);
    EXPECT_EQ(Values(placement.rcNormalPosition), Values(frame));

    ShowWindow(m_Window, SW_MINIMIZE);
    n_OSLayer::SetWindowPlacementOffsets(0, 40, true);
    ASSERT_TRUE(n_OSLayer::GetWindowPlacement(m_Window, &placement, false));
    EXPECT_EQ(Values(placement.rcNormalPosition), (std::vector<LONG>{50, 20, 350, 220}));
    ASSERT_TRUE(n_OSLayer::GetWindowPlacement(m_Window, &placement, true));
    EXPECT_EQ(Values(placement.rcNormalPosition), (std::vector<LONG>{10, 20, 310, 220}));
    EXPECT_FALSE(n_OSLayer::GetWindowPlacementAdjusted(nullptr, &placement, false));
}

TEST_F(WindowPlacement, RestoringHonoursTheMarker) {
    WINDOWPLACEMENT marked = {44, n_OSLayer::PLACEMENT_MARKER, SW_SHOWNORMAL, {0, 0}, {0, 0}, {1, 2, 101, 52}};
    EXPECT_TRUE(n_OSLayer::SetWindowPlacement(m_Window, &marked));
    RECT frame;
    GetWindowRect(m_Window, &frame);
    EXPECT_EQ(Values(frame), (std::vector<LONG>{1, 2, 101, 52}));

    // An all-zero frame is not applied: the window is only maximized.
    marked = {44, n_OSLayer::PLACEMENT_MARKER, SW_SHOWMAXIMIZED, {0, 0}, {0, 0}, {0, 0, 0, 0}};
    EXPECT_TRUE(n_OSLayer::SetWindowPlacement(m_Window, &marked));
    EXPECT_TRUE(IsZoomed(m_Window));
    WINDOWPLACEMENT read = {};
    GetWindowPlacement(m_Window, &read);
    EXPECT_EQ(Values(read.rcNormalPosition), (std::vector<LONG>{1, 2, 101, 52}));

    const WINDOWPLACEMENT plain = {44, 0, SW_HIDE, {0, 0}, {0, 0}, {5, 5, 50, 50}};
    EXPECT_TRUE(n_OSLayer::SetWindowPlacement(m_Window, &plain));
    EXPECT_FALSE(IsWindowVisible(m_Window));
    GetWindowPlacement(m_Window, &read);
    EXPECT_EQ(Values(read.rcNormalPosition), (std::vector<LONG>{5, 5, 50, 50}));
    EXPECT_FALSE(n_OSLayer::SetWindowPlacement(m_Window, nullptr));
    EXPECT_FALSE(n_OSLayer::SetWindowPlacement(nullptr, &plain));
}

TEST_F(WindowPlacement, TheDirectFormSetsTheMinimizedPositionOnACopy) {
    const WINDOWPLACEMENT placement = {44, 0, SW_SHOWNORMAL, {7, 8}, {0, 0}, {10, 20, 310, 220}};
    EXPECT_TRUE(n_OSLayer::SetWindowPlacementDirect(m_Window, &placement));
    EXPECT_EQ(placement.flags, 0u);
    WINDOWPLACEMENT read = {};
    GetWindowPlacement(m_Window, &read);
    EXPECT_EQ(read.ptMinPosition.x, 7);
    EXPECT_FALSE(n_OSLayer::SetWindowPlacementDirect(nullptr, &placement));
}

} // namespace
