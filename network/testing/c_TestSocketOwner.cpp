// Test helper: an owner of one network socket.

#include "network/testing/c_TestSocketOwner.h"

#include "network/CompressedBlocks.h"

#include <algorithm>

c_TestSocketOwner::c_TestSocketOwner(const c_String& remoteName, std::uint16_t port)
    : m_p_SharedSocketLock(c_NetworkSocketCore::GetCore()->AllocateSharedSocketLock()), m_RemoteName(remoteName),
      m_Port(port) {}

c_TestSocketOwner::~c_TestSocketOwner() {
    Close();
    if (c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore()) {
        core->ReleaseSharedSocketLock(&m_p_SharedSocketLock);
    } else {
        delete m_p_SharedSocketLock;
    }
}

bool c_TestSocketOwner::Connect(std::uint32_t address) {
    c_CriticalSectionLock lock(m_p_SharedSocketLock->m_Section);
    m_Released = false;
    return c_NetworkSocketCore::GetCore()->CreateNetworkSocket(this, address, &m_Index, &m_ID, lock);
}

bool c_TestSocketOwner::Adopt(c_SocketWrapper&& accepted, std::uint32_t peerAddress) {
    c_CriticalSectionLock lock(m_p_SharedSocketLock->m_Section);
    m_Released = false;
    return c_NetworkSocketCore::GetCore()->AdoptConnectedSocket(this, accepted, &peerAddress, &m_Index, &m_ID, lock);
}

bool c_TestSocketOwner::SendDatagram(const std::uint8_t* data, std::uint32_t length) {
    c_CriticalSectionLock lock(m_p_SharedSocketLock->m_Section);
    c_NetworkSocket* socket = Find(lock);
    c_IOBuffer* buffer = nullptr;
    std::int32_t index = 0;
    if (socket == nullptr || !socket->GetCurrentSendBuffer(&buffer, &index) ||
        !buffer->Append(data, static_cast<int>(length))) {
        return false;
    }
    socket->AddPendingSendBytes(static_cast<std::int32_t>(length));
    socket->QueueSendBuffer(index);
    return c_NetworkSocketCore::GetCore()->RequestSend(socket);
}

c_NetworkSocket* c_TestSocketOwner::Find(c_CriticalSectionLock& lock) {
    c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
    return core == nullptr ? nullptr : core->GetNetworkSocket(m_Index, m_ID, true, lock);
}

std::uint32_t c_TestSocketOwner::Send(const std::uint8_t* data, std::uint32_t length) {
    c_CriticalSectionLock lock(m_p_SharedSocketLock->m_Section);
    c_NetworkSocket* socket = Find(lock);
    c_IOBuffer* buffer = nullptr;
    std::int32_t index = 0;
    if (socket == nullptr || !socket->GetCurrentSendBuffer(&buffer, &index)) {
        return 0;
    }
    // A send buffer holds up to a few MiB before the next one is started.
    const auto room = static_cast<std::uint32_t>(std::max(0, 4 * 1048576 - buffer->GetUsedSize()));
    const std::uint32_t taken = std::min(room, length);
    if (taken > 0 && buffer->Append(data, static_cast<int>(taken))) {
        socket->AddPendingSendBytes(static_cast<std::int32_t>(taken));
    }
    c_NetworkSocketCore::GetCore()->RequestSend(socket);
    return taken;
}

void c_TestSocketOwner::Close() {
    if (m_Released) {
        return;
    }
    c_CriticalSectionLock lock(m_p_SharedSocketLock->m_Section);
    if (c_NetworkSocket* socket = Find(lock)) {
        c_NetworkSocketCore::GetCore()->ReleaseNetworkSocket(socket);
    }
    m_Released = true;
}

std::uint32_t c_TestSocketOwner::GetPendingSendBytes() {
    c_CriticalSectionLock lock(m_p_SharedSocketLock->m_Section);
    c_NetworkSocket* socket = Find(lock);
    return socket == nullptr ? 0 : socket->GetPendingSendBytes();
}

bool c_TestSocketOwner::HasEvent(UINT event) const {
    return std::find(m_Events.begin(), m_Events.end(), event) != m_Events.end();
}

void c_TestSocketOwner::OnReceivedDataFromCore(c_CriticalSectionLock& lock) {
    m_DataReceivedEventPending = false;
    Record(SOCKET_EVENT_DATA_RECEIVED);
    if (c_NetworkSocket* socket = Find(lock)) {
        if (m_OnReceivedBytes) {
            socket->ReadReceivedData([this](s_ByteSpan bytes) {
                m_OnReceivedBytes(bytes);
                return true;
            });
        } else {
            const std::uint32_t before = m_Received.GetSize() + m_CompressedReceived.GetSize();
            socket->TakeReceivedData(m_ReceiveDecompression == 0 ? m_Received : m_CompressedReceived);
            m_ReceivedPieces.push_back(m_Received.GetSize() + m_CompressedReceived.GetSize() - before);
        }
        c_NetworkSocketCore::GetCore()->RequestReceive(socket);
        if (m_ReceiveDecompression != 0 &&
            DecodeCompressedBlocks(m_CompressedReceived, m_Received, m_ReceiveDecompression, &m_LZ4Decompressor) !=
                e_CompressedBlocksResult::DECODED) {
            Record(SOCKET_EVENT_ERROR);
        }
    }
    if (m_OnProgress) {
        lock.Unlock();
        m_OnProgress();
        lock.Relock();
    }
}

void c_TestSocketOwner::OnSendDataComplete(c_CriticalSectionLock& lock) {
    m_SendCompleteEventPending = false;
    Record(SOCKET_EVENT_SEND_COMPLETE);
    if (m_OnProgress) {
        lock.Unlock();
        m_OnProgress();
        lock.Relock();
    }
}
