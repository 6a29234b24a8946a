// c_NetworkSocket: construction, the log line, the socket events and the send path.

#include "network/c_NetworkSocket.h"

#include "network/c_NetworkSocketCore.h"
#include "network/c_NetworkSocketOwner.h"
#include "oslayer/net/NameLookup.h"
#include "oslayer/system/LogMessage.h"
#include "textutil/NumberFormatting.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int LARGE_GRANULARITY_BUFFERS = 100;
constexpr int SEND_BUFFER_STORAGE = 65536;
constexpr int RESERVED_SEND_BUFFERS = 32;
constexpr int HOLD_BACK_IN_TRANSFER = 3;
constexpr std::int32_t DELAY_PER_BUFFER_MS = 25;
constexpr std::int32_t DEFAULT_DELAY_LIMIT_MS = 1500;
constexpr std::int32_t DELAY_LIMIT_MS = 5000;

} // namespace

c_NetworkSocket::c_NetworkSocket(const c_String& name, bool enableLogging, std::int32_t securityMethod)
    : m_EnableLogging(enableLogging), m_Name(name), m_SecurityMethod(securityMethod) {
    for (int index = 0; index < LARGE_GRANULARITY_BUFFERS; ++index) {
        m_SendBuffers[static_cast<std::size_t>(index)].SetLargeGranularity();
    }
}

c_NetworkSocket::~c_NetworkSocket() {
    Close();
    if (c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore()) {
        core->ReleaseSharedSocketLock(&m_p_SharedSocketLock);
    }
}

void c_NetworkSocket::Log(const c_StringView& text, bool isError) const {
    if (!m_EnableLogging || (m_LogLevel == 1 && !isError)) {
        return;
    }
    LogMessage(Concat({m_Name, " (", ::ToString(m_Index), ") | ", text}));
}

bool c_NetworkSocket::PostSocketEvent(std::uint32_t event) {
    c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
    return core != nullptr && core->PostThreadSocketEvent(m_Index, m_OwnerThreadID, event, m_ID);
}

void c_NetworkSocket::FailWithSocketError() {
    m_Error = true;
    PostSocketEvent(SOCKET_EVENT_ERROR);
}

c_String c_NetworkSocket::GetErrorText() {
    return GetNetworkErrorText(static_cast<std::uint32_t>(WSAGetLastError()));
}

// ---- send buffers ----

void c_NetworkSocket::SelectNextFreeSendBuffer() {
    const std::int32_t old = m_CurrentSendBuffer;
    m_CurrentSendBuffer = -1;
    for (std::int32_t index = old - 1; index >= 0; --index) {
        if (m_SendBufferStates[static_cast<std::size_t>(index)] == SEND_BUFFER_STATE_FREE) {
            m_CurrentSendBuffer = index;
            return;
        }
    }
    for (std::int32_t index = old + 1; index < SEND_BUFFER_COUNT; ++index) {
        if (m_SendBufferStates[static_cast<std::size_t>(index)] == SEND_BUFFER_STATE_FREE) {
            m_CurrentSendBuffer = index;
            return;
        }
    }
}

void c_NetworkSocket::MarkSendBufferInTransfer(std::int32_t index) {
    m_SendBufferStates[static_cast<std::size_t>(index)] = SEND_BUFFER_STATE_IN_TRANSFER;
    ++m_SendBuffersInUse;
    m_MaxSendBuffersInUse = std::max(m_MaxSendBuffersInUse, m_SendBuffersInUse);
}

void c_NetworkSocket::MarkCurrentSendBufferInTransfer() {
    MarkSendBufferInTransfer(m_CurrentSendBuffer);
    SelectNextFreeSendBuffer();
}

std::int32_t c_NetworkSocket::GetCurrentSendBufferSize() const {
    return m_CurrentSendBuffer < 0 ? 0 : m_SendBuffers[static_cast<std::size_t>(m_CurrentSendBuffer)].GetUsedSize();
}

bool c_NetworkSocket::GetCurrentSendBuffer(c_IOBuffer** buffer, std::int32_t* index) {
    if (m_CurrentSendBuffer < 0 ||
        m_SendBufferStates[static_cast<std::size_t>(m_CurrentSendBuffer)] == SEND_BUFFER_STATE_IN_TRANSFER) {
        return false;
    }
    c_IOBuffer& current = m_SendBuffers[static_cast<std::size_t>(m_CurrentSendBuffer)];
    if (current.GetCapacity() == 0) {
        const int storage =
            m_MaxMessageSize >= 1 && m_MaxMessageSize < SEND_BUFFER_STORAGE ? m_MaxMessageSize : SEND_BUFFER_STORAGE;
        if (!current.SetUsedSize(storage)) {
            return false;
        }
        current.SetUsedSizeWithinCapacity(0);
    }
    *buffer = &current;
    *index = m_CurrentSendBuffer;
    return true;
}

