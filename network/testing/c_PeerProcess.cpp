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

namespace {

// A pipe whose ends the test keeps are closed in the child by O_CLOEXEC.
bool OpenPipe(int ends[2]) {
    return pipe2(ends, O_CLOEXEC) == 0;
}

} // namespace

c_PeerProcess::c_PeerProcess(const std::vector<std::string>& arguments, e_PeerOutput output, bool pipedInput) {
    int outputEnds[2] = {-1, -1};
    int inputEnds[2] = {-1, -1};
    if ((output != e_PeerOutput::DISCARDED && !OpenPipe(outputEnds)) || (pipedInput && !OpenPipe(inputEnds))) {
        return;
    }
    const int pipedStream = output == e_PeerOutput::STANDARD_OUTPUT  ? 1
                            : output == e_PeerOutput::STANDARD_ERROR ? 2
                                                                     : 0;
    std::vector<std::string> copies = arguments;
    std::vector<char*> pointers;
    for (std::string& argument : copies) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const int stream : {1, 2}) {
        if (stream == pipedStream) {
            posix_spawn_file_actions_adddup2(&actions, outputEnds[1], stream);
        } else {
            posix_spawn_file_actions_addopen(&actions, stream, "/dev/null", O_WRONLY, 0);
        }
    }
    if (pipedInput) {
        posix_spawn_file_actions_adddup2(&actions, inputEnds[0], 0);
    }
    if (posix_spawnp(&m_Process, pointers[0], &actions, nullptr, pointers.data(), environ) != 0) {
        m_Process = 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (pipedStream != 0) {
        close(outputEnds[1]);
        m_p_Output = fdopen(outputEnds[0], "r");
    }
    if (pipedInput) {
        close(inputEnds[0]);
        m_Input = inputEnds[1];
    }
}

c_PeerProcess::~c_PeerProcess() {
    if (m_Process > 0) {
        kill(m_Process, SIGTERM);
        waitpid(m_Process, nullptr, 0);
    }
    if (m_p_Output != nullptr) {
        fclose(m_p_Output);
    }
    if (m_Input >= 0) {
        close(m_Input);
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
