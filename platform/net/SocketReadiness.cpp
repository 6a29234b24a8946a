// What the reactor reports, turned into progress: connects finish, pending receives and sends
// move on, the peer's close and waiting connections are recorded, and connect deadlines pass.

#include "platform/kernel/Clock.h"
#include "platform/net/Reactor.h"
#include "platform/net/SocketOperations.h"
#include "platform/net/WinsockErrors.h"
#include "platform/net/internal/PosixSockets.h"

namespace n_Platform {

namespace {

void CheckConnect(c_Socket& socket, unsigned readiness) {
    if (!socket.m_Connecting || (readiness & (READY_WRITE | READY_FAILED)) == 0) {
        return;
    }
    // A socket watched before its connect began reports writable and hung up once, for its unconnected
    // state: without an error and without a peer, the connect is still on its way.
    const int error = n_PosixSockets::TakePendingError(socket.m_Fd);
    if (error == 0 && !n_PosixSockets::HasPeer(socket.m_Fd)) {
        return;
    }
    SetSocketDeadline(socket.m_Id, NO_DEADLINE);
    FinishConnect(socket, WinsockErrorFromErrno(error));
}

// Run by a thread that takes the port's packets.
void FillHandedReceives(ULONG_PTR id) {
    std::shared_ptr<c_Socket> socket = FindSocket(id);
    if (socket == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    socket->m_ReceivesHandedToPort = false;
    if (socket->m_Closed) {
        return;
    }
    ProgressReceives(*socket);
    UpdateInterest(*socket);
}

// New bytes for the pending receives of a socket tied to a port are received by the thread that
// takes the port's packets, not here: the bytes are copied on the thread that consumes them, one
// hand-over serves every buffer it fills, and that thread's next receive finds the socket's lock
// free. The end of the stream and errors are still handled here, as they come.
void MoveReceivesOn(c_Socket& socket, unsigned readiness) {
    if (socket.m_Receives.empty()) {
        return;
    }
    const bool bytesOnly = (readiness & (READY_PEER_CLOSED | READY_FAILED)) == 0;
    // Writable alone brings no bytes.
    if (bytesOnly && (readiness & READY_READ) == 0) {
        return;
    }
    if (bytesOnly && socket.m_p_Port != nullptr) {
        if (!socket.m_ReceivesHandedToPort) {
            socket.m_ReceivesHandedToPort = socket.m_p_Port->Post({0, socket.m_Id, nullptr, 0, &FillHandedReceives});
        }
        if (socket.m_ReceivesHandedToPort) {
            // More bytes are the port thread's business until it has filled what it can.
            return;
        }
    }
    ProgressReceives(socket);
}

// FD_CLOSE once per connection: 0 for the peer's orderly close, else the error that ended it.
void CheckClose(c_Socket& socket, unsigned readiness) {
    if (!socket.m_Connected || socket.m_CloseRecorded || (readiness & (READY_PEER_CLOSED | READY_FAILED)) == 0) {
        return;
    }
    if (!socket.m_ReceiveEnded && (readiness & READY_FAILED) != 0) {
        const int error = n_PosixSockets::TakePendingError(socket.m_Fd);
        if (error != 0) {
            EndReceiving(socket, WinsockErrorFromErrno(error));
        }
    }
    // A hang-up with neither an error nor the peer's close is the unconnected socket's stale report.
    if (!socket.m_ReceiveEnded && (readiness & READY_PEER_CLOSED) == 0) {
        return;
    }
    socket.m_CloseRecorded = true;
    RecordNetworkEvent(socket, FD_CLOSE_BIT, socket.m_ReceiveEnded ? socket.m_ReceiveEndStatus : 0);
}

} // namespace

void UpdateInterest(c_Socket& socket) {
    unsigned interest = socket.m_ReceivesHandedToPort ? unsigned(READY_NONE) : unsigned(READY_READ);
    if (socket.m_Connecting || !socket.m_Sends.empty()) {
        interest |= READY_WRITE;
    }
    if (interest != socket.m_Interest) {
        socket.m_Interest = interest;
        ChangeSocketInterest(socket.m_Fd, socket.m_Id, interest);
    }
}

void OnSocketReady(std::uint64_t id, unsigned readiness) {
    std::shared_ptr<c_Socket> socket = FindSocket(id);
    if (socket == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    if (socket->m_Closed) {
        return;
    }
    if (socket->m_Listening) {
        RecordWaitingConnection(*socket);
        return;
    }
    CheckConnect(*socket, readiness);
    MoveReceivesOn(*socket, readiness);
    if (socket->m_Type == SOCK_STREAM) {
        CheckClose(*socket, readiness);
    }
    ProgressSends(*socket);
    UpdateInterest(*socket);
}

void OnSocketDeadline(std::uint64_t id) {
    std::shared_ptr<c_Socket> socket = FindSocket(id);
    if (socket == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    if (socket->m_Closed || !socket->m_Connecting) {
        return;
    }
    n_PosixSockets::AbortConnect(socket->m_Fd);
    FinishConnect(*socket, WSAETIMEDOUT);
}

} // namespace n_Platform
