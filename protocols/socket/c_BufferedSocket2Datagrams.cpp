// c_BufferedSocket2: the datagram side: the multicast receiver and sends split into datagrams.

#include "protocols/socket/c_BufferedSocket2.h"

#include <algorithm>

namespace {

constexpr std::int32_t MULTICAST_RECEIVE_BUFFER_SIZE = 65536;
constexpr std::int64_t DEFAULT_DATAGRAM_SIZE = 1024;

} // namespace

bool c_BufferedSocket2::OpenMulticast(const c_StringView& interfaceAddress, const c_StringView& multicastAddress,
                                      std::uint16_t port, c_CriticalSectionLock& lock) {
    c_String interfaceText(interfaceAddress);
    interfaceText.Trim();
    if (interfaceText.IsEmpty()) {
        Log("Interface address is empty.", true);
        return false;
    }
    c_String group(multicastAddress);
    group.Trim();
    if (group.IsEmpty()) {
        Log("Multicast address is empty.", true);
        return false;
    }
    if (!TakeLock(lock) || m_State != STATE_CLOSED) {
        return false;
    }
    std::uint32_t interface = 0;
    std::uint32_t groupAddress = 0;
    ParseIPv4AddressText(interfaceText, &interface);
    ParseIPv4AddressText(group, &groupAddress);
    PrepareConnection();
    m_RemoteName = group;
    m_ConnectPort = port;
    m_InterfaceAddress = interface;
    m_ConnectionKind = c_NetworkSocket::KIND_MULTICAST;
    m_SecurityMethod = 0;
    m_SocketReceiveBufferSize = MULTICAST_RECEIVE_BUFFER_SIZE;
    return OpenNetworkSocket(groupAddress, lock);
}

// A datagram is never larger than the socket's largest message: bytes that a queued-only send left
// in the current buffer are topped up to that size, and the rest goes on in further buffers. The
// datagrams queued before a failure stay queued.
bool c_BufferedSocket2::SendDatagrams(const void* data, std::int64_t length, std::int32_t queueOnly,
                                      c_CriticalSectionLock& lock) {
    if (!TakeLock(lock) || !IsSendAllowed(length)) {
        return false;
    }
    const std::int64_t largest = m_p_NetworkSocket->GetMaxMessageSize();
    const std::int64_t datagramSize = largest > 0 ? largest : DEFAULT_DATAGRAM_SIZE;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::int64_t remaining = data == nullptr ? 0 : length; remaining > 0;) {
        std::int32_t index = 0;
        c_IOBuffer* buffer = TakeCurrentSendBuffer(&index);
        if (buffer == nullptr) {
            return false;
        }
        const std::int64_t piece = std::min(remaining, datagramSize - buffer->GetUsedSize());
        if (piece > 0) {
            if (!AppendToSendBuffer(*buffer, bytes, piece)) {
                return false;
            }
            bytes += piece;
            remaining -= piece;
        }
        if (remaining > 0 && !m_p_NetworkSocket->QueueSendBuffer(index)) {
            return false;
        }
    }
    if (queueOnly == 0 && m_p_NetworkSocket->GetPendingSendBytes() > 0) {
        return RequestCoreSend(lock);
    }
    return true;
}
