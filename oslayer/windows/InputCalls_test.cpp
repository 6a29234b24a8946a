// Tests of the n_OSLayer keyboard, mouse and screen calls.

#include "oslayer/windows/InputCalls.h"

#include "platform/testing/TestMonitors.h"
#include "platform/testing/TestWindows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

INPUT Key(WORD key, DWORD flags = 0) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    return input;
}

TEST(InputCalls, ModifierTestsReadTheirOwnKey) {
    struct s_Case {
        WORD m_Key;
        bool m_Shift;
        bool m_Control;
        bool m_Alt;
    } const cases[] = {
        {VK_LSHIFT, true, false, false},
        {VK_RCONTROL, false, true, false},
        {VK_MENU, false, false, true},
        {'A', false, false, false},
    };
    for (const s_Case& row : cases) {
        std::vector<INPUT> inputs = {Key(row.m_Key), Key(row.m_Key, KEYEVENTF_KEYUP)};
        ASSERT_EQ(n_OSLayer::SendInput(inputs[0]), 1u);
        EXPECT_EQ(n_OSLayer::IsShiftDown(), row.m_Shift) << row.m_Key;
        EXPECT_EQ(n_OSLayer::IsControlDown(), row.m_Control) << row.m_Key;
        EXPECT_EQ(n_OSLayer::IsAltDown(), row.m_Alt) << row.m_Key;
        EXPECT_TRUE(n_OSLayer::IsKeyDown(row.m_Key));
        ASSERT_EQ(n_OSLayer::SendInput(s_InputArray{1, &inputs[1]}), 1u);
        EXPECT_FALSE(n_OSLayer::IsKeyDown(row.m_Key));
    }
    // A toggled key that is up is not down.
    EXPECT_EQ(n_OSLayer::GetKeyState('A'), 1);
    EXPECT_FALSE(n_OSLayer::IsKeyDown('A'));
}

TEST(InputCalls, ArraysSendEveryEvent) {
    std::vector<INPUT> inputs = {Key('Q'), Key('W'), Key('Q', KEYEVENTF_KEYUP), Key('W', KEYEVENTF_KEYUP)};
    EXPECT_EQ(n_OSLayer::SendInput(s_InputArray{4, inputs.data()}), 4u);
    EXPECT_EQ(n_OSLayer::SendInput(s_InputArray{}), 0u);
}

TEST(InputCalls, MetricsByName) {
    c_TestMonitors monitors(std::vector<n_Platform::s_Monitor>{{{0, 0, 1600, 900}, {0, 0, 1600, 860}}});
    EXPECT_EQ(n_OSLayer::GetCaptionHeight(), GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(n_OSLayer::GetBorderWidth(), 1);
    EXPECT_EQ(n_OSLayer::GetFullScreenWidth(), 1600);
    EXPECT_EQ(n_OSLayer::GetFullScreenHeight(), 860 - GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(n_OSLayer::GetSystemMetrics(SM_CYSCREEN), 900);
}

TEST(InputCalls, TheDesktopWindowCoversThePrimaryMonitor) {
    c_TestMonitors monitors(std::vector<n_Platform::s_Monitor>{{{0, 0, 1600, 900}, {0, 0, 1600, 860}}});
    const HWND desktop = n_OSLayer::GetDesktopWindow();
    EXPECT_EQ(desktop, GetDesktopWindow());
    RECT rect = {};
    ASSERT_TRUE(GetWindowRect(desktop, &rect));
    EXPECT_EQ(rect.right, 1600);
    EXPECT_EQ(rect.bottom, 900);
}

TEST(InputCalls, ScreenToClientTakesThePointFirst) {
    n_TestWindows::t_Handler handler = n_TestWindows::Default;
    HWND window = n_TestWindows::MakeWindow(&handler);
    MoveWindow(window, 100, 200, 50, 50, FALSE);
    POINT point = {150, 220};
    EXPECT_TRUE(n_OSLayer::ScreenToClient(&point, window));
    EXPECT_EQ(point.x, 50);
    EXPECT_EQ(point.y, 20);
    DestroyWindow(window);
    EXPECT_TRUE(n_OSLayer::SetCursorPos(10, 11));
    ASSERT_TRUE(n_OSLayer::GetCursorPos(&point));
    EXPECT_EQ(point.x, 10);
    EXPECT_EQ(point.y, 11);
}

} // namespace
