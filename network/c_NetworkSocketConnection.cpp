// c_NetworkSocket: creating the handle, connecting, the network events, the graceful shutdown, the
// immediate close and the time-outs of the end.

#include "network/c_NetworkSocket.h"

#include "network/DeletionClock.h"
#include "network/c_NetworkSocketCore.h"
#include "oslayer/net/NameLookup.h"
#include "textutil/NumberFormatting.h"

#include <cstdlib>
#include <optional>

namespace {

constexpr std::int32_t CONNECT_AND_CLOSE_EVENTS = FD_CONNECT | FD_CLOSE;
constexpr std::int32_t ADOPTED_RECEIVE_BUFFER = 262144;

bool HasElapsed(std::int64_t stamp, std::int64_t limit) {
    return stamp != 0 && std::llabs(ReadDeletionClock() - stamp) >= limit;
}

} // namespace

bool c_NetworkSocket::CreateSocket() {
    if (!SetUpEncryption(false)) {
        return false;
    }
    if (!CreateSocketHandle()) {
        Log(c_String("Error creating the socket.  ") + GetErrorText(), true);
        return false;
    }
    UpdateMaxMessageSize();
    if (!SetSocketOptions()) {
        return false;
    }
    DisableKernelSendBuffer();
    ApplyReceiveBufferSize(m_AdaptiveReceiveBuffer ? m_ReceiveBufferSize : 0);
    if (m_SocketKind == KIND_TCP) {
        ClearDontLinger();
    }
    return true;
}

// An accepted connection handed over by its owner: no event 1028 follows, the owner counts itself
// connected when it adopts.
bool c_NetworkSocket::SetUpAdoptedSocket() {
    if (!SetUpEncryption(true) || !SetSocketOptions()) {
        return false;
    }
    if (m_SocketKind == KIND_TCP) {
        ClearDontLinger();
    }
    DisableKernelSendBuffer();
    ApplyReceiveBufferSize(ADOPTED_RECEIVE_BUFFER);
    c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
    if (core == nullptr || !EventSelect(core->GetNetworkEventHandle(), FD_CLOSE)) {
        Log(c_String("WSAEventSelect error.  ") + GetErrorText(), true);
        return false;
    }
    UpdateLocalAddress();
    m_Connected = true;
    core->RequestSendBufferReserve(this);
    return true;
}

bool c_NetworkSocket::CreateSocketHandle() {
    switch (m_SocketKind) {
        case KIND_TCP:
            return CreateTCP();
        case KIND_UDP:
        case KIND_MULTICAST:
            return CreateUDP();
        default:
            return false;
    }
}

bool c_NetworkSocket::SetSocketOptions() {
    if (m_SocketKind == KIND_TCP && !SetNoDelay()) {
        Log(c_String("Error setting socket option.  ") + GetErrorText(), true);
        return false;
    }
    return true;
}

void c_NetworkSocket::DisableKernelSendBuffer() {
    if (!DisableSendBuffering()) {
        Log(c_String("Error setting send buffer size to 0.  ") + GetErrorText(), true);
    }
}

std::int32_t c_NetworkSocket::UpdateMaxMessageSize() {
    m_MaxMessageSize = 0;
    if (m_SocketKind != KIND_UDP || !IsValid()) {
        return 0;
    }
    if (std::optional<std::int32_t> size = c_SocketWrapper::GetMaxMessageSize()) {
        m_MaxMessageSize = *size;
    } else {
        Log(c_String("Error getting maximum message size.  ") + GetErrorText(), true);
    }
    return m_MaxMessageSize;
}

void c_NetworkSocket::ApplyReceiveBufferSize(std::int32_t bytes) {
    if (SetReceiveBufferSize(bytes)) {
        m_SocketReceiveBufferSize = bytes;
        Log(c_String("New receive buffer size: ") + ::ToString(bytes), false);
    } else {
        Log(Concat({"Error setting receive buffer size to ", ::ToString(bytes), ".  ", GetErrorText()}), true);
    }
}

void c_NetworkSocket::UpdateLocalAddress() {
    if (auto local = GetLocalAddress()) {
        m_LocalAddress = local->m_Address;
        m_LocalPort = local->m_Port;
    }
}

