#pragma once
// c_Socks5Client: the client side of a SOCKS 5 handshake (RFC 1928, with the user name and password
// authentication of RFC 1929) as a byte machine: it stages the messages to send and reads the
// proxy's answers from the bytes it is given. It never sees a socket; the network socket sends what
// is staged and feeds what arrives.
//
// What the client sends:
//   greeting     = 05 02 00 02                           ; methods: none, user name and password
//   credentials  = 01 ULEN UNAME PLEN PASSWD             ; each cut to 255 bytes
//   connect      = 05 01 00 03 HLEN HOST PORT-HI PORT-LO ; the domain-name form; the proxy resolves
// What the proxy answers:
//   method       = VER METHOD                            ; VER 5; METHOD 0 or 2, 0xFF none acceptable
//   auth-status  = VER STATUS                            ; STATUS 0 is success
//   reply        = 05 REP RSV ATYP BND.ADDR BND.PORT
//                  ATYP 1: 4 address bytes; ATYP 3: a length byte and that many; ATYP 4: 16
// Bytes after the reply belong to the connection: once connected they are what the receive buffer
// holds, and before that nothing received is handed out.

#include "network/c_Socks5ConnectionSettings.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>

class c_Socks5Client {
public:
    static constexpr std::int32_t STATE_NONE = 0;
    static constexpr std::int32_t STATE_GREETING_DUE = 1;
    static constexpr std::int32_t STATE_METHOD = 2;
    static constexpr std::int32_t STATE_AUTHENTICATION = 3;
    static constexpr std::int32_t STATE_REPLY = 4;
    static constexpr std::int32_t STATE_FAILED = 5;
    static constexpr std::int32_t STATE_CONNECTED = 6;
    static constexpr std::uint32_t MAX_FIELD_LENGTH = 255;

    enum e_Step {
        STEP_WAIT,             // more bytes are needed
        STEP_SEND_CREDENTIALS, // the credentials are staged
        STEP_SEND_CONNECT,     // the CONNECT request is staged
        STEP_CONNECTED,        // the bytes after the reply are the connection's
        STEP_FAILED,           // GetFailureText says why
    };

    // The failure text of settings that cannot make a CONNECT request, or null.
    static const char* CheckSettings(const c_Socks5ConnectionSettings& settings);

    // The connect to the proxy has started: the greeting is due.
    void Start();
    // Stages the greeting; false when memory fails.
    bool StageGreeting();
    // Keeps received bytes for the next step; a failed handshake keeps nothing. False when memory fails.
    bool AddReceivedBytes(const std::uint8_t* data, std::uint32_t size);
    // Takes the next answer from the received bytes, when it is whole.
    e_Step Advance(const c_Socks5ConnectionSettings& settings);

    std::int32_t GetState() const { return m_Socks5State; }
    bool IsHandshakeInProgress() const { return m_Socks5State != STATE_NONE && m_Socks5State != STATE_CONNECTED; }
    const char* GetFailureText() const { return m_p_FailureText; }
    // The staged message; the sender empties it.
    c_ByteBuffer& GetSendBuffer() { return m_Socks5SendBuffer; }
    // Once connected: the bytes that followed the reply; the taker empties it.
    c_ByteBuffer& GetReceiveBuffer() { return m_Socks5ReceiveBuffer; }

private:
    e_Step AdvanceMethod(const c_Socks5ConnectionSettings& settings);
    e_Step AdvanceAuthentication(const c_Socks5ConnectionSettings& settings);
    e_Step AdvanceReply();
    e_Step StageCredentials(const c_Socks5ConnectionSettings& settings);
    e_Step StageConnect(const c_Socks5ConnectionSettings& settings);
    e_Step Fail(const char* text);
    bool AppendField(const c_String& field);

    std::int32_t m_Socks5State = STATE_NONE;
    c_ByteBuffer m_Socks5SendBuffer;
    c_ByteBuffer m_Socks5ReceiveBuffer;
    const char* m_p_FailureText = nullptr;
};