std::uint32_t c_NetworkSocket::AddPendingSendBytes(std::int32_t delta) {
    if (delta < 0 && static_cast<std::uint32_t>(-static_cast<std::int64_t>(delta)) > m_PendingSendBytes) {
        m_PendingSendBytes = 0;
    } else {
        m_PendingSendBytes = static_cast<std::uint32_t>(static_cast<std::int64_t>(m_PendingSendBytes) + delta);
    }
    m_MaxPendingSendBytes = std::max(m_MaxPendingSendBytes, m_PendingSendBytes);
    return m_PendingSendBytes;
}

std::int32_t c_NetworkSocket::GetDelayedSendMilliseconds() const {
    std::int32_t delay = std::max(m_DelayedSendMilliseconds, 0);
    if (m_SendBuffersInUse >= HOLD_BACK_IN_TRANSFER) {
        delay += DELAY_PER_BUFFER_MS * m_SendBuffersInUse;
    }
    if (m_DelayedSendMilliseconds == 0 && delay > DEFAULT_DELAY_LIMIT_MS) {
        return DEFAULT_DELAY_LIMIT_MS;
    }
    return std::min(delay, DELAY_LIMIT_MS);
}

bool c_NetworkSocket::IsHeldBack(bool flush, std::int32_t inTransfer, std::int32_t currentBytes) {
    return (!flush && inTransfer >= HOLD_BACK_IN_TRANSFER && currentBytes < HOLD_BACK_LIMIT) ||
           inTransfer >= SEND_BUFFER_COUNT - 1;
}

// One send buffer goes out per call. With a few buffers already in transfer, small writes wait for
// the delayed-send flush, so that they leave together; the last free buffer always stays current.
bool c_NetworkSocket::SendData(bool flush, c_CriticalSectionLock& lock) {
    if (m_SocketKind == KIND_UDP) {
        return SendDataUDP(lock);
    }
    if (!m_SendingAllowed || m_Error) {
        return true;
    }
    c_IOBuffer* buffer = nullptr;
    std::int32_t index = 0;
    if (!GetCurrentSendBuffer(&buffer, &index)) {
        return false;
    }
    const bool holdBack =
        !flush && m_SendBuffersInUse >= HOLD_BACK_IN_TRANSFER && buffer->GetUsedSize() < HOLD_BACK_LIMIT;
    if (holdBack || m_SendBuffersInUse >= SEND_BUFFER_COUNT - 1) {
        if (c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore()) {
            core->ScheduleDelayedSend(this);
        }
        return true;
    }
    m_SendRequested = false;
    if (!StageSendBuffer(index, *buffer)) {
        return false;
    }
    if (!buffer->HasData()) {
        return true;
    }
    MarkCurrentSendBufferInTransfer();
    return SendBufferInTransfer(buffer, index, lock);
}

bool c_NetworkSocket::SendBufferInTransfer(c_IOBuffer* buffer, std::int32_t index, c_CriticalSectionLock& lock) {
    if (m_p_Owner != nullptr && m_p_Owner->m_RecordSentData) {
        RecordData(buffer->GetData(), static_cast<std::uint32_t>(buffer->GetUsedSize()), m_SendRecording,
                   m_SendRecordingFailed, "UncompressedSendData_");
    }
    if (m_CompressionType != 0) {
        c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
        if (core != nullptr && core->QueueCompression(this, index)) {
            return true;
        }
        // A buffer left in transfer would keep the socket from ever being deleted.
        ReleaseSendBuffer(index);
        return false;
    }
    m_BytesSent += static_cast<std::uint64_t>(buffer->GetUsedSize());
    return PostSend(buffer, index, lock);
}

void c_NetworkSocket::FillIORecord(s_SocketIORecord& record, std::int32_t index, bool write, c_IOBuffer& buffer,
                                   int length) {
    std::memset(&record, 0, sizeof record);
    record.m_SocketIndex = m_Index;
    record.m_SocketID = m_ID;
    record.m_BufferIndex = index;
    record.m_Write = write;
    record.m_Buffer.len = static_cast<decltype(record.m_Buffer.len)>(length);
    record.m_Buffer.buf = reinterpret_cast<char*>(buffer.GetData());
}

