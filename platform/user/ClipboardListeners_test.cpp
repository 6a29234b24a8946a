// Tests of the clipboard's listeners: WM_CLIPBOARDUPDATE once per close after a change, to every
// listening window of any thread, and no more after a window is removed or destroyed.

#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestWindows.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

namespace {

// A window of the test's thread that counts its clipboard updates.
class ClipboardListeners : public ::testing::Test {
protected:
    void SetUp() override {
        m_Window = n_TestWindows::MakeWindow(&m_Handler);
        ASSERT_NE(m_Window, nullptr);
    }
    void TearDown() override { DestroyWindow(m_Window); }

    int CountUpdates() {
        n_Platform::PumpPending();
        return m_Updates.exchange(0);
    }

    std::atomic<int> m_Updates{0};
    n_TestWindows::t_Handler m_Handler = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CLIPBOARDUPDATE) {
            ++m_Updates;
            return LRESULT(0);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    };
    HWND m_Window = nullptr;
};

bool SetText() {
    return SetClipboardData(CF_UNICODETEXT, GlobalAlloc(GMEM_MOVEABLE, 2)) != nullptr;
}

TEST_F(ClipboardListeners, AListenerHearsOfEachCloseAfterAChange) {
    const struct {
        const char* m_Name;
        std::function<void()> m_Change;
        int m_Updates;
    } cases[] = {
        {"data set", [] { SetText(); }, 1},
        {"emptied and set in one opening", [] { EmptyClipboard(), SetText(), SetText(); }, 1},
        {"emptied only", [] { EmptyClipboard(); }, 1},
        {"opened and closed without a change", [] {}, 0},
        {"a refused change", [] { SetClipboardData(CF_UNICODETEXT, nullptr); }, 0},
    };
    ASSERT_TRUE(AddClipboardFormatListener(m_Window));
    EXPECT_TRUE(AddClipboardFormatListener(m_Window)) << "added twice, told once";
    for (const auto& row : cases) {
        ASSERT_TRUE(OpenClipboard(nullptr)) << row.m_Name;
        row.m_Change();
        EXPECT_EQ(CountUpdates(), 0) << row.m_Name << ": nothing before the close";
        ASSERT_TRUE(CloseClipboard()) << row.m_Name;
        EXPECT_EQ(CountUpdates(), row.m_Updates) << row.m_Name;
    }
    EXPECT_TRUE(RemoveClipboardFormatListener(m_Window));
    ASSERT_TRUE(OpenClipboard(nullptr));
    SetText();
    CloseClipboard();
    EXPECT_EQ(CountUpdates(), 0) << "removed";
}

TEST_F(ClipboardListeners, ListenersOfOtherThreadsHearAsWell) {
    std::atomic<int> otherUpdates{0};
    n_TestWindows::c_LoopThread other([&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        otherUpdates += message == WM_CLIPBOARDUPDATE ? 1 : 0;
        return DefWindowProcW(window, message, wParam, lParam);
    });
    ASSERT_TRUE(AddClipboardFormatListener(other.GetWindow()));
    ASSERT_TRUE(AddClipboardFormatListener(m_Window));
    ASSERT_TRUE(OpenClipboard(nullptr));
    SetText();
    CloseClipboard();
    EXPECT_EQ(CountUpdates(), 1);
    EXPECT_TRUE(n_Platform::WaitUntil([&] { return otherUpdates == 1; }));
    EXPECT_TRUE(RemoveClipboardFormatListener(other.GetWindow()));
    EXPECT_TRUE(RemoveClipboardFormatListener(m_Window));
}

TEST_F(ClipboardListeners, BadWindowsAreRefusedAndDestroyedOnesForgotten) {
    EXPECT_FALSE(AddClipboardFormatListener(reinterpret_cast<HWND>(0x7777)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(AddClipboardFormatListener(nullptr));
    EXPECT_FALSE(RemoveClipboardFormatListener(m_Window));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    n_TestWindows::t_Handler handler = n_TestWindows::Default;
    const HWND gone = n_TestWindows::MakeWindow(&handler);
    ASSERT_TRUE(AddClipboardFormatListener(gone));
    DestroyWindow(gone);
    ASSERT_TRUE(OpenClipboard(nullptr));
    SetText();
    CloseClipboard();
    EXPECT_FALSE(RemoveClipboardFormatListener(gone)) << "a destroyed window no longer listens";
}

} // namespace
