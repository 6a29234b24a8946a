// c_NetworkSocketCore: the socket table, the shared socket locks, the owner's requests, the handlers
// of the keys that name a socket, and the socket events with their per-thread windows.

#include "network/SockAddrIPv4.h"
#include "network/c_BufferedSocketThreadWindow.h"
#include "network/c_NetworkSocketCore.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

// ---- adding and finding sockets ----

bool c_NetworkSocketCore::CreateNetworkSocket(c_NetworkSocketOwner* owner, std::uint32_t address, std::int32_t* index,
                                              std::uint32_t* id, c_CriticalSectionLock& lock) {
    if (!AddNetworkSocket(owner, index, id, &address, nullptr, lock)) {
        return false;
    }
    if (address != 0) {
        PostCompletion(*index, COMPLETION_KEY_CONNECT, *id);
    } else {
        m_NameResolutionEvent.Set();
    }
    return true;
}

bool c_NetworkSocketCore::AdoptConnectedSocket(c_NetworkSocketOwner* owner, c_SocketWrapper& accepted,
                                               std::uint32_t* peerAddress, std::int32_t* index, std::uint32_t* id,
                                               c_CriticalSectionLock& lock) {
    // Closed with this wrapper unless the new socket takes it.
    c_SocketWrapper handle(std::move(accepted));
    std::uint32_t address = peerAddress != nullptr ? *peerAddress : 0;
    if (!AddNetworkSocket(owner, index, id, &address, &handle, lock)) {
        return false;
    }
    if (m_CompletionPort != nullptr) {
        PostCompletion(*index, COMPLETION_KEY_START_ADOPTED_SOCKET, *id);
    }
    return true;
}

bool c_NetworkSocketCore::AddNetworkSocket(c_NetworkSocketOwner* owner, std::int32_t* index, std::uint32_t* id,
                                           std::uint32_t* address, c_SocketWrapper* adopted,
                                           c_CriticalSectionLock& lock) {
    *index = 0;
    *id = 0;
    if (owner == nullptr || owner->GetSharedSocketLock() == nullptr) {
        return false;
    }
    const std::uint32_t threadId = GetCurrentThreadId();
    if (!AcquireThreadWindow(threadId)) {
        return false;
    }
    lock.Lock(owner->GetSharedSocketLock()->m_Section);
    const c_String host = adopted == nullptr ? owner->GetRemoteName() : c_String();
    if (*address == 0) {
        ParseIPv4Text(host, address);
    }
    std::unique_ptr<c_NetworkSocket> socket(
        new (std::nothrow) c_NetworkSocket(owner->GetName(), owner->GetEnableLogging(), owner->GetSecurityMethod()));
    if (socket == nullptr) {
        // The reference taken above goes back with the failure.
        ReleaseThreadWindow(threadId);
        return false;
    }
    if (adopted == nullptr) {
        socket->m_Socks5Settings = owner->GetSocks5ConnectionSettings();
    } else {
        static_cast<c_SocketWrapper&>(*socket) = std::move(*adopted);
    }
    CopyOwnerSettings(socket.get(), owner);
    // An adopted datagram socket has its handle already; the others learn the size when they make theirs.
    socket->UpdateMaxMessageSize();
    socket->m_RemoteAddress = *address;
    if (*address != 0) {
        socket->m_RemoteSockAddr = MakeSockAddrIPv4(*address, socket->m_Port);
    }
    c_NetworkSocket* added = socket.get();
    RegisterNetworkSocket(socket.release(), owner, index, id);
    if (*index == 0) {
        delete added;
        ReleaseThreadWindow(threadId);
        return false;
    }
    if (*address == 0 && !host.IsEmpty()) {
        s_NameResolutionRequest request;
        request.m_SocketIndex = *index;
        request.m_SocketID = *id;
        request.m_Host = host;
        request.m_Port = added->m_Port;
        request.m_LogErrors = added->m_EnableLogging;
        request.m_UDP = added->m_SocketKind == 1;
        c_CriticalSectionLock table(GetSocketTableLock());
        m_NameResolutionRequests.push_back(std::move(request));
    }
    return true;
}