bool c_NetworkSocket::StartConnect(c_CriticalSectionLock& lock) {
    c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
    if (core == nullptr || !EventSelect(core->GetNetworkEventHandle(), CONNECT_AND_CLOSE_EVENTS)) {
        Log(c_String("WSAEventSelect error.  ") + GetErrorText(), true);
        return false;
    }
    const std::uint32_t address = ntohl(m_RemoteSockAddr.sin_addr.s_addr);
    const std::uint16_t port = ntohs(m_RemoteSockAddr.sin_port);
    Log(Concat({"Connecting to IP: ", IPv4ToString(address), "."}), false);
    if (m_SocketKind == KIND_MULTICAST) {
        return StartMulticast(lock);
    }
    if (RefuseSocks5Settings()) {
        return false;
    }
    // The owner's local port, when it names one, is taken before connecting.
    if (m_LocalPort != 0 && !Bind(m_LocalPort, INADDR_ANY)) {
        Log(Concat({"Error binding socket to local port ", ::ToString(static_cast<unsigned int>(m_LocalPort)), ".  ",
                    GetErrorText()}),
            true);
        return false;
    }
    if (!Connect(address, port) && WSAGetLastError() != WSAEWOULDBLOCK) {
        Log(Concat({"Error connecting to ", IPv4ToString(address), ":", ::ToString(static_cast<unsigned int>(port)),
                    ".  ", GetErrorText()}),
            true);
        return false;
    }
    UpdateLocalAddress();
    // The owner decided on the proxy for this target; a proxy on this host is still a proxy.
    if (m_Socks5Settings.m_UseSocks5) {
        m_Socks5Client.Start();
    }
    return true;
}

// A multicast receiver binds to its port on the interface and joins the group; it counts as
// connected at once.
bool c_NetworkSocket::StartMulticast(c_CriticalSectionLock& lock) {
    const c_String interfaceText = IPv4ToString(m_InterfaceAddress);
    const c_String group = Concat({IPv4ToString(m_RemoteAddress), ":", ::ToString(static_cast<unsigned int>(m_Port))});
    if (!SetNonBlocking()) {
        Log(c_String("Error setting socket to non-blocking mode.  ") + GetErrorText(), false);
        return false;
    }
    if (!SetReuseAddress()) {
        Log(c_String("Error turning on multicast socket option SO_REUSEADDR.  ") + GetErrorText(), false);
        return false;
    }
    if (!Bind(m_Port, m_InterfaceAddress)) {
        Log(Concat({"Error binding multicast socket to ", interfaceText, ".  ", GetErrorText()}), false);
        return false;
    }
    if (!JoinMulticastGroup(m_RemoteAddress, m_InterfaceAddress)) {
        Log(Concat({"Error joining multicast group on interface ", interfaceText, " multicast address ", group, ".  ",
                    GetErrorText()}),
            false);
        return false;
    }
    Log(Concat({"Socket bound to interface ", interfaceText, ".  Multicast address ", group, "."}), false);
    OnConnected(lock);
    return true;
}

void c_NetworkSocket::OnConnected(c_CriticalSectionLock& lock) {
    m_Connected = true;
    UpdateLocalAddress();
    if (!ReceiveData(lock)) {
        PostSocketEvent(SOCKET_EVENT_CONNECT_FAILED);
    }
    if (IsSocks5HandshakeInProgress()) {
        ProcessSocks5Handshake(lock);
    } else {
        NotifyConnected(lock);
    }
}

// A TLS client's hello leaves at once, so that a server that speaks first is not kept waiting for
// the owner's first bytes.
void c_NetworkSocket::NotifyConnected(c_CriticalSectionLock& lock) {
    PostSocketEvent(SOCKET_EVENT_CONNECTED);
    if (m_p_EncryptionIOBuffers != nullptr && !SendData(true, lock)) {
        FailWithSocketError();
    }
}

