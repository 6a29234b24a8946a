// Tests of the n_OSLayer message calls.

#include "oslayer/windows/MessageCalls.h"

#include "platform/testing/TestWindows.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageCalls, RegisteredMessagesAreNamedInUTF8) {
    const std::uint32_t message = n_OSLayer::RegisterWindowMessage("MessageCalls \xC3\xA4");
    EXPECT_GE(message, 0xC000u);
    EXPECT_EQ(n_OSLayer::RegisterWindowMessage("messagecalls \xC3\xA4"), message);
    EXPECT_NE(n_OSLayer::RegisterWindowMessage("MessageCalls a"), message);
    EXPECT_EQ(n_OSLayer::RegisterWindowMessage(""), 0u);
}

TEST(MessageCalls, QuitEndsTheThreadsLoop) {
    n_TestWindows::c_LoopThread thread(n_TestWindows::Default);
    EXPECT_TRUE(n_OSLayer::PostQuitMessageToThread(thread.GetThreadId()));
    // Stop only joins: the loop has its WM_QUIT already.
    thread.Stop();
    EXPECT_FALSE(n_OSLayer::PostQuitMessageToThread(thread.GetThreadId()));
}

TEST(MessageCalls, CallWindowProcReachesThePreviousProcedure) {
    WPARAM seen = 0;
    n_TestWindows::t_Handler handler = [&seen](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message != WM_USER) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        seen = wParam;
        return lParam + 1;
    };
    HWND window = n_TestWindows::MakeWindow(&handler);
    EXPECT_EQ(n_OSLayer::CallWindowProc(n_TestWindows::HandlerProcedure, window, WM_USER, 5, 41), 42);
    EXPECT_EQ(seen, 5u);
    DestroyWindow(window);
}

TEST(MessageCalls, ShowAndDoubleClick) {
    n_TestWindows::t_Handler handler = n_TestWindows::Default;
    HWND window = n_TestWindows::MakeWindow(&handler);
    EXPECT_TRUE(n_OSLayer::ShowWindowVisible(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(n_OSLayer::ShowWindowVisible(window));
    DestroyWindow(window);
    EXPECT_EQ(n_OSLayer::GetDoubleClickTime(), 500u);
}

} // namespace