void c_NetworkSocketCore::CopyOwnerSettings(c_NetworkSocket* socket, c_NetworkSocketOwner* owner) {
    socket->m_LogLevel = owner->GetLogLevel();
    socket->m_Port = owner->GetConnectPort();
    socket->m_SocketKind = owner->GetConnectionKind();
    const std::int32_t receiveSize = owner->GetSocketReceiveBufferSize();
    socket->m_ReceiveBufferSize = receiveSize < 1 ? socket->m_DefaultReceiveBufferSize : receiveSize;
    const std::int32_t reserveSize = owner->GetSocketSendBufferSize();
    socket->m_SendBufferReserveSize = reserveSize < 1 ? 4096 : reserveSize;
    socket->m_CompressionType = owner->GetCompressionType();
    socket->m_UseDelayedSends = owner->GetUseDelayedSends();
    socket->m_DelayedSendMilliseconds = owner->GetDelayedSendMilliseconds();
    socket->m_ServerCertificateFile = owner->GetTLSServerCertificatePathAndFileName();
    owner->GetTLSClientAuthenticationCertificateFiles(socket->m_ClientCAFile, socket->m_ClientCertificateFile,
                                                      socket->m_ClientKeyFile);
    socket->m_RemoteName = owner->GetRemoteName();
    socket->m_InterfaceAddress = owner->GetInterfaceAddress();
}

void c_NetworkSocketCore::RegisterNetworkSocket(c_NetworkSocket* socket, c_NetworkSocketOwner* owner,
                                                std::int32_t* index, std::uint32_t* id) {
    c_CriticalSectionLock table(GetSocketTableLock());
    *index = 0;
    *id = 0;
    // The counter wraps through unsigned arithmetic, and a taken 0 becomes 1.
    std::uint32_t taken = static_cast<std::uint32_t>(m_NextSocketID);
    m_NextSocketID = static_cast<std::int32_t>(taken + 1);
    if (taken == 0) {
        taken = 1;
    }
    auto free = std::find(m_NetworkSockets.begin(), m_NetworkSockets.end(), nullptr);
    std::int32_t slot = 0;
    if (free != m_NetworkSockets.end()) {
        slot = static_cast<std::int32_t>(free - m_NetworkSockets.begin());
        *free = socket;
    } else {
        try {
            m_NetworkSockets.push_back(socket);
        } catch (const std::bad_alloc&) {
            return;
        }
        slot = static_cast<std::int32_t>(m_NetworkSockets.size()) - 1;
    }
    socket->m_p_SharedSocketLock = AddRefSharedSocketLock(owner->GetSharedSocketLock());
    socket->m_OwnerThreadID = GetCurrentThreadId();
    socket->m_p_Owner = owner;
    *index = slot + 1;
    *id = taken;
    socket->m_Index = *index;
    socket->m_ID = taken;
}

c_NetworkSocket* c_NetworkSocketCore::MatchSlot(std::int32_t index, const std::uint32_t* id, bool ownerRequired) const {
    if (index < 1 || index > static_cast<std::int32_t>(m_NetworkSockets.size())) {
        return nullptr;
    }
    c_NetworkSocket* socket = m_NetworkSockets[static_cast<std::size_t>(index) - 1];
    if (socket == nullptr || (id != nullptr && socket->m_ID != *id) ||
        (ownerRequired && socket->m_p_Owner == nullptr)) {
        return nullptr;
    }
    return socket;
}

c_NetworkSocket* c_NetworkSocketCore::GetNetworkSocket(std::int32_t index, std::uint32_t id, bool ownerRequired,
                                                       c_CriticalSectionLock& lock) {
    return FindAndLock(index, &id, ownerRequired, lock);
}

