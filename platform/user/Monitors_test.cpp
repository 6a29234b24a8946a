// Tests of the monitors of the headless screen and the system metrics.

#include "platform/testing/TestMonitors.h"
#include "platform/testing/TestWindows.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Primary 1920 x 1080 with a task bar of 40 at the bottom; a second monitor of 1280 x 1024 to its
// left, higher up.
const std::vector<n_Platform::s_Monitor> TWO_MONITORS = {
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
    {{-1280, -200, 0, 824}, {-1280, -200, 0, 824}},
};

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetMonitorInfoW(monitor, &info));
    return info.rcWork;
}

TEST(Monitors, DefaultScreenIsOneFullHDMonitor) {
    HMONITOR monitor = MonitorFromPoint({5, 5}, MONITOR_DEFAULTTONULL);
    ASSERT_NE(monitor, nullptr);
    MONITORINFOEXW info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoW(monitor, reinterpret_cast<MONITORINFO*>(&info)));
    EXPECT_EQ(info.rcMonitor.right, 1920);
    EXPECT_EQ(info.rcWork.bottom, 1080);
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));
    EXPECT_EQ(std::u16string(info.szDevice), u"\\\\.\\DISPLAY1");
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
}

TEST(Monitors, PointsFindTheirMonitorOrTheDefault) {
    c_TestMonitors monitors(TWO_MONITORS);
    struct s_Case {
        const char* m_Name;
        POINT m_Point;
        DWORD m_Flags;
        int m_Monitor;
    } const cases[] = {
        {"primary", {100, 100}, MONITOR_DEFAULTTONULL, 0},
        {"second", {-1, 0}, MONITOR_DEFAULTTONULL, 1},
        {"right edge is outside", {1920, 5}, MONITOR_DEFAULTTONULL, -1},
        {"below the second: nearest", {-400, 1000}, MONITOR_DEFAULTTONEAREST, 1},
        {"far right: nearest", {5000, 500}, MONITOR_DEFAULTTONEAREST, 0},
        {"above both: primary", {-600, -900}, MONITOR_DEFAULTTOPRIMARY, 0},
    };
    for (const s_Case& row : cases) {
        HMONITOR monitor = MonitorFromPoint(row.m_Point, row.m_Flags);
        if (row.m_Monitor < 0) {
            EXPECT_EQ(monitor, nullptr) << row.m_Name;
            continue;
        }
        ASSERT_NE(monitor, nullptr) << row.m_Name;
        EXPECT_EQ(WorkAreaOf(monitor).left, TWO_MONITORS[row.m_Monitor].m_WorkArea.left) << row.m_Name;
    }
}

TEST(Monitors, RectanglesGoToTheLargestPart) {
    c_TestMonitors monitors(TWO_MONITORS);
    struct s_Case {
        const char* m_Name;
        RECT m_Rect;
        DWORD m_Flags;
        int m_Monitor;
    } const cases[] = {
        {"mostly on the second", {-300, 0, 100, 100}, MONITOR_DEFAULTTONULL, 1},
        {"mostly on the primary", {-100, 0, 300, 100}, MONITOR_DEFAULTTONULL, 0},
        {"off screen", {3000, 0, 3100, 100}, MONITOR_DEFAULTTONULL, -1},
        {"off screen, nearest", {3000, 0, 3100, 100}, MONITOR_DEFAULTTONEAREST, 0},
        {"empty, on the second", {-50, 10, -50, 10}, MONITOR_DEFAULTTONULL, 1},
    };
    for (const s_Case& row : cases) {
        HMONITOR monitor = MonitorFromRect(&row.m_Rect, row.m_Flags);
        if (row.m_Monitor < 0) {
            EXPECT_EQ(monitor, nullptr) << row.m_Name;
            continue;
        }
        ASSERT_NE(monitor, nullptr) << row.m_Name;
        EXPECT_EQ(WorkAreaOf(monitor).left, TWO_MONITORS[row.m_Monitor].m_WorkArea.left) << row.m_Name;
    }
}

TEST(Monitors, WindowsAreFoundByTheirRectangles) {
    c_TestMonitors monitors(TWO_MONITORS);
    n_TestWindows::t_Handler handler = n_TestWindows::Default;
    HWND window = n_TestWindows::MakeWindow(&handler);
    MoveWindow(window, -500, 10, 200, 100, FALSE);
    EXPECT_EQ(WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONULL)).left, -1280);
    MoveWindow(window, 4000, 10, 200, 100, FALSE);
    EXPECT_EQ(MonitorFromWindow(window, MONITOR_DEFAULTTONULL), nullptr);
    DestroyWindow(window);
    EXPECT_EQ(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), nullptr);
}

TEST(Monitors, OldHandlesFailAfterTheMonitorsChange) {
    HMONITOR old = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    c_TestMonitors monitors(TWO_MONITORS);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetMonitorInfoW(old, &info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    info.cbSize = 12;
    EXPECT_FALSE(GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

struct s_Enumerated {
    std::vector<RECT> m_Parts;
    std::size_t m_StopAfter = 99;
};

BOOL CALLBACK Collect(HMONITOR, HDC, RECT* part, LPARAM data) {
    auto* seen = reinterpret_cast<s_Enumerated*>(data);
    seen->m_Parts.push_back(*part);
    return seen->m_Parts.size() < seen->m_StopAfter;
}

TEST(Monitors, EnumerationHandsOverThePartsThatMeetTheClip) {
    c_TestMonitors monitors(TWO_MONITORS);
    s_Enumerated all;
    EXPECT_TRUE(EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&all)));
    ASSERT_EQ(all.m_Parts.size(), 2u);
    EXPECT_EQ(all.m_Parts[1].left, -1280);
    s_Enumerated clipped;
    const RECT clip = {-100, 900, 100, 2000};
    EXPECT_TRUE(EnumDisplayMonitors(nullptr, &clip, Collect, reinterpret_cast<LPARAM>(&clipped)));
    ASSERT_EQ(clipped.m_Parts.size(), 1u);
    EXPECT_EQ(clipped.m_Parts[0].left, 0);
    EXPECT_EQ(clipped.m_Parts[0].top, 900);
    EXPECT_EQ(clipped.m_Parts[0].bottom, 1080);
    s_Enumerated stopped;
    stopped.m_StopAfter = 1;
    EXPECT_FALSE(EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&stopped)));
    EXPECT_EQ(stopped.m_Parts.size(), 1u);
}

TEST(GetSystemMetrics, ScreenMetricsFollowTheMonitors) {
    c_TestMonitors monitors(TWO_MONITORS);
    struct s_Case {
        int m_Index;
        int m_Value;
    } const cases[] = {
        {SM_CXSCREEN, 1920},
        {SM_CYSCREEN, 1080},
        {SM_CXFULLSCREEN, 1920},
        {SM_CYFULLSCREEN, 1040 - 23},
        {SM_XVIRTUALSCREEN, -1280},
        {SM_YVIRTUALSCREEN, -200},
        {SM_CXVIRTUALSCREEN, 3200},
        {SM_CYVIRTUALSCREEN, 1280},
        {SM_CMONITORS, 2},
        {SM_CYCAPTION, 23},
        {SM_CXBORDER, 1},
        {SM_CXVSCROLL, 17},
        {SM_CXEDGE, 2},
        {SM_MOUSEPRESENT, 0},
        {9999, 0},
    };
    for (const s_Case& row : cases) {
        EXPECT_EQ(GetSystemMetrics(row.m_Index), row.m_Value) << row.m_Index;
    }
}

} // namespace
