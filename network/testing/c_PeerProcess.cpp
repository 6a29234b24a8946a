// Test helper: a peer program started by a test and stopped by its process id.

#include "network/testing/c_PeerProcess.h"

#include "platform/testing/PumpUntil.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

c_PeerProcess::c_PeerProcess(const std::vector<std::string>& arguments) {
    std::vector<std::string> copies = arguments;
    std::vector<char*> pointers;
    for (std::string& argument : copies) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&m_Process, pointers[0], &actions, nullptr, pointers.data(), environ) != 0) {
        m_Process = 0;
    }
    posix_spawn_file_actions_destroy(&actions);
}

c_PeerProcess::~c_PeerProcess() {
    if (m_Process > 0) {
        kill(m_Process, SIGTERM);
        waitpid(m_Process, nullptr, 0);
    }
}

bool c_PeerProcess::WaitUntilListening(const std::string& address, std::uint16_t port) {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &target.sin_addr) != 1) {
        return false;
    }
    return n_Platform::WaitUntil([&] {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0;
        close(fd);
        return connected;
    });
}
