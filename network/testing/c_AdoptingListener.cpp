// Test helper: a listening socket that adopts what it accepts.

#include "network/testing/c_AdoptingListener.h"

#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"

#include <stdexcept>

namespace {

constexpr std::uint32_t LOOPBACK = 0x7F000001;

} // namespace

c_AdoptingListener::~c_AdoptingListener() {
    Close();
}

bool c_AdoptingListener::Open() {
    return m_Socket.Open(n_PosixPeer::FindClosedPort(), LOOPBACK);
}

void c_AdoptingListener::Close() {
    m_Adopted.clear();
    m_Socket.Close();
}

void c_AdoptingListener::OnListeningSocketConnection(c_ListeningSocket*, c_SocketWrapper&& accepted,
                                                     std::uint32_t peerAddress) {
    ++m_ConnectionCount;
    m_PeerAddresses.push_back(peerAddress);
    if (m_ThrowsLeft > 0) {
        --m_ThrowsLeft;
        throw std::runtime_error("owner failure");
    }
    if (!m_Adopt) {
        return;
    }
    auto owner = std::make_unique<c_TestSocketOwner>(c_String(), 0);
    if (m_ConfigureAdopted) {
        m_ConfigureAdopted(*owner);
    }
    if (owner->Adopt(std::move(accepted), peerAddress)) {
        m_Adopted.push_back(std::move(owner));
    }
}

std::unique_ptr<c_TestSocketOwner>
c_AdoptingListener::ConnectOwner(const std::function<void(c_TestSocketOwner&)>& configure) {
    auto owner = std::make_unique<c_TestSocketOwner>("127.0.0.1", m_Socket.GetPort());
    if (configure) {
        configure(*owner);
    }
    const std::size_t adopted = m_Adopted.size();
    if (!owner->Connect() ||
        !n_Platform::PumpUntil([&] { return owner->HasEvent(SOCKET_EVENT_CONNECTED) && m_Adopted.size() > adopted; })) {
        return nullptr;
    }
    return owner;
}
