// Tests of mutex objects, named ones across processes included.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

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

// Runs this test program again as a child that holds the named mutex until its input closes.
class c_MutexHolderProcess {
public:
    explicit c_MutexHolderProcess(const std::string& name) {
        int input[2];
        int output[2];
        EXPECT_EQ(pipe2(input, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(output, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], 0);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        std::string variable = std::string(CHILD_NAME_VARIABLE) + "=" + name;
        std::vector<char*> environment = {variable.data()};
        for (char** entry = environ; *entry != nullptr; ++entry) {
            environment.push_back(*entry);
        }
        environment.push_back(nullptr);
        char program[] = "/proc/self/exe";
        char filter[] = "--gtest_filter=MutexHolderChild.HoldsTheNamedMutexUntilInputCloses";
        char* arguments[] = {program, filter, nullptr};
        EXPECT_EQ(posix_spawn(&m_Process, program, &actions, nullptr, arguments, environment.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(input[0]);
        close(output[1]);
        m_Input = input[1];
        m_Output = output[0];
    }

    ~c_MutexHolderProcess() {
        Release();
        close(m_Output);
    }

    // Reads the child's output until it says that it holds the mutex.
    bool WaitUntilHeld() {
        std::string seen;
        pollfd readable = {m_Output, POLLIN, 0};
        char buffer[256];
        while (seen.find(CHILD_READY_LINE) == std::string::npos) {
            if (poll(&readable, 1, 10000) != 1) {
                return false;
            }
            const ssize_t count = read(m_Output, buffer, sizeof buffer);
            if (count <= 0) {
                return false;
            }
            seen.append(buffer, static_cast<std::size_t>(count));
        }
        return true;
    }

    void Release() {
        if (m_Input < 0) {
            return;
        }
        close(m_Input);
        m_Input = -1;
        int status = 0;
        waitpid(m_Process, &status, 0);
    }

private:
    pid_t m_Process = 0;
    int m_Input = -1;
    int m_Output = -1;
};

TEST(Mutexes, NamedMutexHeldByAChildProcessIsSeenAsExisting) {
    const std::string name = "Mutexes_test across processes " + std::to_string(getpid());
    c_MutexHolderProcess child(name);
    ASSERT_TRUE(child.WaitUntilHeld());
    HANDLE seen = CreateMutexW(nullptr, TRUE, Widen(name).c_str());
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    CloseHandle(seen);
    child.Release();
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
    std::printf("\n%s\n", CHILD_READY_LINE);
    std::fflush(stdout);
    char byte;
    while (read(0, &byte, 1) > 0) {
    }
    CloseHandle(mutex);
}

} // namespace
