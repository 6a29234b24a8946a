#pragma once
// Test helper: `openssl s_server -www` on 127.0.0.1 at a port of its own choice. The constructor
// returns once the server prints its ACCEPT line; the destructor stops it by its process id.

#include "network/testing/c_PeerProcess.h"

#include <cstdio>
#include <string>
#include <vector>

class c_OpenSSLServer {
public:
    // options follow "s_server -accept 127.0.0.1:0 -www".
    explicit c_OpenSSLServer(const std::vector<std::string>& options)
        : m_Process(Arguments(options), e_PeerOutput::STANDARD_OUTPUT) {
        ReadPort();
    }

    // 0 when the server did not start.
    int GetPort() const { return m_Port; }

private:
    static std::vector<std::string> Arguments(const std::vector<std::string>& options) {
        std::vector<std::string> arguments = {"openssl", "s_server", "-accept", "127.0.0.1:0", "-www"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return arguments;
    }
    // Blocks on the server's output until "ACCEPT 127.0.0.1:<port>", or its end.
    void ReadPort() {
        char line[512];
        FILE* output = m_Process.GetOutput();
        while (output != nullptr && m_Process.IsStarted() && fgets(line, sizeof line, output) != nullptr) {
            if (std::sscanf(line, "ACCEPT 127.0.0.1:%d", &m_Port) == 1) {
                return;
            }
        }
    }

    c_PeerProcess m_Process;
    int m_Port = 0;
};