// The finder holds a reference to the shared lock block while it waits for the lock, and looks at the
// slot again once it holds it. The socket thread deletes a socket only with its shared lock held
// and empties the slot before, so a socket that passes the second look stays alive until the finder
// lets go of the lock.
c_NetworkSocket* c_NetworkSocketCore::FindAndLock(std::int32_t index, const std::uint32_t* id, bool ownerRequired,
                                                  c_CriticalSectionLock& lock) {
    c_NetworkSocket* socket = nullptr;
    c_SharedSocketLock* block = nullptr;
    {
        c_CriticalSectionLock table(GetSocketTableLock());
        socket = MatchSlot(index, id, ownerRequired);
        if (socket == nullptr) {
            return nullptr;
        }
        block = AddRefSharedSocketLock(socket->m_p_SharedSocketLock);
    }
    lock.Lock(block->m_Section);
    bool unchanged = false;
    {
        c_CriticalSectionLock table(GetSocketTableLock());
        unchanged = MatchSlot(index, id, ownerRequired) == socket;
    }
    if (!unchanged) {
        lock.Unlock();
        ReleaseSharedSocketLock(&block);
        return nullptr;
    }
    ReleaseSharedSocketLock(&block);
    return socket;
}

std::int32_t c_NetworkSocketCore::GetSocketTableSize() {
    c_CriticalSectionLock table(GetSocketTableLock());
    return static_cast<std::int32_t>(m_NetworkSockets.size());
}

void c_NetworkSocketCore::SetNextSocketID(std::uint32_t id) {
    c_CriticalSectionLock table(GetSocketTableLock());
    m_NextSocketID = static_cast<std::int32_t>(id);
}

// ---- the owner's requests ----

bool c_NetworkSocketCore::RequestSend(c_NetworkSocket* socket) {
    if (socket == nullptr) {
        return false;
    }
    if (socket->m_UseDelayedSends) {
        ScheduleDelayedSend(socket);
        return true;
    }
    if (!socket->m_SendRequested) {
        if (!PostCompletion(socket->m_Index, COMPLETION_KEY_SEND, socket->m_ID)) {
            socket->PostSocketEvent(SOCKET_EVENT_ERROR);
            return false;
        }
        socket->m_SendRequested = true;
    }
    return true;
}

void c_NetworkSocketCore::RequestReceive(c_NetworkSocket* socket) {
    if (socket != nullptr && !PostCompletion(socket->m_Index, COMPLETION_KEY_RECEIVE, socket->m_ID)) {
        socket->PostSocketEvent(SOCKET_EVENT_ERROR);
    }
}

void c_NetworkSocketCore::ReleaseNetworkSocket(c_NetworkSocket* socket) {
    if (socket == nullptr) {
        return;
    }
    {
        c_CriticalSectionLock table(GetSocketTableLock());
        socket->m_p_Owner = nullptr;
    }
    ReleaseThreadWindow(GetCurrentThreadId());
    if (m_CompletionPort != nullptr) {
        PostCompletion(socket->m_Index, COMPLETION_KEY_CLOSE_SOCKET, socket->m_ID);
    }
}

// ---- the handlers on the socket thread ----

void c_NetworkSocketCore::ConnectNetworkSocket(c_NetworkSocket* socket, c_CriticalSectionLock& lock) {
    if (!socket->CreateSocket() || socket->AssociateWithCompletionPort(m_CompletionPort) == nullptr ||
        !socket->StartConnect(lock)) {
        socket->PostSocketEvent(SOCKET_EVENT_CONNECT_FAILED);
    }
}

void c_NetworkSocketCore::OnConnectRequest(std::int32_t index, std::uint32_t id) {
    c_CriticalSectionLock lock;
    if (c_NetworkSocket* socket = GetNetworkSocket(index, id, false, lock)) {
        ConnectNetworkSocket(socket, lock);
    }
}

