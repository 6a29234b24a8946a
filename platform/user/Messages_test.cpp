// Tests of message queues: posting across threads, sending, retrieval with filters, the quit
// request, the quota, MsgWaitForMultipleObjectsEx and the modal loop.

#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestClock.h"
#include "platform/testing/TestWindows.h"
#include "platform/user/ModalLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using n_TestWindows::c_LoopThread;
using n_TestWindows::Default;
using n_TestWindows::MakeWindow;
using n_TestWindows::t_Handler;

using n_Platform::PROMPTLY_MS;

// Takes whatever the calling thread's queue still holds, so that the next test starts empty.
void DrainQueue() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

HANDLE MakeEvent() {
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

TEST(PostedMessages, FiveThousandFromAWorkerArriveInOrder) {
    constexpr WPARAM COUNT = 5000;
    std::vector<WPARAM> received;
    const HANDLE done = MakeEvent();
    c_LoopThread owner([&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_USER) {
            received.push_back(wParam);
            if (received.size() == COUNT) {
                SetEvent(done);
            }
        }
        return Default(window, message, wParam, lParam);
    });
    std::thread worker([&] {
        for (WPARAM i = 0; i < COUNT; ++i) {
            EXPECT_TRUE(PostMessageW(owner.GetWindow(), WM_USER, i, 0));
        }
    });
    worker.join();
    ASSERT_EQ(WaitForSingleObject(done, PROMPTLY_MS), WAIT_OBJECT_0);
    owner.Stop();
    ASSERT_EQ(received.size(), COUNT);
    for (WPARAM i = 0; i < COUNT; ++i) {
        ASSERT_EQ(received[i], i);
    }
    CloseHandle(done);
}

TEST(PostedMessages, NeverReachAWindowDestroyedMeanwhile) {
    std::atomic<int> handled{0};
    std::atomic<int> afterDestruction{0};
    bool destroyed = false;
    c_LoopThread owner([&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (destroyed) {
            ++afterDestruction;
        }
        if (message == WM_NCDESTROY) {
            destroyed = true;
        }
        if (message == WM_USER && ++handled == 100) {
            DestroyWindow(window);
        }
        return Default(window, message, wParam, lParam);
    });
    // Posts until the window is gone, waiting whenever the queue is full.
    DWORD error = ERROR_SUCCESS;
    while (error != ERROR_INVALID_WINDOW_HANDLE) {
        error = PostMessageW(owner.GetWindow(), WM_USER, 0, 0) ? ERROR_SUCCESS : GetLastError();
        if (error == ERROR_NOT_ENOUGH_QUOTA) {
            std::this_thread::yield();
        } else {
            ASSERT_TRUE(error == ERROR_SUCCESS || error == ERROR_INVALID_WINDOW_HANDLE) << error;
        }
    }
    owner.Stop();
    EXPECT_EQ(handled, 100);
    EXPECT_EQ(afterDestruction, 0);
}

