// Tests of the key state and of SendInput.

#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestWindows.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct s_KeyMessage {
    UINT m_Message;
    WPARAM m_Key;
    LPARAM m_Flags;
};

INPUT Key(WORD key, DWORD flags = 0, WORD scan = 0) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

INPUT Mouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = dx;
    input.mi.dy = dy;
    return input;
}

// An active window of the test's thread that records the key messages it gets.
class KeyboardInput : public ::testing::Test {
protected:
    void SetUp() override {
        m_Window = n_TestWindows::MakeWindow(&m_Handler);
        SetActiveWindow(m_Window);
    }
    void TearDown() override { DestroyWindow(m_Window); }

    std::vector<s_KeyMessage> Send(std::vector<INPUT> inputs) {
        m_Seen.clear();
        EXPECT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
        n_Platform::PumpPending();
        return m_Seen;
    }

    std::vector<s_KeyMessage> m_Seen;
    n_TestWindows::t_Handler m_Handler = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message >= WM_KEYDOWN && message <= WM_SYSKEYUP) {
            m_Seen.push_back({message, wParam, lParam});
            return LRESULT(0);
        }
        return n_TestWindows::Default(window, message, wParam, lParam);
    };
    HWND m_Window = nullptr;
};

TEST_F(KeyboardInput, KeysArriveAsMessagesWithTheirFlags) {
    const std::vector<s_KeyMessage> seen =
        Send({Key('A', 0, 0x1E), Key('A', 0, 0x1E), Key('A', KEYEVENTF_KEYUP, 0x1E),
              Key(VK_RIGHT, KEYEVENTF_EXTENDEDKEY), Key(VK_RIGHT, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP)});
    const s_KeyMessage expected[] = {
        {WM_KEYDOWN, 'A', 0x001E0001},
        {WM_KEYDOWN, 'A', 0x401E0001},
        {WM_KEYUP, 'A', static_cast<LPARAM>(0xC01E0001u)},
        {WM_KEYDOWN, VK_RIGHT, 0x01000001},
        {WM_KEYUP, VK_RIGHT, static_cast<LPARAM>(0xC1000001u)},
    };
    ASSERT_EQ(seen.size(), std::size(expected));
    for (std::size_t index = 0; index < seen.size(); ++index) {
        EXPECT_EQ(seen[index].m_Message, expected[index].m_Message) << index;
        EXPECT_EQ(seen[index].m_Key, expected[index].m_Key) << index;
        EXPECT_EQ(seen[index].m_Flags, expected[index].m_Flags) << index;
    }
}

TEST_F(KeyboardInput, AltMakesSystemKeys) {
    const std::vector<s_KeyMessage> seen = Send({Key(VK_LMENU), Key('F'), Key('F', KEYEVENTF_KEYUP),
                                                 Key(VK_LMENU, KEYEVENTF_KEYUP), Key('F'), Key('F', KEYEVENTF_KEYUP)});
    const UINT expected[] = {WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSKEYUP, WM_KEYDOWN, WM_KEYUP};
    ASSERT_EQ(seen.size(), std::size(expected));
    for (std::size_t index = 0; index < seen.size(); ++index) {
        EXPECT_EQ(seen[index].m_Message, expected[index]) << index;
    }
    EXPECT_EQ(seen[1].m_Flags & (1 << 29), 1 << 29);
}

TEST_F(KeyboardInput, KeyStateFollowsTheKeys) {
    struct s_Case {
        const char* m_Name;
        std::vector<INPUT> m_Inputs;
        int m_Key;
        SHORT m_State;
        SHORT m_AsyncState;
    } const cases[] = {
        {"down", {Key(VK_SHIFT)}, VK_SHIFT, static_cast<SHORT>(0x8001), static_cast<SHORT>(0x8000)},
        {"up again", {Key(VK_SHIFT, KEYEVENTF_KEYUP)}, VK_SHIFT, 1, 0},
        {"second press toggles off", {Key(VK_SHIFT), Key(VK_SHIFT, KEYEVENTF_KEYUP)}, VK_SHIFT, 0, 0},
        {"right control is control",
         {Key(VK_RCONTROL)},
         VK_CONTROL,
         static_cast<SHORT>(0x8000),
         static_cast<SHORT>(0x8000)},
        {"released", {Key(VK_RCONTROL, KEYEVENTF_KEYUP)}, VK_CONTROL, 0, 0},
        {"mouse button",
         {Mouse(MOUSEEVENTF_LEFTDOWN)},
         VK_LBUTTON,
         static_cast<SHORT>(0x8001),
         static_cast<SHORT>(0x8000)},
        {"mouse button up", {Mouse(MOUSEEVENTF_LEFTUP)}, VK_LBUTTON, 1, 0},
    };
    for (const s_Case& row : cases) {
        Send(row.m_Inputs);
        EXPECT_EQ(GetKeyState(row.m_Key), row.m_State) << row.m_Name;
        EXPECT_EQ(GetAsyncKeyState(row.m_Key), row.m_AsyncState) << row.m_Name;
    }
}

TEST_F(KeyboardInput, BadBatchesSendWhatCameBefore) {
    INPUT inputs[] = {Key('B'), Key('B', KEYEVENTF_KEYUP)};
    EXPECT_EQ(SendInput(2, inputs, 28), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    inputs[1].type = INPUT_HARDWARE;
    EXPECT_EQ(SendInput(2, inputs, sizeof(INPUT)), 1u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    INPUT release = Key('B', KEYEVENTF_KEYUP);
    SendInput(1, &release, sizeof(INPUT));
}

TEST_F(KeyboardInput, WithoutAnActiveWindowOnlyTheStateChanges) {
    DestroyWindow(m_Window);
    INPUT down = Key(VK_ESCAPE);
    EXPECT_EQ(SendInput(1, &down, sizeof(INPUT)), 1u);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), static_cast<SHORT>(0x8000));
    INPUT up = Key(VK_ESCAPE, KEYEVENTF_KEYUP);
    SendInput(1, &up, sizeof(INPUT));
}

TEST(Cursor, MovesWithinTheScreen) {
    struct s_Case {
        const char* m_Name;
        INPUT m_Input;
        POINT m_Point;
    } const cases[] = {
        {"absolute middle", Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 32768, 32768), {960, 540}},
        {"relative", Mouse(MOUSEEVENTF_MOVE, -60, 40), {900, 580}},
        {"no move flag", Mouse(MOUSEEVENTF_LEFTUP, 500, 500), {900, 580}},
        {"past the corner", Mouse(MOUSEEVENTF_MOVE, 5000, -5000), {1919, 0}},
    };
    for (const s_Case& row : cases) {
        INPUT input = row.m_Input;
        SendInput(1, &input, sizeof(INPUT));
        POINT point = {};
        ASSERT_TRUE(GetCursorPos(&point));
        EXPECT_EQ(point.x, row.m_Point.x) << row.m_Name;
        EXPECT_EQ(point.y, row.m_Point.y) << row.m_Name;
    }
    EXPECT_TRUE(SetCursorPos(-5, 2000));
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetCursorInfo(&info));
    EXPECT_EQ(info.ptScreenPos.x, 0);
    EXPECT_EQ(info.ptScreenPos.y, 1079);
    EXPECT_EQ(info.flags, 0u);
    HCURSOR cursor = reinterpret_cast<HCURSOR>(0x77);
    SetCursor(cursor);
    EXPECT_EQ(SetCursor(nullptr), cursor);
}

} // namespace
