// Tests of c_AsyncWindow: the class, the window map, posting to the creating thread and the log
// lines of the unit.

#include "oslayer/windows/c_AsyncWindow.h"

#include "oslayer/system/LogMessage.h"
#include "oslayer/windows/WindowCreation.h"
#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

std::mutex g_LogLock;
std::vector<c_String> g_Lines;

void RecordLine(const c_StringView& line) {
    std::lock_guard<std::mutex> lock(g_LogLock);
    g_Lines.emplace_back(line);
}

std::vector<c_String> TakeLines() {
    std::lock_guard<std::mutex> lock(g_LogLock);
    std::vector<c_String> lines;
    lines.swap(g_Lines);
    return lines;
}

// Records the wParam of WM_USER and throws for WM_USER + 1.
class c_RecordingWindow : public c_AsyncWindow {
public:
    explicit c_RecordingWindow(const char* name) : c_AsyncWindow(name) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER) {
            m_Received.push_back(wParam);
            m_Count.fetch_add(1, std::memory_order_release);
            return 0;
        }
        if (message == WM_USER + 1) {
            throw std::runtime_error("from the window");
        }
        return c_AsyncWindow::WindowProc(message, wParam, lParam);
    }

    std::vector<WPARAM> m_Received;
    std::atomic<std::size_t> m_Count{0};
};

class AsyncWindow : public testing::Test {
protected:
    void SetUp() override {
        m_p_PreviousSink = SetLogSink(RecordLine);
        TakeLines();
        ASSERT_TRUE(c_AsyncWindow::Initialize(GetModuleHandleW(nullptr)));
    }
    void TearDown() override {
        c_AsyncWindow::Uninitialize();
        SetLogSink(m_p_PreviousSink);
    }

    t_LogSink m_p_PreviousSink = nullptr;
};

TEST_F(AsyncWindow, CarriesFiveThousandPostsFromAWorkerInOrder) {
    c_RecordingWindow window("Carrier");
    ASSERT_TRUE(window.CreateAsyncWindow());
    EXPECT_FALSE(window.CreateAsyncWindow());
    EXPECT_EQ(n_OSLayer::GetWindowClassName(window.GetWindowHandle()), "DARezazIzudud");
    constexpr WPARAM COUNT = 5000;
    std::thread worker([&] {
        for (WPARAM i = 0; i < COUNT; ++i) {
            EXPECT_TRUE(window.PostMessage(WM_USER, i, 0));
        }
    });
    EXPECT_TRUE(n_Platform::PumpUntil([&] { return window.m_Count.load(std::memory_order_acquire) == COUNT; }));
    worker.join();
    ASSERT_EQ(window.m_Received.size(), COUNT);
    for (WPARAM i = 0; i < COUNT; ++i) {
        ASSERT_EQ(window.m_Received[i], i);
    }
    EXPECT_TRUE(TakeLines().empty());
}

TEST_F(AsyncWindow, LogLinesOfPostingWithoutAWindowAndOfAThrowingProcedure) {
    c_RecordingWindow window("BufferedSocket");
    EXPECT_FALSE(window.PostMessage(WM_USER, 0, 0));
    window.DestroyAsyncWindow();
    EXPECT_EQ(TakeLines(),
              std::vector<c_String>{"BufferedSocket | c_AsyncWindow::PostMessage: Window handle is NULL."});

    ASSERT_TRUE(window.CreateAsyncWindow());
    EXPECT_EQ(window.SendMessage(WM_USER + 1, 5, -1), 0);
    EXPECT_EQ(TakeLines(), std::vector<c_String>{"BufferedSocket | Caught an unhandled exception in AsyncWindowProc.  "
                                                 "Message: 1025, wParam: 5, lParam: -1."});
}

TEST_F(AsyncWindow, ALookupFindsOnlyObjectsThatStillHoldTheirWindow) {
    EXPECT_EQ(c_AsyncWindow::GetAsyncWindowFromHandle(reinterpret_cast<HWND>(0x7FFFFFF0)), nullptr);
    c_RecordingWindow window("Lookup");
    ASSERT_TRUE(window.CreateAsyncWindow());
    const HWND handle = window.GetWindowHandle();
    EXPECT_EQ(c_AsyncWindow::GetAsyncWindowFromHandle(handle), &window);
    window.DestroyAsyncWindow();
    EXPECT_FALSE(window.IsCreated());
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(c_AsyncWindow::GetAsyncWindowFromHandle(handle), nullptr);
}

TEST_F(AsyncWindow, DestroyedFromAnotherThreadItOnlyLeavesTheMap) {
    c_RecordingWindow window("Foreign");
    ASSERT_TRUE(window.CreateAsyncWindow());
    const HWND handle = window.GetWindowHandle();
    std::thread([&] { window.DestroyAsyncWindow(); }).join();
    EXPECT_FALSE(window.IsCreated());
    EXPECT_TRUE(IsWindow(handle));
    EXPECT_EQ(c_AsyncWindow::GetAsyncWindowFromHandle(handle), nullptr);
    // The window itself now gets the default handling.
    EXPECT_EQ(SendMessageW(handle, WM_USER, 1, 0), 0);
    EXPECT_TRUE(window.m_Received.empty());
    EXPECT_TRUE(DestroyWindow(handle));
    EXPECT_TRUE(TakeLines().empty());
}

TEST_F(AsyncWindow, UninitializeWithTwoWindowsLogsTheirCountAndEmptiesTheMap) {
    c_RecordingWindow first("First");
    c_RecordingWindow second("Second");
    ASSERT_TRUE(first.CreateAsyncWindow());
    ASSERT_TRUE(second.CreateAsyncWindow());
    const HWND handles[] = {first.GetWindowHandle(), second.GetWindowHandle()};
    c_AsyncWindow::Uninitialize();
    EXPECT_EQ(TakeLines(),
              std::vector<c_String>{
                  "There are 2 windows in the window map in c_AsyncWindow during the call to Uninitialize."});
    EXPECT_EQ(first.GetWindowHandle(), handles[0]);
    EXPECT_EQ(c_AsyncWindow::GetAsyncWindowFromHandle(handles[0]), nullptr);
    first.DestroyAsyncWindow();
    second.DestroyAsyncWindow();
    // The class outlived its holder while its windows did; it goes now.
    EXPECT_TRUE(n_OSLayer::UnregisterWindowClass(c_AsyncWindow::CLASS_NAME, GetModuleHandleW(nullptr)));
}

TEST(AsyncWindowClass, CreationWithoutTheClassFailsWithItsLogLine) {
    const t_LogSink previous = SetLogSink(RecordLine);
    TakeLines();
    c_RecordingWindow window("Unregistered");
    EXPECT_FALSE(window.CreateAsyncWindow());
    EXPECT_EQ(TakeLines(), std::vector<c_String>{"Unregistered | Error creating async window.  Windows error code "
                                                 "1407: Cannot find window class."});
    SetLogSink(previous);
}

} // namespace
