// Tests of mutex objects, named ones across processes included.

#include "platform/testing/ChildTestProcess.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* CHILD_NAME_VARIABLE = "PLATFORM_TEST_MUTEX_NAME";
constexpr const char* CHILD_READY_LINE = "MUTEX-HELD";

std::u16string Widen(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

DWORD WaitFromOtherThread(HANDLE handle) {
    DWORD result = WAIT_FAILED;
    std::thread other([&] {
        result = WaitForSingleObject(handle, 0);
        if (result == WAIT_OBJECT_0) {
            ReleaseMutex(handle);
        }
    });
    other.join();
    return result;
}

TEST(Mutexes, OwnerEntersAgainAndOthersWaitUntilTheLastRelease) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, nullptr);
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitFromOtherThread(mutex), WAIT_TIMEOUT);
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(WaitFromOtherThread(mutex), WAIT_TIMEOUT);
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(WaitFromOtherThread(mutex), WAIT_OBJECT_0);
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
    CloseHandle(mutex);
}

TEST(Mutexes, ReleaseByAnotherThreadFails) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, nullptr);
    std::thread other([&] {
        EXPECT_FALSE(ReleaseMutex(mutex));
        EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
    });
    other.join();
    EXPECT_TRUE(ReleaseMutex(mutex));
    CloseHandle(mutex);
}

TEST(Mutexes, NamedMutexExistsOnceWithinTheProcess) {
    HANDLE first = CreateMutexW(nullptr, TRUE, u"Mutexes_test same process");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    HANDLE second = CreateMutexW(nullptr, TRUE, u"Mutexes_test same process");
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    // The second call is not granted ownership; the first owner releases once.
    EXPECT_TRUE(ReleaseMutex(first));
    EXPECT_EQ(WaitFromOtherThread(second), WAIT_OBJECT_0);
    CloseHandle(first);
    CloseHandle(second);
    HANDLE again = CreateMutexW(nullptr, FALSE, u"Mutexes_test same process");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    CloseHandle(again);
}

TEST(Mutexes, NamedMutexHeldByAChildProcessIsSeenAsExisting) {
    const std::string name = "Mutexes_test across processes " + std::to_string(getpid());
    c_ChildTestProcess child("MutexHolderChild.HoldsTheNamedMutexUntilInputCloses", CHILD_NAME_VARIABLE, name);
    ASSERT_TRUE(child.WaitForLine(CHILD_READY_LINE));
    HANDLE seen = CreateMutexW(nullptr, TRUE, Widen(name).c_str());
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    CloseHandle(seen);
    child.Finish();
    HANDLE own = CreateMutexW(nullptr, TRUE, Widen(name).c_str());
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    CloseHandle(own);
}

// The child side of the test above; skipped when run on its own.
TEST(MutexHolderChild, HoldsTheNamedMutexUntilInputCloses) {
    const char* name = std::getenv(CHILD_NAME_VARIABLE);
    if (name == nullptr) {
        GTEST_SKIP() << "runs only as the child of NamedMutexHeldByAChildProcessIsSeenAsExisting";
    }
    HANDLE mutex = CreateMutexW(nullptr, TRUE, Widen(name).c_str());
    ASSERT_NE(mutex, nullptr);
    ASSERT_EQ(GetLastError(), ERROR_SUCCESS);
    TellParent(CHILD_READY_LINE);
    WaitForParentToFinish();
    CloseHandle(mutex);
}

} // namespace
