#pragma once
// Test helper: `openssl s_server -www` on 127.0.0.1 at a port of its own choice. The constructor
// returns once the server prints its ACCEPT line; the destructor stops it by its process id.

#include <cstdio>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

class c_OpenSSLServer {
public:
    // options follow "s_server -accept 127.0.0.1:0 -www".
    explicit c_OpenSSLServer(const std::vector<std::string>& options) {
        std::vector<std::string> arguments = {"openssl", "s_server", "-accept", "127.0.0.1:0", "-www"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        int output[2];
        if (pipe(output) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<char*> pointers;
        for (std::string& argument : arguments) {
            pointers.push_back(argument.data());
        }
        pointers.push_back(nullptr);
        if (posix_spawnp(&m_Process, "openssl", &actions, nullptr, pointers.data(), environ) != 0) {
            m_Process = 0;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(output[1]);
        m_p_Output = fdopen(output[0], "r");
        ReadPort();
    }
    ~c_OpenSSLServer() {
        if (m_Process > 0) {
            kill(m_Process, SIGTERM);
            waitpid(m_Process, nullptr, 0);
        }
        if (m_p_Output != nullptr) {
            fclose(m_p_Output);
        }
    }
    c_OpenSSLServer(const c_OpenSSLServer&) = delete;
    c_OpenSSLServer& operator=(const c_OpenSSLServer&) = delete;

    // 0 when the server did not start.
    int GetPort() const { return m_Port; }

private:
    // Blocks on the server's output until "ACCEPT 127.0.0.1:<port>", or its end.
    void ReadPort() {
        char line[512];
        while (m_p_Output != nullptr && m_Process > 0 && fgets(line, sizeof line, m_p_Output) != nullptr) {
            if (std::sscanf(line, "ACCEPT 127.0.0.1:%d", &m_Port) == 1) {
                return;
            }
        }
    }

    pid_t m_Process = 0;
    FILE* m_p_Output = nullptr;
    int m_Port = 0;
};