void c_NetworkSocket::ProcessNetworkEvents() {
    WSANETWORKEVENTS events{};
    if (!IsValid() || !EnumNetworkEvents(nullptr, events)) {
        return;
    }
    c_CriticalSectionLock lock(m_p_SharedSocketLock->m_Section);
    if ((events.lNetworkEvents & FD_CONNECT) != 0) {
        const int error = events.iErrorCode[FD_CONNECT_BIT];
        if (error == 0) {
            OnConnected(lock);
        } else {
            Log(c_String("Connect event error. ") + GetNetworkErrorText(static_cast<std::uint32_t>(error)), true);
            PostSocketEvent(SOCKET_EVENT_CONNECT_FAILED);
        }
    }
    if ((events.lNetworkEvents & FD_CLOSE) != 0 && events.iErrorCode[FD_CLOSE_BIT] != 0) {
        Log(c_String("Close event error. ") +
                GetNetworkErrorText(static_cast<std::uint32_t>(events.iErrorCode[FD_CLOSE_BIT])),
            true);
    }
}

void c_NetworkSocket::StartGracefulShutdown(c_CriticalSectionLock& lock) {
    m_ShutdownStarted = true;
    m_CancelTime = 0;
    if (!IsValid()) {
        return;
    }
    const bool closeNotifyDue = m_ShutdownState != 1 && QueueTLSCloseNotify();
    const bool currentHasBytes = GetCurrentSendBufferSize() > 0 || closeNotifyDue;
    if (m_ShutdownState != 1 && (AreSendBuffersInUse() || currentHasBytes)) {
        Log(c_String("Write in progress.  Shutdown being delayed.  PendingSize=") +
                ::ToString(GetCurrentSendBufferSize()),
            false);
        m_ShutdownState = 1;
        if (currentHasBytes && !SendData(true, lock)) {
            m_Error = true;
        }
        m_SendingAllowed = false;
        if (AreSendBuffersInUse()) {
            m_FinalSendWaitTime = ReadDeletionClock();
            return;
        }
    }
    m_FinalSendWaitTime = 0;
    m_ShutdownTime = ReadDeletionClock();
    if (!Shutdown(SD_SEND)) {
        Log(c_String("Shutdown error.  ") + GetErrorText(), true);
    }
    ContinueShutdown();
}

void c_NetworkSocket::ContinueShutdown() {
    if (m_ReceiveEnded || !m_ReceiveStarted) {
        Log("Graceful close received or receive error. Shutdown complete. Closing socket now.", false);
        m_ShutdownState = 3;
        CloseImmediately();
        RequestRemoval();
        return;
    }
    m_ShutdownState = 2;
    Log("Shutdown started.  Waiting for graceful close.", false);
}

// The removal comes as a packet of its own, so that no handler up the stack outlives the socket.
void c_NetworkSocket::EndWaitingShutdown() {
    m_ShutdownState = 3;
    CloseImmediately();
    RequestRemoval();
}

void c_NetworkSocket::CloseImmediately() {
    if (!IsValid()) {
        return;
    }
    EventSelect(nullptr, 0);
    if (!Close()) {
        Log(c_String("Error closing the socket.  ") + GetErrorText(), true);
    }
    Log("Closed.", false);
    m_ShutdownState = 4;
    m_CloseTime = ReadDeletionClock();
    m_ShutdownTime = 0;
}

void c_NetworkSocket::CancelPendingIO() {
    m_FinalSendWaitTime = 0;
    if (!IsValid()) {
        return;
    }
    m_CancelTime = ReadDeletionClock();
    if (!CancelIO() && GetLastError() != ERROR_NOT_FOUND) {
        Log(c_String("Cancel I/O error. ") + GetNetworkErrorText(GetLastError()), false);
    }
}

void c_NetworkSocket::Abort() {
    if (IsValid()) {
        Shutdown(SD_BOTH);
        CancelPendingIO();
    }
}

void c_NetworkSocket::RequestRemoval() {
    if (c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore()) {
        core->PostCompletion(m_Index, COMPLETION_KEY_REMOVE_SOCKET, m_ID);
    }
}

bool c_NetworkSocket::FinalSendTimeoutElapsed() const {
    return HasElapsed(m_FinalSendWaitTime, FINAL_SEND_TIMEOUT_US);
}

bool c_NetworkSocket::CancelTimeoutElapsed() const {
    return HasElapsed(m_CancelTime, CANCEL_TIMEOUT_US);
}

bool c_NetworkSocket::ShutdownTimeoutElapsed() const {
    return HasElapsed(m_ShutdownTime, SHUTDOWN_TIMEOUT_US);
}

bool c_NetworkSocket::CloseDelayElapsed() const {
    return HasElapsed(m_CloseTime, CLOSE_DELAY_US);
}
