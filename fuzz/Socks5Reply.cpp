// Fuzz target: c_Socks5Client from each state that waits for the proxy (the method selection, the
// authentication status, the CONNECT reply), fed arbitrary bytes in arbitrary slices. Nothing the
// proxy sends reaches the connection's data before the handshake has connected; once it has, the
// data is exactly the input after the handshake's answers; any slicing ends as one feed does.

#include "fuzz/FuzzInput.h"
#include "network/c_Socks5Client.h"

#include <string>

namespace {

struct s_Outcome {
    std::int32_t m_State = 0;
    std::string m_Failure;
    std::string m_Sent; // staged after the starting state was reached
    std::string m_Data; // what the socket would pass on as the connection's bytes
};

void Append(std::string& to, const c_ByteBuffer& from) {
    to.append(reinterpret_cast<const char*>(from.GetData()), from.GetSize());
}

// Advances as the socket does after each arrival, taking what is staged, and once connected moves
// the bytes behind the reply to the data.
void Advance(c_Socks5Client& client, const c_Socks5ConnectionSettings& settings, s_Outcome& outcome) {
    for (;;) {
        const c_Socks5Client::e_Step step = client.Advance(settings);
        Append(outcome.m_Sent, client.GetSendBuffer());
        client.GetSendBuffer().Clear(false);
        if (step == c_Socks5Client::STEP_CONNECTED) {
            Append(outcome.m_Data, client.GetReceiveBuffer());
            client.GetReceiveBuffer().Clear(false);
        }
        if (step == c_Socks5Client::STEP_WAIT || step == c_Socks5Client::STEP_CONNECTED ||
            step == c_Socks5Client::STEP_FAILED) {
            return;
        }
    }
}

// start: 2, 3 or 4, reached through well-formed answers.
c_Socks5Client Begin(std::uint32_t start, const c_Socks5ConnectionSettings& settings) {
    c_Socks5Client client;
    client.Start();
    client.StageGreeting();
    if (start > c_Socks5Client::STATE_METHOD) {
        const std::uint8_t method[] = {5, start == c_Socks5Client::STATE_AUTHENTICATION ? std::uint8_t{2}
                                                                                        : std::uint8_t{0}};
        client.AddReceivedBytes(method, sizeof method);
        s_Outcome ignored;
        Advance(client, settings, ignored);
    }
    client.GetSendBuffer().Clear(false);
    return client;
}

s_Outcome Run(std::uint32_t start, const c_Socks5ConnectionSettings& settings, const std::vector<std::uint8_t>& bytes,
              c_SliceSizes* slices) {
    c_Socks5Client client = Begin(start, settings);
    FUZZ_CHECK(client.GetState() == static_cast<std::int32_t>(start));
    s_Outcome outcome;
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        std::size_t count = slices != nullptr ? slices->Next() : bytes.size();
        count = count < bytes.size() - offset ? count : bytes.size() - offset;
        const std::uint8_t* slice = bytes.data() + offset;
        offset += count;
        if (client.GetState() == c_Socks5Client::STATE_CONNECTED) {
            // The socket passes later bytes on as data without the client.
            outcome.m_Data.append(reinterpret_cast<const char*>(slice), count);
            continue;
        }
        FUZZ_CHECK(outcome.m_Data.empty());
        FUZZ_CHECK(client.AddReceivedBytes(slice, static_cast<std::uint32_t>(count)));
        Advance(client, settings, outcome);
    }
    outcome.m_State = client.GetState();
    outcome.m_Failure = client.GetFailureText() != nullptr ? client.GetFailureText() : "";
    if (outcome.m_State != c_Socks5Client::STATE_CONNECTED) {
        FUZZ_CHECK(outcome.m_Data.empty());
    }
    if (outcome.m_State == c_Socks5Client::STATE_FAILED) {
        FUZZ_CHECK(!outcome.m_Failure.empty() && outcome.m_Failure.compare(0, 7, "Socks5 ") == 0);
    }
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    c_FuzzInput input(data, size);
    const std::uint32_t start = input.TakeInt(c_Socks5Client::STATE_METHOD, c_Socks5Client::STATE_REPLY);
    c_Socks5ConnectionSettings settings;
    settings.m_UseSocks5 = true;
    settings.m_Host = c_String(std::string(input.TakeInt(0, 255), 'h').c_str());
    settings.m_Port = static_cast<std::int32_t>(input.TakeInt(0, 65535));
    settings.m_UserName = c_String(std::string(input.TakeInt(0, 300), 'u').c_str());
    const std::uint32_t seed = input.TakeInt(0, UINT32_MAX);
    const std::uint32_t largest = input.TakeInt(1, 64);
    const std::vector<std::uint8_t> bytes = input.TakeRest();

    const s_Outcome whole = Run(start, settings, bytes, nullptr);
    c_SliceSizes slices(seed, largest);
    const s_Outcome sliced = Run(start, settings, bytes, &slices);
    FUZZ_CHECK(sliced.m_State == whole.m_State);
    FUZZ_CHECK(sliced.m_Failure == whole.m_Failure);
    FUZZ_CHECK(sliced.m_Sent == whole.m_Sent);
    FUZZ_CHECK(sliced.m_Data == whole.m_Data);
    // The data is the input's tail behind the answers, which are at least a whole minimal reply.
    const std::string input_text(bytes.begin(), bytes.end());
    FUZZ_CHECK(whole.m_Data.size() <= input_text.size());
    FUZZ_CHECK(input_text.compare(input_text.size() - whole.m_Data.size(), std::string::npos, whole.m_Data) == 0);
    if (whole.m_State == c_Socks5Client::STATE_CONNECTED) {
        // The shortest reply: a domain-name address of no bytes.
        FUZZ_CHECK(input_text.size() - whole.m_Data.size() >= 7);
    }
    return 0;
}
