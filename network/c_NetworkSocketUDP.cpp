// c_NetworkSocket: the datagram send path: queued datagrams, one in flight at a time.

#include "network/c_NetworkSocket.h"

#include "network/c_NetworkSocketCore.h"

bool c_NetworkSocket::QueueSendBuffer(std::int32_t index) {
    m_SendBufferStates[static_cast<std::size_t>(index)] = SEND_BUFFER_STATE_QUEUED;
    m_QueuedSendBuffers.push_back(index);
    SelectNextFreeSendBuffer();
    return m_CurrentSendBuffer >= 0;
}

bool c_NetworkSocket::PopQueuedSendBuffer(c_IOBuffer** buffer, std::int32_t* index) {
    if (m_QueuedSendBuffers.empty()) {
        return false;
    }
    *index = m_QueuedSendBuffers.front();
    m_QueuedSendBuffers.pop_front();
    *buffer = &m_SendBuffers[static_cast<std::size_t>(*index)];
    return true;
}

// Queued datagrams go first, oldest first, then the current buffer; a datagram in flight makes the
// rest wait for the delayed-send flush.
bool c_NetworkSocket::SendDataUDP(c_CriticalSectionLock& lock) {
    if (!m_SendingAllowed || m_Error) {
        return true;
    }
    for (bool lastPass = false; !lastPass;) {
        if (AreSendBuffersInUse()) {
            if (c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore()) {
                core->ScheduleDelayedSend(this);
            }
            return true;
        }
        c_IOBuffer* buffer = nullptr;
        std::int32_t index = 0;
        const bool queued = PopQueuedSendBuffer(&buffer, &index);
        if (!queued) {
            if (!GetCurrentSendBuffer(&buffer, &index)) {
                return true;
            }
            lastPass = true;
        }
        m_SendRequested = false;
        if (!buffer->HasData()) {
            if (queued) {
                m_SendBufferStates[static_cast<std::size_t>(index)] = SEND_BUFFER_STATE_FREE;
            }
            continue;
        }
        if (queued) {
            MarkSendBufferInTransfer(index);
        } else {
            MarkCurrentSendBufferInTransfer();
        }
        if (!SendBufferInTransfer(buffer, index, lock)) {
            return false;
        }
    }
    return true;
}
