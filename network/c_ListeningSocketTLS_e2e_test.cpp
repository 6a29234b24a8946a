// An adopted socket in the TLS server role against `openssl s_client`: the client's line arrives
// decrypted, and ours reaches the client.

#include "network/testing/c_AdoptingListener.h"
#include "network/testing/c_CoreSession.h"
#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// `openssl s_client -quiet` with its standard input and output on pipes; killed by its process id.
class c_OpenSSLClient {
public:
    explicit c_OpenSSLClient(std::uint16_t port) {
        int input[2];
        int output[2];
        if (pipe(input) != 0 || pipe(output) != 0) {
            return;
        }
        std::vector<std::string> arguments = {"openssl", "s_client", "-connect", "127.0.0.1:" + std::to_string(port),
                                              "-tls1_2", "-quiet"};
        std::vector<char*> pointers;
        for (std::string& argument : arguments) {
            pointers.push_back(argument.data());
        }
        pointers.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], 0);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        posix_spawn_file_actions_addclose(&actions, input[1]);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&m_Process, "openssl", &actions, nullptr, pointers.data(), environ) != 0) {
            m_Process = 0;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(input[0]);
        close(output[1]);
        m_Input = input[1];
        m_Output = output[0];
    }
    ~c_OpenSSLClient() {
        if (m_Process > 0) {
            kill(m_Process, SIGTERM);
            waitpid(m_Process, nullptr, 0);
        }
        close(m_Input);
        close(m_Output);
    }
    c_OpenSSLClient(const c_OpenSSLClient&) = delete;
    c_OpenSSLClient& operator=(const c_OpenSSLClient&) = delete;

    bool Write(const std::string& text) const {
        return write(m_Input, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }
    // What the client printed, read until it holds wanted or the output ends or stays silent.
    std::string ReadUntil(const std::string& wanted) const {
        std::string text;
        pollfd ready{m_Output, POLLIN, 0};
        while (text.find(wanted) == std::string::npos && poll(&ready, 1, n_Platform::PROMPTLY_MS) == 1) {
            char bytes[4096];
            const ssize_t count = read(m_Output, bytes, sizeof bytes);
            if (count <= 0) {
                break;
            }
            text.append(bytes, static_cast<std::size_t>(count));
        }
        return text;
    }

private:
    pid_t m_Process = 0;
    int m_Input = -1;
    int m_Output = -1;
};

TEST(ListeningSocketTLS, AdoptedSocketsServeTLSToOpenSSLClient) {
    c_CoreSession session;
    c_AdoptingListener listener;
    listener.m_Adopt = true;
    listener.m_ConfigureAdopted = [](c_TestSocketOwner& owner) { owner.m_SecurityMethod = 3; };
    ASSERT_TRUE(listener.Open());
    c_OpenSSLClient client(listener.m_Socket.GetPort());
    const std::string request = "ping from s_client\n";
    ASSERT_TRUE(client.Write(request));
    ASSERT_TRUE(n_Platform::PumpUntil([&] {
        const c_TestSocketOwner* adopted = listener.GetLastAdopted();
        return adopted != nullptr && adopted->m_Received.GetSize() >= request.size();
    }));
    c_TestSocketOwner& adopted = *listener.GetLastAdopted();
    EXPECT_EQ(std::string(adopted.m_Received.GetView().begin(), adopted.m_Received.GetView().end()), request);
    EXPECT_TRUE(
        session.HasLine("TestSocket (" + std::to_string(adopted.GetIndex()) + ") | Creating socket.  Using TLS 1.2."));

    const std::string reply = "pong from the adopted socket\n";
    adopted.Send(reinterpret_cast<const std::uint8_t*>(reply.data()), static_cast<std::uint32_t>(reply.size()));
    EXPECT_NE(client.ReadUntil(reply).find(reply), std::string::npos);
    listener.Close();
}

} // namespace
