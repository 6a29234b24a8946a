#pragma once
// Test helper: a listening socket on 127.0.0.1 whose owner counts the connections and, when asked,
// adopts each into a test owner's network socket; and a pair of our own sockets made with it, one
// connecting and one adopted.

#include "network/c_ListeningSocket.h"
#include "network/testing/c_TestSocketOwner.h"

#include <functional>
#include <memory>
#include <vector>

class c_AdoptingListener : public c_ListeningSocketOwner {
public:
    c_AdoptingListener() = default;
    ~c_AdoptingListener();
    c_AdoptingListener(const c_AdoptingListener&) = delete;
    c_AdoptingListener& operator=(const c_AdoptingListener&) = delete;

    // On a free port of 127.0.0.1.
    bool Open();
    // A connecting test owner, set up by configure before it connects, once both it and its adopted
    // peer are there; null when that did not happen.
    std::unique_ptr<c_TestSocketOwner> ConnectOwner(const std::function<void(c_TestSocketOwner&)>& configure = {});
    c_TestSocketOwner* GetLastAdopted() const { return m_Adopted.empty() ? nullptr : m_Adopted.back().get(); }
    // Lets the adopted owners go, then closes the listening socket; before the core goes.
    void Close();

    void OnListeningSocketConnection(c_ListeningSocket* listeningSocket, c_SocketWrapper&& accepted,
                                     std::uint32_t peerAddress) override;
    void OnListeningSocketClosed(c_ListeningSocket*) override { ++m_ClosedCount; }

    bool m_Adopt = false;
    // Applied to each adopted owner before it adopts.
    std::function<void(c_TestSocketOwner&)> m_ConfigureAdopted;
    // So many connections make the owner throw before it takes them.
    int m_ThrowsLeft = 0;
    int m_ConnectionCount = 0;
    int m_ClosedCount = 0;
    std::vector<std::uint32_t> m_PeerAddresses;
    std::vector<std::unique_ptr<c_TestSocketOwner>> m_Adopted;
    c_ListeningSocket m_Socket{this, "TestListener"};
};
