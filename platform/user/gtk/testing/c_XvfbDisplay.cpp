// c_XvfbDisplay: Xvfb by PID, its display number read from the pipe it writes it to.

#include "platform/user/gtk/testing/c_XvfbDisplay.h"

#include "platform/testing/PumpUntil.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

pid_t Spawn(const std::vector<std::string>& arguments) {
    std::vector<char*> pointers;
    for (const std::string& argument : arguments) {
        pointers.push_back(const_cast<char*>(argument.c_str()));
    }
    pointers.push_back(nullptr);
    pid_t child = -1;
    return posix_spawnp(&child, pointers[0], nullptr, nullptr, pointers.data(), environ) == 0 ? child : -1;
}

bool EndedWell(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

namespace n_Platform {

c_XvfbDisplay::c_XvfbDisplay() {
    Start();
    if (IsRunning()) {
        setenv("DISPLAY", m_Name.c_str(), 1);
    }
}

c_XvfbDisplay::~c_XvfbDisplay() {
    if (m_Server > 0) {
        kill(m_Server, SIGTERM);
        EndedWell(m_Server);
    }
}

void c_XvfbDisplay::Start() {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        m_Problem = "no pipe";
        return;
    }
    // Only the write end reaches the server.
    fcntl(pipeEnds[1], F_SETFD, 0);
    m_Server = Spawn({"Xvfb", "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0", "1024x768x24", "-nolisten",
                      "tcp", "-noreset"});
    close(pipeEnds[1]);
    if (m_Server < 0) {
        close(pipeEnds[0]);
        m_Problem = "Xvfb cannot be started (is the xvfb package installed?)";
        return;
    }
    // The server writes its display number once it takes clients, or ends and closes the pipe.
    fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
    std::string number;
    bool ended = false;
    WaitUntil([&] {
        char digits[16];
        const ssize_t got = read(pipeEnds[0], digits, sizeof digits);
        if (got > 0) {
            number.append(digits, static_cast<std::size_t>(got));
        }
        ended = got == 0;
        return ended || number.find('\n') != std::string::npos;
    });
    close(pipeEnds[0]);
    if (number.find('\n') == std::string::npos) {
        m_Problem = ended ? "Xvfb ended at start" : "Xvfb did not start promptly";
        return;
    }
    m_Name = ":" + number.substr(0, number.find('\n'));
}

bool c_XvfbDisplay::RunClient(const std::vector<std::string>& arguments) const {
    const pid_t client = Spawn(arguments);
    return client > 0 && EndedWell(client);
}

} // namespace n_Platform
