// An adopted socket in the TLS server role against `openssl s_client`: the client's line arrives
// decrypted, and ours reaches the client.

#include "network/testing/c_AdoptingListener.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_PeerProcess.h"
#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace {

// `openssl s_client -quiet` with its standard input and output on pipes; killed by its process id.
class c_OpenSSLClient {
public:
    explicit c_OpenSSLClient(std::uint16_t port)
        : m_Process({"openssl", "s_client", "-connect", "127.0.0.1:" + std::to_string(port), "-tls1_2", "-quiet"},
                    e_PeerOutput::STANDARD_OUTPUT, true) {}

    bool Write(const std::string& text) const {
        return write(m_Process.GetInput(), text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }
    // What the client printed, read until it holds wanted or the output ends or stays silent.
    std::string ReadUntil(const std::string& wanted) const {
        std::string text;
        const int output = fileno(m_Process.GetOutput());
        pollfd ready{output, POLLIN, 0};
        while (text.find(wanted) == std::string::npos && poll(&ready, 1, n_Platform::PROMPTLY_MS) == 1) {
            char bytes[4096];
            const ssize_t count = read(output, bytes, sizeof bytes);
            if (count <= 0) {
                break;
            }
            text.append(bytes, static_cast<std::size_t>(count));
        }
        return text;
    }

private:
    c_PeerProcess m_Process;
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
