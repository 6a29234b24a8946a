// c_Socks5Client: the client side of a SOCKS 5 handshake as a byte machine.

#include "network/c_Socks5Client.h"

#include <algorithm>

namespace {

constexpr std::uint8_t VERSION = 5;
constexpr std::uint8_t METHOD_NONE = 0;
constexpr std::uint8_t METHOD_PASSWORD = 2;
constexpr std::uint8_t METHOD_REFUSED = 0xFF;
constexpr std::uint8_t PASSWORD_VERSION = 1;
constexpr std::uint8_t COMMAND_CONNECT = 1;
constexpr std::uint8_t ADDRESS_IPV4 = 1;
constexpr std::uint8_t ADDRESS_DOMAIN = 3;
constexpr std::uint8_t ADDRESS_IPV6 = 4;
constexpr std::uint32_t REPLY_HEAD = 4;

constexpr const char* REPLY_TEXTS[] = {
    "Socks5 general server failure", "Socks5 connection not allowed by ruleset",
    "Socks5 network unreachable",    "Socks5 host unreachable",
    "Socks5 connection refused",     "Socks5 TTL expired",
    "Socks5 command not supported",  "Socks5 address type not supported",
};

const char* GetReplyText(std::uint8_t code) {
    return code >= 1 && code <= 8 ? REPLY_TEXTS[code - 1] : "Socks5 unknown error";
}

// The whole reply's length once its head is there, 0 for an address type that has none.
std::uint32_t GetReplyLength(const std::uint8_t* reply, std::uint32_t available) {
    switch (reply[3]) {
        case ADDRESS_IPV4:
            return 10;
        case ADDRESS_DOMAIN:
            return available > REPLY_HEAD ? 7 + static_cast<std::uint32_t>(reply[4]) : REPLY_HEAD + 1;
        case ADDRESS_IPV6:
            return 22;
        default:
            return 0;
    }
}

} // namespace

const char* c_Socks5Client::CheckSettings(const c_Socks5ConnectionSettings& settings) {
    if (static_cast<std::uint32_t>(settings.m_Host.GetLength()) > MAX_FIELD_LENGTH) {
        return "Socks5 host name is longer than 255 bytes";
    }
    return nullptr;
}

void c_Socks5Client::Start() {
    m_Socks5State = STATE_GREETING_DUE;
    m_Socks5SendBuffer.Clear(false);
    m_Socks5ReceiveBuffer.Clear(false);
    m_p_FailureText = nullptr;
}

bool c_Socks5Client::StageGreeting() {
    static constexpr std::uint8_t GREETING[] = {VERSION, 2, METHOD_NONE, METHOD_PASSWORD};
    m_Socks5State = STATE_METHOD;
    return m_Socks5SendBuffer.Append(GREETING, sizeof GREETING);
}

bool c_Socks5Client::AddReceivedBytes(const std::uint8_t* data, std::uint32_t size) {
    return m_Socks5State == STATE_FAILED || m_Socks5ReceiveBuffer.Append(data, size);
}

c_Socks5Client::e_Step c_Socks5Client::Advance(const c_Socks5ConnectionSettings& settings) {
    switch (m_Socks5State) {
        case STATE_METHOD:
            return AdvanceMethod(settings);
        case STATE_AUTHENTICATION:
            return AdvanceAuthentication(settings);
        case STATE_REPLY:
            return AdvanceReply();
        default:
            return STEP_WAIT;
    }
}

c_Socks5Client::e_Step c_Socks5Client::AdvanceMethod(const c_Socks5ConnectionSettings& settings) {
    if (m_Socks5ReceiveBuffer.GetSize() < 2) {
        return STEP_WAIT;
    }
    const std::uint8_t* answer = m_Socks5ReceiveBuffer.GetData();
    if (answer[0] != VERSION) {
        return Fail("Socks5 server reported unsupported version");
    }
    const std::uint8_t method = answer[1];
    if (method == METHOD_REFUSED) {
        return Fail("Socks5 server rejected suggested methods");
    }
    if (method != METHOD_NONE && method != METHOD_PASSWORD) {
        return Fail("Socks5 server chose a method that was not offered");
    }
    m_Socks5ReceiveBuffer.Consume(2);
    return method == METHOD_PASSWORD ? StageCredentials(settings) : StageConnect(settings);
}

c_Socks5Client::e_Step c_Socks5Client::AdvanceAuthentication(const c_Socks5ConnectionSettings& settings) {
    if (m_Socks5ReceiveBuffer.GetSize() < 2) {
        return STEP_WAIT;
    }
    if (m_Socks5ReceiveBuffer.GetData()[1] != 0) {
        return Fail("Socks5 server rejected username or password");
    }
    m_Socks5ReceiveBuffer.Consume(2);
    return StageConnect(settings);
}

// A failure code ends the handshake as soon as it is seen; a success waits for the whole reply, so
// that no byte of it is taken for the connection's.
c_Socks5Client::e_Step c_Socks5Client::AdvanceReply() {
    const std::uint32_t available = m_Socks5ReceiveBuffer.GetSize();
    if (available < REPLY_HEAD) {
        return STEP_WAIT;
    }
    const std::uint8_t* reply = m_Socks5ReceiveBuffer.GetData();
    if (reply[1] != 0) {
        return Fail(GetReplyText(reply[1]));
    }
    const std::uint32_t length = GetReplyLength(reply, available);
    if (length == 0) {
        return Fail("Socks5 server replied with an unknown address type");
    }
    if (available < length) {
        return STEP_WAIT;
    }
    m_Socks5ReceiveBuffer.Consume(length);
    m_Socks5State = STATE_CONNECTED;
    return STEP_CONNECTED;
}

bool c_Socks5Client::AppendField(const c_String& field) {
    const auto length = std::min(static_cast<std::uint32_t>(field.GetLength()), MAX_FIELD_LENGTH);
    return m_Socks5SendBuffer.AppendByte(static_cast<std::uint8_t>(length)) &&
           m_Socks5SendBuffer.Append(field.GetChars(), length);
}

c_Socks5Client::e_Step c_Socks5Client::StageCredentials(const c_Socks5ConnectionSettings& settings) {
    m_Socks5State = STATE_AUTHENTICATION;
    if (!m_Socks5SendBuffer.AppendByte(PASSWORD_VERSION) || !AppendField(settings.m_UserName) ||
        !AppendField(settings.m_Password)) {
        return Fail("Socks5 out of memory");
    }
    return STEP_SEND_CREDENTIALS;
}

c_Socks5Client::e_Step c_Socks5Client::StageConnect(const c_Socks5ConnectionSettings& settings) {
    if (const char* refused = CheckSettings(settings)) {
        return Fail(refused);
    }
    m_Socks5State = STATE_REPLY;
    static constexpr std::uint8_t HEAD[] = {VERSION, COMMAND_CONNECT, 0, ADDRESS_DOMAIN};
    const std::uint8_t port[] = {static_cast<std::uint8_t>(settings.m_Port >> 8),
                                 static_cast<std::uint8_t>(settings.m_Port)};
    if (!m_Socks5SendBuffer.Append(HEAD, sizeof HEAD) || !AppendField(settings.m_Host) ||
        !m_Socks5SendBuffer.Append(port, sizeof port)) {
        return Fail("Socks5 out of memory");
    }
    return STEP_SEND_CONNECT;
}

c_Socks5Client::e_Step c_Socks5Client::Fail(const char* text) {
    m_Socks5State = STATE_FAILED;
    m_p_FailureText = text;
    m_Socks5ReceiveBuffer.Clear(false);
    return STEP_FAILED;
}
