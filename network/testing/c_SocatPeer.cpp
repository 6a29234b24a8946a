// Test helper: `socat` on 127.0.0.1.

#include "network/testing/c_SocatPeer.h"

#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

c_SocatPeer::c_SocatPeer(const std::string& address, const std::string& listen) {
    std::vector<std::string> arguments = {"socat", "-d", "-d", "-b", "4096", listen, address};
    int output[2];
    if (pipe(output) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], 2);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    if (posix_spawnp(&m_Process, "socat", &actions, nullptr, pointers.data(), environ) != 0) {
        m_Process = 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    m_p_Output = fdopen(output[0], "r");
    char line[512];
    while (m_p_Output != nullptr && m_Process > 0 && fgets(line, sizeof line, m_p_Output) != nullptr) {
        // "listening on AF=2 ..." for TCP, "listening on UDP AF=2 ..." for UDP.
        const char* found = std::strstr(line, "listening on ");
        found = found != nullptr ? std::strstr(found, "AF=2 127.0.0.1:") : nullptr;
        if (found != nullptr) {
            m_Port = static_cast<std::uint16_t>(std::atoi(found + std::strlen("AF=2 127.0.0.1:")));
            return;
        }
    }
}

c_SocatPeer::~c_SocatPeer() {
    if (m_Process > 0) {
        kill(m_Process, SIGTERM);
        waitpid(m_Process, nullptr, 0);
    }
    if (m_p_Output != nullptr) {
        fclose(m_p_Output);
    }
}
