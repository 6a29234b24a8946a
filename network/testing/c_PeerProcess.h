#pragma once
// Test helper: a peer program started by a test, stopped by its process id when the object goes.
// Its output is thrown away unless one of its streams is piped to the test, and its standard input
// may be piped too.

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/types.h>
#include <vector>

enum class e_PeerOutput { DISCARDED, STANDARD_OUTPUT, STANDARD_ERROR };

class c_PeerProcess {
public:
    // arguments[0] is looked up on PATH. The output stream not piped is thrown away.
    explicit c_PeerProcess(const std::vector<std::string>& arguments, e_PeerOutput output = e_PeerOutput::DISCARDED,
                           bool pipedInput = false);
    ~c_PeerProcess();
    c_PeerProcess(const c_PeerProcess&) = delete;
    c_PeerProcess& operator=(const c_PeerProcess&) = delete;

    bool IsStarted() const { return m_Process > 0; }
    // The piped output; null when none is piped or the program did not start.
    FILE* GetOutput() const { return m_p_Output; }
    // The write end of the piped standard input; -1 when not piped.
    int GetInput() const { return m_Input; }
    // Waits (real time) until a TCP connect to address:port succeeds.
    static bool WaitUntilListening(const std::string& address, std::uint16_t port);

private:
    pid_t m_Process = 0;
    FILE* m_p_Output = nullptr;
    int m_Input = -1;
};
