#pragma once
// Test helper: Winsock started for a test, and a layer socket connected over loopback to a peer
// that uses the system's socket calls.

#include "platform/testing/PosixPeer.h"

#include <winsock2.h>

#include <cstdint>

namespace n_Platform {

class c_WinsockSession {
public:
    c_WinsockSession() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~c_WinsockSession() { WSACleanup(); }
    c_WinsockSession(const c_WinsockSession&) = delete;
    c_WinsockSession& operator=(const c_WinsockSession&) = delete;
};

inline sockaddr_in MakeLoopbackAddress(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// The layer's socket and the peer's descriptor; both closed at the end.
class c_LoopbackPair {
public:
    c_LoopbackPair() {
        std::uint16_t port = 0;
        const int listener = n_PosixPeer::Listen(&port, 1);
        m_Socket = socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in address = MakeLoopbackAddress(port);
        connect(m_Socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        m_Peer = n_PosixPeer::Accept(listener);
        n_PosixPeer::Close(listener);
    }
    ~c_LoopbackPair() {
        closesocket(m_Socket);
        if (m_Peer >= 0) {
            n_PosixPeer::Close(m_Peer);
        }
    }
    c_LoopbackPair(const c_LoopbackPair&) = delete;
    c_LoopbackPair& operator=(const c_LoopbackPair&) = delete;

    // The peer's descriptor, which the caller now closes.
    int TakePeer() {
        const int peer = m_Peer;
        m_Peer = -1;
        return peer;
    }

    SOCKET m_Socket = INVALID_SOCKET;
    int m_Peer = -1;
};

} // namespace n_Platform
