#pragma once
// Test helper: a test owner's socket connected to a plain peer on 127.0.0.1, which the test drives
// with the system's own calls (it reads nothing unless told to).

#include "network/testing/c_TestSocketOwner.h"

#include <functional>
#include <memory>

class c_PeerConnection {
public:
    c_PeerConnection() = default;
    ~c_PeerConnection();
    c_PeerConnection(const c_PeerConnection&) = delete;
    c_PeerConnection& operator=(const c_PeerConnection&) = delete;

    // Listens, connects the owner (configured first when asked) and accepts it.
    bool Accept(const std::function<void(c_TestSocketOwner&)>& configure = {});
    // Accept, then pumps until the owner hears it is connected.
    bool Open(const std::function<void(c_TestSocketOwner&)>& configure = {});
    // Lets the owner go, then closes the peer and the listener; before the core goes.
    void Close();
    // Queues bytes until the peer, which reads nothing, leaves writes waiting in the socket.
    void FillUntilWritesWait();

    int m_Listener = -1;
    // -1 once the test has closed it.
    int m_Peer = -1;
    std::unique_ptr<c_TestSocketOwner> m_p_Owner;
};