void c_NetworkSocketCore::StartAdoptedSocket(std::int32_t index, std::uint32_t id) {
    c_CriticalSectionLock lock;
    c_NetworkSocket* socket = GetNetworkSocket(index, id, false, lock);
    if (socket == nullptr) {
        return;
    }
    if (!socket->SetUpAdoptedSocket() || socket->AssociateWithCompletionPort(m_CompletionPort) == nullptr) {
        socket->PostSocketEvent(SOCKET_EVENT_CONNECT_FAILED);
    } else if (!socket->ReceiveData(lock)) {
        socket->PostSocketEvent(SOCKET_EVENT_ERROR);
    }
}

void c_NetworkSocketCore::OnCloseRequest(std::int32_t index, std::uint32_t id) {
    c_CriticalSectionLock lock;
    c_NetworkSocket* socket = GetNetworkSocket(index, id, false, lock);
    if (socket == nullptr || socket->m_CloseRequested) {
        return;
    }
    socket->m_CloseRequested = true;
    socket->m_ShutdownStarted = true;
    if (socket->m_Connected) {
        socket->StartGracefulShutdown(lock);
    } else {
        CloseAndRemoveNetworkSocket(socket, lock);
    }
}

void c_NetworkSocketCore::OnReceiveRequest(std::int32_t index, std::uint32_t id) {
    c_CriticalSectionLock lock;
    if (c_NetworkSocket* socket = GetNetworkSocket(index, id, false, lock)) {
        socket->ResumeReceive(lock);
    }
}

void c_NetworkSocketCore::OnRemoveSocket(std::int32_t index, std::uint32_t id) {
    c_CriticalSectionLock lock;
    if (GetNetworkSocket(index, id, false, lock) != nullptr) {
        lock.Unlock();
        RemoveNetworkSocket(index);
    }
}

void c_NetworkSocketCore::CloseAndRemoveNetworkSocket(c_NetworkSocket* socket, c_CriticalSectionLock& lock) {
    socket->CloseImmediately();
    const std::int32_t index = socket->m_Index;
    lock.Unlock();
    RemoveNetworkSocket(index);
}

// A socket with I/O still outstanding is only marked: the completions carry pointers into its
// records, so it goes when the last of them has come back.
void c_NetworkSocketCore::RemoveNetworkSocket(std::int32_t index) {
    c_CriticalSectionLock lock;
    c_NetworkSocket* socket = FindAndLock(index, nullptr, false, lock);
    if (socket == nullptr) {
        return;
    }
    if (socket->IsIOOutstanding()) {
        socket->m_DeleteWhenIdle = true;
        return;
    }
    DeleteIdleSocket(socket, lock);
}

void c_NetworkSocketCore::DeleteIdleSocket(c_NetworkSocket* socket, c_CriticalSectionLock& lock) {
    // Keeps the block alive across the socket's own release of it.
    c_SharedSocketLock* block = AddRefSharedSocketLock(socket->m_p_SharedSocketLock);
    {
        c_CriticalSectionLock table(GetSocketTableLock());
        auto entry = std::find_if(m_DelayedSends.begin(), m_DelayedSends.end(),
                                  [socket](const s_DelayedSend& send) { return send.m_p_Socket == socket; });
        if (entry != m_DelayedSends.end()) {
            m_DelayedSends.erase(entry);
        }
        m_NetworkSockets[static_cast<std::size_t>(socket->m_Index) - 1] = nullptr;
    }
    delete socket;
    lock.Unlock();
    ReleaseSharedSocketLock(&block);
}

// ---- shared socket locks ----

c_SharedSocketLock* c_NetworkSocketCore::AllocateSharedSocketLock() {
    c_CriticalSectionLock core(m_CoreLock);
    return new (std::nothrow) c_SharedSocketLock();
}

c_SharedSocketLock* c_NetworkSocketCore::AddRefSharedSocketLock(c_SharedSocketLock* block) {
    c_CriticalSectionLock core(m_CoreLock);
    ++block->m_ReferenceCount;
    return block;
}