bool c_NetworkSocket::PostSend(c_IOBuffer* buffer, std::int32_t index, c_CriticalSectionLock& lock) {
    s_SocketIORecord& record = m_SendIORecords[static_cast<std::size_t>(index)];
    FillIORecord(record, index, true, *buffer, buffer->GetUsedSize());
    WSABUF copy = record.m_Buffer;
    const SOCKET handle = GetHandle();
    // Datagram receives change the destination under the lock.
    const sockaddr_in destination = m_RemoteSockAddr;
    lock.Unlock();
    const int result = m_SocketKind == KIND_UDP
                           ? WSASendTo(handle, &copy, 1, nullptr, 0, reinterpret_cast<const sockaddr*>(&destination),
                                       sizeof destination, &record.m_Overlapped, nullptr)
                           : WSASend(handle, &copy, 1, nullptr, 0, &record.m_Overlapped, nullptr);
    const int error = result == SOCKET_ERROR ? WSAGetLastError() : 0;
    lock.Relock();
    if (result == SOCKET_ERROR && error != WSA_IO_PENDING) {
        Log(c_String("Socket send error.  ") + GetNetworkErrorText(static_cast<std::uint32_t>(error)), true);
        ReleaseSendBuffer(index);
        return false;
    }
    return true;
}

void c_NetworkSocket::OnWriteCompleted(s_SocketIORecord* record, std::uint32_t bytes, std::uint32_t error,
                                       c_CriticalSectionLock& lock) {
    const bool failed = error != 0 || bytes < record->m_Buffer.len;
    ReleaseSendBuffer(record->m_BufferIndex);
    if (failed && !m_Error) {
        Log(c_String("Socket send error.  ") + GetNetworkErrorText(error != 0 ? error : WSAECONNRESET), true);
        FailWithSocketError();
    }
    if (AreSendBuffersInUse()) {
        return;
    }
    if (m_ShutdownState == 1) {
        Log("Write has completed. Shutdown being performed.", false);
        StartGracefulShutdown(lock);
        return;
    }
    // The handshake's own messages are no sends of the owner's.
    if (!m_Error && m_p_Owner != nullptr && !m_p_Owner->m_SendCompleteEventPending && !IsSocks5HandshakeInProgress()) {
        m_p_Owner->m_SendCompleteEventPending = true;
        PostSocketEvent(SOCKET_EVENT_SEND_COMPLETE);
    }
}

void c_NetworkSocket::ReleaseSendBuffer(std::int32_t index) {
    if (index < 0 || index >= SEND_BUFFER_COUNT) {
        return;
    }
    if (m_CurrentSendBuffer < 0) {
        m_CurrentSendBuffer = index;
    }
    auto& state = m_SendBufferStates[static_cast<std::size_t>(index)];
    if (state == SEND_BUFFER_STATE_FREE) {
        Log("Warning: Releasing buffer that is not in use", true);
        return;
    }
    --m_SendBuffersInUse;
    state = SEND_BUFFER_STATE_FREE;
    c_IOBuffer& buffer = m_SendBuffers[static_cast<std::size_t>(index)];
    AddPendingSendBytes(-buffer.GetUsedSize());
    buffer.SetUsedSizeWithinCapacity(0);
}

void c_NetworkSocket::PostSyntheticWriteCompletion(std::int32_t index) {
    s_SocketIORecord& record = m_SendIORecords[static_cast<std::size_t>(index)];
    std::memset(&record, 0, sizeof record);
    record.m_SocketIndex = m_Index;
    record.m_SocketID = m_ID;
    record.m_BufferIndex = index;
    record.m_Write = true;
    if (c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore()) {
        core->PostCompletionPacket(0, &record.m_Overlapped, COMPLETION_KEY_SOCKET_IO);
    }
}

bool c_NetworkSocket::AllocateSendBuffers() {
    if (m_ShutdownStarted) {
        return false;
    }
    int given = 0;
    for (int index = 0; index < RESERVED_SEND_BUFFERS; ++index) {
        c_IOBuffer& buffer = m_SendBuffers[static_cast<std::size_t>(index)];
        if (buffer.GetCapacity() != 0) {
            continue;
        }
        if (!buffer.SetUsedSize(m_SendBufferReserveSize)) {
            return false;
        }
        buffer.SetUsedSizeWithinCapacity(0);
        ++given;
    }
    Log(Concat({"Allocated send buffers: ", ::ToString(given), " of ", ::ToString(m_SendBufferReserveSize), " bytes."}),
        false);
    return true;
}

void c_NetworkSocket::OnAbandonedCompletion(const s_SocketIORecord* record) {
    if (record->m_Write) {
        ReleaseSendBuffer(record->m_BufferIndex);
    } else {
        --m_ReceivesPosted;
    }
}