TEST(PostedMessages, AQueueHoldsTenThousand) {
    t_Handler handler = Default;
    const HWND window = MakeWindow(&handler);
    for (int i = 0; i < 10000; ++i) {
        ASSERT_TRUE(PostMessageW(window, WM_USER, static_cast<WPARAM>(i), 0));
    }
    EXPECT_FALSE(PostMessageW(window, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_QUOTA);
    EXPECT_FALSE(PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_QUOTA);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_TRUE(PostMessageW(window, WM_USER, 0, 0));
    // Destruction drops the window's messages.
    DestroyWindow(window);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST(SentMessages, AnotherThreadGetsTheProceduresResultAfterItRanOnTheOwner) {
    DWORD ranOn = 0;
    c_LoopThread owner([&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_USER) {
            ranOn = GetCurrentThreadId();
            return static_cast<LRESULT>(wParam * 2 + static_cast<WPARAM>(lParam));
        }
        return Default(window, message, wParam, lParam);
    });
    EXPECT_EQ(SendMessageW(owner.GetWindow(), WM_USER, 20, 2), 42);
    EXPECT_EQ(ranOn, owner.GetThreadId());
    DrainQueue();
}

TEST(SentMessages, TwoThreadsSendingToEachOtherDoNotDeadlock) {
    std::atomic<HWND> windows[2] = {};
    std::atomic<LRESULT> results[2] = {};
    const HANDLE done[2] = {MakeEvent(), MakeEvent()};
    const auto handlerFor = [&](int self) {
        return [&, self](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_USER) {
                results[self] = SendMessageW(windows[1 - self], WM_USER + 1, 0, 0);
                SetEvent(done[self]);
                return 0;
            }
            if (message == WM_USER + 1) {
                return 10 + self;
            }
            return Default(window, message, wParam, lParam);
        };
    };
    c_LoopThread first(handlerFor(0));
    c_LoopThread second(handlerFor(1));
    windows[0] = first.GetWindow();
    windows[1] = second.GetWindow();
    PostMessageW(windows[0], WM_USER, 0, 0);
    PostMessageW(windows[1], WM_USER, 0, 0);
    EXPECT_EQ(WaitForMultipleObjects(2, done, TRUE, PROMPTLY_MS), WAIT_OBJECT_0);
    EXPECT_EQ(results[0], 11);
    EXPECT_EQ(results[1], 10);
    CloseHandle(done[0]);
    CloseHandle(done[1]);
}

TEST(SentMessages, AThreadThatEndsBeforeAnsweringAnswersZero) {
    std::atomic<HWND> window = nullptr;
    t_Handler handler = [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT { return message == WM_USER ? 5 : TRUE; };
    const HANDLE made = MakeEvent();
    std::thread receiver([&] {
        window = MakeWindow(&handler);
        SetEvent(made);
        // Ends as soon as a message is sent to it, without handling it.
        EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, PROMPTLY_MS, QS_SENDMESSAGE, 0), WAIT_OBJECT_0);
    });
    WaitForSingleObject(made, INFINITE);
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 0);
    receiver.join();
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    CloseHandle(made);
    DrainQueue();
}

TEST(Retrieval, FiltersTakeTheFirstMatchingMessage) {
    t_Handler handler = Default;
    const HWND first = MakeWindow(&handler);
    const HWND second = MakeWindow(&handler);
    PostMessageW(first, WM_USER, 1, 0);
    PostMessageW(second, WM_USER + 1, 2, 0);
    PostMessageW(nullptr, WM_USER + 2, 3, 0);
    PostMessageW(first, WM_TIMER, 4, 0);
    struct s_Case {
        const char* m_p_Name;
        HWND m_Window;
        UINT m_First;
        UINT m_Last;
        UINT m_Remove;
        WPARAM m_Expected;
    };
    const s_Case cases[] = {
        {"the second window's", second, 0, 0, PM_REMOVE, 2},
        {"the thread's own", reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE, 3},
        {"in a range", nullptr, WM_TIMER, WM_TIMER, PM_REMOVE, 4},
        {"left in place", nullptr, 0, 0, PM_NOREMOVE, 1},
        {"then taken", first, 0, 0, PM_REMOVE, 1},
    };
    for (const s_Case& row : cases) {
        MSG message = {};
        ASSERT_TRUE(PeekMessageW(&message, row.m_Window, row.m_First, row.m_Last, row.m_Remove)) << row.m_p_Name;
        EXPECT_EQ(message.wParam, row.m_Expected) << row.m_p_Name;
    }
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(first);
    DestroyWindow(second);
    EXPECT_EQ(PeekMessageW(&message, first, 0, 0, PM_REMOVE), FALSE);
    EXPECT_EQ(GetMessageW(&message, first, 0, 0), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST(Retrieval, AFilteredTakeKeepsTheOrderOfTheRest) {
    DrainQueue();
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 1, 1, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 2, 2, 0);
    MSG message = {};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(message.wParam, 2u);
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 3, 3, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 4, 4, 0);
    std::vector<WPARAM> rest;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        rest.push_back(message.wParam);
    }
    EXPECT_EQ(rest, (std::vector<WPARAM>{1, 3, 4}));
}

