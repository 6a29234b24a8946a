#pragma once
// Test helper: this test program run again as a child process that runs one test, for what must be
// seen from another process (named objects, the registry).
//
// The child gets one environment variable that tells its test to run (the test skips without it),
// reads its standard input until the parent closes it, and writes lines to its standard output that
// the parent waits for.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

class c_ChildTestProcess {
public:
    // Runs the test named filter ("Suite.Test") with variable=value in its environment.
    c_ChildTestProcess(const std::string& filter, const std::string& variable, const std::string& value) {
        int input[2];
        int output[2];
        EXPECT_EQ(pipe2(input, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(output, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], 0);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        std::string setting = variable + "=" + value;
        std::vector<char*> environment = {setting.data()};
        for (char** entry = environ; *entry != nullptr; ++entry) {
            environment.push_back(*entry);
        }
        environment.push_back(nullptr);
        std::string program = "/proc/self/exe";
        std::string filterArgument = "--gtest_filter=" + filter;
        char* arguments[] = {program.data(), filterArgument.data(), nullptr};
        m_Started = posix_spawn(&m_Process, program.c_str(), &actions, nullptr, arguments, environment.data()) == 0;
        EXPECT_TRUE(m_Started);
        posix_spawn_file_actions_destroy(&actions);
        close(input[0]);
        close(output[1]);
        m_Input = input[1];
        m_Output = output[0];
    }

    ~c_ChildTestProcess() {
        Finish();
        close(m_Output);
    }

    c_ChildTestProcess(const c_ChildTestProcess&) = delete;
    c_ChildTestProcess& operator=(const c_ChildTestProcess&) = delete;

    // Reads the child's output until it holds the line (at most 10 s between reads); false when the
    // output ends first.
    bool WaitForLine(const std::string& line) {
        pollfd readable = {m_Output, POLLIN, 0};
        char buffer[256];
        while (m_Seen.find("\n" + line + "\n") == std::string::npos) {
            if (poll(&readable, 1, 10000) != 1) {
                return false;
            }
            const ssize_t count = read(m_Output, buffer, sizeof buffer);
            if (count <= 0) {
                return false;
            }
            m_Seen.append(buffer, static_cast<std::size_t>(count));
        }
        return true;
    }

    // Closes the child's input and waits until it has ended.
    void Finish() {
        if (m_Input < 0) {
            return;
        }
        close(m_Input);
        m_Input = -1;
        int status = 0;
        if (m_Started) {
            waitpid(m_Process, &status, 0);
        }
    }

private:
    pid_t m_Process = 0;
    bool m_Started = false;
    int m_Input = -1;
    int m_Output = -1;
    std::string m_Seen = "\n";
};

// Writes one line that the parent's WaitForLine sees at once.
inline void TellParent(const std::string& line) {
    std::printf("\n%s\n", line.c_str());
    std::fflush(stdout);
}

// Reads standard input until the parent closes it.
inline void WaitForParentToFinish() {
    char byte;
    while (read(0, &byte, 1) > 0) {
    }
}
