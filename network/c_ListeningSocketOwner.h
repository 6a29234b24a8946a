#pragma once
// c_ListeningSocketOwner: what a listening socket tells its owner, on the thread that opened it.

#include "network/c_SocketWrapper.h"

#include <cstdint>

class c_ListeningSocket;

class c_ListeningSocketOwner {
public:
    // What the owner does not move out of accepted is closed when the call returns.
    virtual void OnListeningSocketConnection(c_ListeningSocket* listeningSocket, c_SocketWrapper&& accepted,
                                             std::uint32_t peerAddress) = 0;
    virtual void OnListeningSocketClosed(c_ListeningSocket* listeningSocket) = 0;

protected:
    ~c_ListeningSocketOwner() = default;
};
