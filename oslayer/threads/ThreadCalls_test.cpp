// Tests of the n_OSLayer thread, mutex, wait and module wrappers.

#include "oslayer/files/ModuleCalls.h"
#include "oslayer/threads/ThreadCalls.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace {

TEST(ThreadCalls, NamedMutexIsOwnedAndSeenAgain) {
    const std::string name = "ThreadCalls_test " + std::to_string(getpid());
    HANDLE first = n_OSLayer::CreateMutex(name.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE second = n_OSLayer::CreateMutex(name.c_str());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(n_OSLayer::WaitForSingleObject(first, 0), WAIT_OBJECT_0) << "owned by this thread";
    const HANDLE both[] = {first, second};
    EXPECT_EQ(n_OSLayer::WaitForMultipleObjects(2, both), WAIT_OBJECT_0);
    CloseHandle(second);
    CloseHandle(first);
}

TEST(ThreadCalls, ThreadsAndModules) {
    EXPECT_EQ(n_OSLayer::GetCurrentThreadId(), GetCurrentThreadId());
    EXPECT_FALSE(n_OSLayer::TerminateThread(nullptr));
    EXPECT_EQ(n_OSLayer::LoadLibrary("wininet.dll"), nullptr);
    EXPECT_EQ(n_OSLayer::GetModuleHandle(), GetModuleHandleW(nullptr));
    EXPECT_TRUE(n_OSLayer::FreeLibrary(n_OSLayer::GetModuleHandle()));
    EXPECT_EQ(n_OSLayer::GetProcAddress(n_OSLayer::GetModuleHandle(), "NoSuchFunction"), nullptr);
}

} // namespace
