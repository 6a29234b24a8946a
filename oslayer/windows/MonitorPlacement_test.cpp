// Tests of the monitor and placement arithmetic.

#include "oslayer/windows/MonitorPlacement.h"

#include "platform/testing/TestMonitors.h"
#include "platform/testing/TestWindows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A primary monitor whose work area starts at x = -100 (1920 wide, 1040 high), and a second one
// to its right.
const std::vector<n_Platform::s_Monitor> SCREEN = {
    {{-100, 0, 1820, 1080}, {-100, 0, 1820, 1040}},
    {{1820, 0, 3100, 1024}, {1820, 40, 3100, 1024}},
};

void ExpectRect(const RECT& rect, const RECT& expected, const char* name) {
    EXPECT_EQ(rect.left, expected.left) << name;
    EXPECT_EQ(rect.top, expected.top) << name;
    EXPECT_EQ(rect.right, expected.right) << name;
    EXPECT_EQ(rect.bottom, expected.bottom) << name;
}

TEST(ClampRectToWorkArea, ShiftsWithoutResizing) {
    c_TestMonitors monitors(SCREEN);
    struct s_Case {
        const char* m_Name;
        RECT m_Rect;
        RECT m_Clamped;
    } const cases[] = {
        {"inside stays", {100, 100, 300, 200}, {100, 100, 300, 200}},
        {"wider than the work area keeps its left edge", {-300, 10, 2700, 110}, {-100, 10, 2900, 110}},
        {"past the left", {-250, 10, -50, 110}, {-100, 10, 100, 110}},
        {"below the task bar", {10, 1000, 110, 1060}, {10, 980, 110, 1040}},
        {"above the second's work area", {2000, 0, 2100, 30}, {2000, 40, 2100, 70}},
        {"off screen: nearest", {5000, 100, 5100, 200}, {3000, 100, 3100, 200}},
        {"higher than the work area keeps its top", {10, -50, 110, 1150}, {10, 0, 110, 1200}},
    };
    for (const s_Case& row : cases) {
        RECT rect = row.m_Rect;
        ClampRectToWorkArea(rect);
        ExpectRect(rect, row.m_Clamped, row.m_Name);
    }
}

TEST(CenterRectOnMonitor, CentresInTheWorkAreaAtTheCentre) {
    c_TestMonitors monitors(SCREEN);
    struct s_Case {
        const char* m_Name;
        RECT m_Rect;
        RECT m_Centred;
    } const cases[] = {
        {"primary", {0, 0, 201, 101}, {759, 469, 960, 570}},
        {"second", {2000, 500, 2100, 600}, {2410, 482, 2510, 582}},
        {"past the left edge first clamped", {-900, 0, -700, 100}, {760, 470, 960, 570}},
    };
    for (const s_Case& row : cases) {
        RECT rect = row.m_Rect;
        CenterRectOnMonitor(rect);
        ExpectRect(rect, row.m_Centred, row.m_Name);
    }
}

TEST(ComputeWindowRectOnMonitor, FractionsOfTheScreenOrTheReferencesWorkArea) {
    const int fullWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    const int fullHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    struct s_Case {
        const char* m_Name;
        double m_Fraction;
        bool m_Center;
        RECT m_Rect;
    } const cases[] = {
        {"0 is a fifth, centred",
         0,
         true,
         {(fullWidth - fullWidth / 5) / 2, (fullHeight - int(fullHeight * 0.2)) / 2,
          (fullWidth - fullWidth / 5) / 2 + fullWidth / 5,
          (fullHeight - int(fullHeight * 0.2)) / 2 + int(fullHeight * 0.2)}},
        {"half at the corner", 0.5, false, {0, 0, fullWidth / 2, fullHeight / 2}},
        {"above 1 is all", 3, false, {0, 0, fullWidth, fullHeight}},
        {"negative is a fifth", -1, false, {0, 0, int(fullWidth * 0.2), int(fullHeight * 0.2)}},
    };
    for (const s_Case& row : cases) {
        RECT rect = {};
        ComputeWindowRectOnMonitor(rect, row.m_Fraction, row.m_Center, nullptr);
        ExpectRect(rect, row.m_Rect, row.m_Name);
    }
}

TEST(ComputeWindowRectOnMonitor, ReferenceWindowChoosesTheWorkArea) {
    c_TestMonitors monitors(SCREEN);
    n_TestWindows::t_Handler handler = n_TestWindows::Default;
    HWND window = n_TestWindows::MakeWindow(&handler);
    MoveWindow(window, 2000, 100, 300, 200, FALSE);
    RECT rect = {};
    ComputeWindowRectOnMonitor(rect, 0.5, false, window);
    ExpectRect(rect, {1820, 40, 2460, 532}, "corner of the second");
    ComputeWindowRectOnMonitor(rect, 0.5, true, window);
    ExpectRect(rect, {2140, 286, 2780, 778}, "centred on the second");
    // A reference on no monitor has an empty work area.
    MoveWindow(window, 9000, 100, 300, 200, FALSE);
    ComputeWindowRectOnMonitor(rect, 0.5, true, window);
    ExpectRect(rect, {0, 0, 0, 0}, "no monitor");
    DestroyWindow(window);
}

TEST(MoveWindowOntoMonitor, OnlyWindowsOffEveryMonitorMove) {
    c_TestMonitors monitors(SCREEN);
    n_TestWindows::t_Handler handler = n_TestWindows::Default;
    HWND window = n_TestWindows::MakeWindow(&handler);
    struct s_Case {
        const char* m_Name;
        RECT m_Place;
        RECT m_After;
    } const cases[] = {
        {"partly on a monitor stays", {1700, 100, 1900, 200}, {1700, 100, 1900, 200}},
        {"far right goes to the second", {9000, 100, 9200, 200}, {2360, 482, 2560, 582}},
        {"far left goes to the primary", {-9000, 100, -8800, 200}, {760, 470, 960, 570}},
    };
    for (const s_Case& row : cases) {
        MoveWindow(window, row.m_Place.left, row.m_Place.top, row.m_Place.right - row.m_Place.left,
                   row.m_Place.bottom - row.m_Place.top, FALSE);
        MoveWindowOntoMonitor(window);
        RECT rect = {};
        GetWindowRect(window, &rect);
        ExpectRect(rect, row.m_After, row.m_Name);
    }
    DestroyWindow(window);
    MoveWindowOntoMonitor(nullptr);
}

TEST(GetWorkAreaAtPoint, EmptyWhereNoMonitorIs) {
    c_TestMonitors monitors(SCREEN);
    ExpectRect(GetWorkAreaAtPoint({2000, 10}), {1820, 40, 3100, 1024}, "second");
    ExpectRect(GetWorkAreaAtPoint({2000, 2000}), {0, 0, 0, 0}, "none");
    EXPECT_EQ(GetMonitorAtPoint({2000, 2000}), nullptr);
}

} // namespace