void c_NetworkSocketCore::ReleaseSharedSocketLock(c_SharedSocketLock** block) {
    if (*block == nullptr) {
        return;
    }
    c_CriticalSectionLock core(m_CoreLock);
    if (--(*block)->m_ReferenceCount <= 0) {
        delete *block;
        *block = nullptr;
    }
}

// ---- thread windows and socket events ----

bool c_NetworkSocketCore::AcquireThreadWindow(std::uint32_t threadId) {
    c_CriticalSectionLock windows(m_ThreadWindowLock);
    auto found = m_ThreadWindows.find(threadId);
    if (found == m_ThreadWindows.end()) {
        auto window = std::make_unique<c_BufferedSocketThreadWindow>();
        if (!window->Create()) {
            return false;
        }
        found = m_ThreadWindows.emplace(threadId, window.release()).first;
    }
    found->second->AddRef();
    return true;
}

void c_NetworkSocketCore::ReleaseThreadWindow(std::uint32_t threadId) {
    c_CriticalSectionLock windows(m_ThreadWindowLock);
    auto found = m_ThreadWindows.find(threadId);
    if (found != m_ThreadWindows.end() && found->second->Release()) {
        delete found->second;
        m_ThreadWindows.erase(found);
    }
}

bool c_NetworkSocketCore::AcquireCurrentThreadWindow() {
    return AcquireThreadWindow(GetCurrentThreadId());
}

void c_NetworkSocketCore::ReleaseCurrentThreadWindow() {
    ReleaseThreadWindow(GetCurrentThreadId());
}

c_BufferedSocketThreadWindow* c_NetworkSocketCore::GetThreadWindow(std::uint32_t threadId,
                                                                   c_CriticalSectionLock& lock) {
    lock.Lock(m_ThreadWindowLock);
    auto found = m_ThreadWindows.find(threadId);
    return found == m_ThreadWindows.end() ? nullptr : found->second;
}

bool c_NetworkSocketCore::PostThreadSocketEvent(std::int32_t index, std::uint32_t threadId, std::uint32_t event,
                                                std::uint32_t id) {
    c_CriticalSectionLock lock;
    c_BufferedSocketThreadWindow* window = GetThreadWindow(threadId, lock);
    return window != nullptr &&
           window->PostMessage(event, static_cast<WPARAM>(static_cast<std::intptr_t>(index)), static_cast<LPARAM>(id));
}

bool c_NetworkSocketCore::DispatchSocketEvent(std::int32_t index, std::uint32_t event, std::uint32_t id) {
    if (event < SOCKET_EVENT_NAME_RESOLUTION_FAILED || event > SOCKET_EVENT_LAST_TAKEN) {
        return false;
    }
    c_CriticalSectionLock lock;
    c_NetworkSocket* socket = GetNetworkSocket(index, id, true, lock);
    if (socket == nullptr || event > SOCKET_EVENT_BUFFER_LIMIT_REACHED) {
        return true;
    }
    c_NetworkSocketOwner* owner = socket->m_p_Owner;
    using t_Handler = void (c_NetworkSocketOwner::*)(c_CriticalSectionLock&);
    static constexpr t_Handler HANDLERS[] = {
        &c_NetworkSocketOwner::OnNameResolutionFailed, &c_NetworkSocketOwner::OnReceivedDataFromCore,
        &c_NetworkSocketOwner::OnConnectFailed,        &c_NetworkSocketOwner::OnSocketConnected,
        &c_NetworkSocketOwner::OnSocketClosedByRemote, &c_NetworkSocketOwner::OnSocketError,
        &c_NetworkSocketOwner::OnSendDataComplete,     &c_NetworkSocketOwner::OnOutOfMemory,
        &c_NetworkSocketOwner::OnBufferLimitReached,
    };
    (owner->*HANDLERS[event - SOCKET_EVENT_NAME_RESOLUTION_FAILED])(lock);
    return true;
}