// Posters on other threads aim at windows that the owner keeps making and destroying. A post that
// lands after the destruction would surface here as a message for a window that is gone.
TEST(PostedMessages, RacingPostsNeverReachADestroyedWindow) {
    constexpr int ROUNDS = 100;
    constexpr int POSTERS = 2;
    t_Handler handler = Default;
    std::atomic<HWND> target{nullptr};
    std::atomic<bool> stop{false};
    std::atomic<long> delivered{0};
    std::vector<std::thread> posters;
    for (int i = 0; i < POSTERS; ++i) {
        posters.emplace_back([&] {
            while (!stop) {
                PostMessageW(target.load(), WM_USER, 0, 0);
            }
        });
    }
    int strays = 0;
    MSG message;
    for (int round = 0; round < ROUNDS; ++round) {
        const HWND window = MakeWindow(&handler);
        target = window;
        // The posters never stop, so the wait always ends.
        for (int taken = 0; taken < 5 && GetMessageW(&message, nullptr, 0, 0) > 0; ++taken) {
            strays += message.hwnd != nullptr && !IsWindow(message.hwnd);
            delivered += message.hwnd == window;
        }
        DestroyWindow(window);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            strays += message.hwnd != nullptr && !IsWindow(message.hwnd);
        }
    }
    stop = true;
    for (std::thread& poster : posters) {
        poster.join();
    }
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        strays += message.hwnd != nullptr && !IsWindow(message.hwnd);
    }
    EXPECT_EQ(strays, 0);
    EXPECT_GT(delivered, 0) << "the posts raced nothing";
}

TEST(Retrieval, TheQuitRequestComesAfterThePostedMessages) {
    PostQuitMessage(7);
    PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
    MSG message;
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), TRUE);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER));
    EXPECT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), FALSE);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST(Retrieval, AWaitForAWindowThatASentMessageDestroysEndsWithMinusOne) {
    t_Handler handler = Default;
    const HWND window = MakeWindow(&handler);
    std::thread closer([&] { SendMessageW(window, WM_CLOSE, 0, 0); });
    MSG message;
    EXPECT_EQ(GetMessageW(&message, window, 0, 0), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    closer.join();
    EXPECT_FALSE(IsWindow(window));
}

TEST(Retrieval, DispatchReachesOnlyWindowsOfTheCallingThread) {
    std::atomic<int> calls{0};
    c_LoopThread owner([&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        calls += message == WM_USER ? 1 : 0;
        return Default(window, message, wParam, lParam);
    });
    const MSG foreign = {owner.GetWindow(), WM_USER, 0, 0, 0, {0, 0}, 0};
    EXPECT_EQ(DispatchMessageW(&foreign), 0);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(TranslateMessage(&foreign));
    owner.Stop();
    EXPECT_EQ(calls, 0);
    DrainQueue();
}

TEST(ThreadMessages, APostWithoutAWindowGoesToTheCallersOwnQueue) {
    std::thread([] {
        EXPECT_TRUE(PostMessageW(nullptr, WM_USER + 3, 3, 0));
        MSG message;
        ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 3));
        EXPECT_EQ(message.hwnd, nullptr);
    }).join();
}

