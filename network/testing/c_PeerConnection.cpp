// c_PeerConnection: the listener, the accepted peer and the owner, closed in that order's reverse.

#include "network/testing/c_PeerConnection.h"

#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"

#include <cstdint>
#include <vector>

c_PeerConnection::~c_PeerConnection() {
    Close();
}

void c_PeerConnection::Close() {
    m_p_Owner.reset();
    if (m_Peer >= 0) {
        n_PosixPeer::Close(m_Peer);
        m_Peer = -1;
    }
    if (m_Listener >= 0) {
        n_PosixPeer::Close(m_Listener);
        m_Listener = -1;
    }
}

bool c_PeerConnection::Accept(const std::function<void(c_TestSocketOwner&)>& configure) {
    std::uint16_t port = 0;
    m_Listener = n_PosixPeer::Listen(&port, 4);
    // A small fixed window keeps the kernel from taking in what the owner's send buffers hold, so
    // writes that wait keep waiting.
    n_PosixPeer::SetReceiveBufferSize(m_Listener, 16384);
    m_p_Owner = std::make_unique<c_TestSocketOwner>("127.0.0.1", port);
    if (configure) {
        configure(*m_p_Owner);
    }
    if (!m_p_Owner->Connect()) {
        return false;
    }
    m_Peer = n_PosixPeer::Accept(m_Listener);
    return m_Peer >= 0;
}

bool c_PeerConnection::Open(const std::function<void(c_TestSocketOwner&)>& configure) {
    return Accept(configure) && n_Platform::PumpUntil([&] { return m_p_Owner->HasEvent(SOCKET_EVENT_CONNECTED); });
}

void c_PeerConnection::FillUntilWritesWait() {
    const std::vector<std::uint8_t> block(1048576, 0x5A);
    for (int sent = 0; sent < 48; ++sent) {
        m_p_Owner->Send(block.data(), static_cast<std::uint32_t>(block.size()));
        n_Platform::PumpPending();
    }
}