TEST(ThreadMessages, ReachThreadsWithAQueueUntilTheyEnd) {
    std::atomic<DWORD> threadId = 0;
    const HANDLE ready = MakeEvent();
    MSG received = {};
    std::thread receiver([&] {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
        threadId = GetCurrentThreadId();
        SetEvent(ready);
        GetMessageW(&received, nullptr, 0, 0);
    });
    WaitForSingleObject(ready, INFINITE);
    EXPECT_TRUE(PostThreadMessageW(threadId, WM_USER + 9, 9, -9));
    receiver.join();
    EXPECT_EQ(received.message, static_cast<UINT>(WM_USER + 9));
    EXPECT_EQ(received.hwnd, nullptr);
    EXPECT_EQ(received.lParam, -9);
    EXPECT_FALSE(PostThreadMessageW(threadId, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
    CloseHandle(ready);
}

TEST(MsgWait, WakesForHandlesAndForTheInputItWaitsFor) {
    const HANDLE event = MakeEvent();
    t_Handler handler = Default;
    const HWND window = MakeWindow(&handler);
    struct s_Case {
        const char* m_p_Name;
        UINT m_Posted; // 0: nothing posted
        bool m_SetEvent;
        DWORD m_WakeMask;
        DWORD m_Flags;
        bool m_SeenFirst;
        DWORD m_Expected;
    };
    const s_Case cases[] = {
        {"nothing", 0, false, QS_ALLINPUT, 0, false, WAIT_TIMEOUT},
        {"the event", 0, true, QS_ALLINPUT, 0, false, WAIT_OBJECT_0},
        {"a posted message", WM_USER, false, QS_POSTMESSAGE, 0, false, WAIT_OBJECT_0 + 1},
        {"a timer message as a timer", WM_TIMER, false, QS_TIMER, 0, false, WAIT_OBJECT_0 + 1},
        {"a posted message outside the mask", WM_USER, false, QS_SENDMESSAGE | QS_TIMER, 0, false, WAIT_TIMEOUT},
        {"a message already seen", WM_USER, false, QS_ALLINPUT, 0, true, WAIT_TIMEOUT},
        {"a message seen but there", WM_USER, false, QS_ALLINPUT, MWMO_INPUTAVAILABLE, true, WAIT_OBJECT_0 + 1},
    };
    for (const s_Case& row : cases) {
        ResetEvent(event);
        if (row.m_SetEvent) {
            SetEvent(event);
        }
        if (row.m_Posted != 0) {
            std::thread([&] { PostMessageW(window, row.m_Posted, 0, 0); }).join();
        }
        if (row.m_SeenFirst) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
        }
        EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &event, 0, row.m_WakeMask, row.m_Flags), row.m_Expected)
            << row.m_p_Name;
        DrainQueue();
    }
    DestroyWindow(window);
    CloseHandle(event);
}

TEST(MsgWait, AWaitingThreadWakesWhenAnotherPosts) {
    const HANDLE event = MakeEvent();
    const DWORD self = GetCurrentThreadId();
    DrainQueue();
    n_Platform::c_TestClock clock;
    std::thread poster([&] {
        // Posts once the owner sleeps in its wait.
        EXPECT_TRUE(n_Platform::WaitForTimedSleepers(1));
        PostThreadMessageW(self, WM_USER, 0, 0);
    });
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &event, PROMPTLY_MS, QS_ALLINPUT, 0), WAIT_OBJECT_0 + 1);
    poster.join();
    DrainQueue();
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(64, &event, 0, QS_ALLINPUT, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    CloseHandle(event);
}

TEST(ModalLoop, PumpsTheWholeQueueUntilEnded) {
    bool ended = false;
    std::vector<UINT> seen;
    t_Handler modal = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_USER + 1) {
            ended = true;
        }
        return Default(window, message, wParam, lParam);
    };
    t_Handler other = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message >= WM_USER) {
            seen.push_back(message);
        }
        return Default(window, message, wParam, lParam);
    };
    const HWND modalWindow = MakeWindow(&modal);
    const HWND otherWindow = MakeWindow(&other);
    std::thread poster([&] {
        PostMessageW(otherWindow, WM_TIMER, 0, 0);
        PostMessageW(otherWindow, WM_USER + 5, 0, 0);
        PostMessageW(modalWindow, WM_USER + 1, 0, 0);
        PostMessageW(otherWindow, WM_USER + 6, 0, 0);
    });
    EXPECT_TRUE(n_Platform::RunModalLoop([&] { return ended; }));
    poster.join();
    EXPECT_EQ(seen, std::vector<UINT>{WM_USER + 5});
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 6));
    DestroyWindow(modalWindow);
    DestroyWindow(otherWindow);
}

TEST(ModalLoop, AQuitEndsItAndIsPostedAgain) {
    PostQuitMessage(3);
    EXPECT_FALSE(n_Platform::RunModalLoop([] { return false; }));
    MSG message;
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), FALSE);
    EXPECT_EQ(message.wParam, 3u);
}

} // namespace
