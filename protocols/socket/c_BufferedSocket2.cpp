// c_BufferedSocket2: the object, its settings and its outgoing side: connect, send and close.

#include "protocols/socket/c_BufferedSocket2.h"

#include "network/c_NetworkSocketCore.h"
#include "oslayer/net/NameLookup.h"
#include "oslayer/net/c_NetworkAdapterList.h"
#include "oslayer/system/LogMessage.h"
#include "strings/c_StringNoCase.h"
#include "textutil/NumberFormatting.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::int32_t CONNECT_RECEIVE_BUFFER_SIZE = 32768;
constexpr std::int64_t LARGEST_SEND = 2147483647;
constexpr std::int32_t SMALLEST_SEND_DELAY_MS = 20;
constexpr std::int32_t LARGEST_SEND_DELAY_MS = 5000;

bool IsLocalHost(const c_String& address) {
    return address == "127.0.0.1" || c_StringViewNoCase(address) == "localhost";
}

} // namespace

c_BufferedSocket2::c_BufferedSocket2(c_BufferedSocket2Owner* owner, const c_StringView& name)
    : m_p_Owner(owner), m_Name(name) {
    m_DataEvent.Create(false, c_StringView());
    if (c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore()) {
        m_p_SharedSocketLock = core->AllocateSharedSocketLock();
    }
}

c_BufferedSocket2::~c_BufferedSocket2() {
    if (m_p_SharedSocketLock == nullptr) {
        return;
    }
    {
        c_CriticalSectionLock lock(m_p_SharedSocketLock->m_Section);
        if (m_State != STATE_CLOSED) {
            CloseSocket(false, lock);
        }
        m_p_Owner = nullptr;
    }
    // The network socket's own reference keeps the block alive until the core deletes it.
    if (c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore()) {
        core->ReleaseSharedSocketLock(&m_p_SharedSocketLock);
    } else {
        delete m_p_SharedSocketLock;
    }
}

bool c_BufferedSocket2::TakeLock(c_CriticalSectionLock& lock) const {
    if (m_p_SharedSocketLock == nullptr) {
        return false;
    }
    lock.Lock(m_p_SharedSocketLock->m_Section);
    return true;
}

void c_BufferedSocket2::Log(const c_StringView& text, bool force) const {
    if (!m_EnableLogging || (m_LogLevel == 1 && !force)) {
        return;
    }
    LogMessage(Concat({m_Name, " (", ::ToString(m_NetworkSocketIndex), ") | ", text}));
}

// ---- connect ----

bool c_BufferedSocket2::Connect(const c_StringView& address, std::uint16_t port, std::int32_t securityMethod,
                                c_CriticalSectionLock& lock) {
    c_String target(address);
    target.Trim();
    if (target.IsEmpty()) {
        Log("Address is empty.", true);
        return false;
    }
    if (!TakeLock(lock) || m_State != STATE_CLOSED) {
        return false;
    }
    PrepareConnection();
    RouteConnection(target, port);
    m_ConnectionKind = c_NetworkSocket::KIND_TCP;
    m_SecurityMethod = securityMethod;
    m_SocketReceiveBufferSize = CONNECT_RECEIVE_BUFFER_SIZE;
    return OpenNetworkSocket(0, lock);
}

void c_BufferedSocket2::PrepareConnection() {
    m_ReceiveBuffer.Clear(true);
    m_CompressedReceiveBuffer.Clear(true);
    m_p_LZ4Decompressor.reset();
    m_ReceiveDecompression = 0;
    ResetConnectionFlags();
    m_InsideReceivedDataCallback = false;
    m_CloseNotificationDeferred = false;
}

// The caller holds the shared lock throughout, so the socket thread sees the local port before it
// creates the handle.
bool c_BufferedSocket2::OpenNetworkSocket(std::uint32_t address, c_CriticalSectionLock& lock) {
    m_State = STATE_CONNECTING;
    c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
    if (core == nullptr || !core->CreateNetworkSocket(this, address, &m_NetworkSocketIndex, &m_NetworkSocketID, lock)) {
        m_State = STATE_CLOSED;
        return false;
    }
    m_p_NetworkSocket = core->GetNetworkSocket(m_NetworkSocketIndex, m_NetworkSocketID, true, lock);
    if (m_p_NetworkSocket != nullptr) {
        m_p_NetworkSocket->m_LocalPort = m_LocalPort;
    }
    return true;
}

bool c_BufferedSocket2::AdoptConnection(c_SocketWrapper accepted, std::int32_t securityMethod,
                                        std::int32_t connectionKind, bool useDelayedSends, std::uint32_t remoteAddress,
                                        std::uint16_t remotePort, std::int32_t socketReceiveBufferSize,
                                        std::int32_t compressionType, std::int32_t socketSendBufferSize,
                                        c_CriticalSectionLock& lock) {
    if (!accepted.IsValid() || !TakeLock(lock)) {
        return false;
    }
    if (m_State != STATE_CLOSED) {
        Log("Existing connection is not closed when adopting.", true);
        return false;
    }
    m_ConnectPort = remotePort;
    m_SecurityMethod = securityMethod;
    m_UseDelayedSends = useDelayedSends;
    m_ConnectionKind = connectionKind;
    m_SocketReceiveBufferSize = socketReceiveBufferSize;
    m_SocketSendBufferSize = socketSendBufferSize;
    m_CompressionType = compressionType;
    ResetConnectionFlags();
    c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
    if (core == nullptr ||
        !core->AdoptConnectedSocket(this, accepted, &remoteAddress, &m_NetworkSocketIndex, &m_NetworkSocketID, lock)) {
        return false;
    }
    m_p_NetworkSocket = core->GetNetworkSocket(m_NetworkSocketIndex, m_NetworkSocketID, true, lock);
    m_State = STATE_CONNECTED;
    return true;
}

// Through the core's SOCKS 5 proxy unless it is off or bypassed for this local target; the copy then
// carries the target, which the network socket asks the proxy for.
void c_BufferedSocket2::RouteConnection(const c_String& address, std::uint16_t port) {
    c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
    if (core != nullptr && core->GetSocks5ConnectionSettings() != nullptr) {
        m_Socks5Settings = *core->GetSocks5ConnectionSettings();
    }
    if (!m_Socks5Settings.m_UseSocks5 || (m_Socks5Settings.m_BypassForLocalHost && IsLocalHost(address))) {
        m_Socks5Settings.m_UseSocks5 = false;
        m_RemoteName = address;
        m_ConnectPort = port;
        return;
    }
    m_RemoteName = m_Socks5Settings.m_Host;
    m_ConnectPort = static_cast<std::uint16_t>(m_Socks5Settings.m_Port);
    m_Socks5Settings.m_Host = address;
    m_Socks5Settings.m_Port = port;
}

void c_BufferedSocket2::ResetConnectionFlags() {
    m_DataReceivedEventPending = false;
    m_SendCompleteEventPending = false;
}

// ---- send ----

bool c_BufferedSocket2::Send(const void* data, std::int64_t length, std::int32_t queueOnly,
                             c_CriticalSectionLock& lock) {
    if (!TakeLock(lock)) {
        return false;
    }
    if (m_ConnectionKind == c_NetworkSocket::KIND_UDP) {
        return SendDatagrams(data, length, queueOnly, lock);
    }
    if (!IsSendAllowed(length)) {
        return false;
    }
    std::int32_t index = 0;
    c_IOBuffer* buffer = TakeCurrentSendBuffer(&index);
    if (buffer == nullptr || !AppendToSendBuffer(*buffer, data, length)) {
        return false;
    }
    if (queueOnly == 0 && buffer->GetUsedSize() > 0) {
        return RequestCoreSend(lock);
    }
    return true;
}

bool c_BufferedSocket2::IsSendAllowed(std::int64_t length) {
    if (m_BufferLimitReached || length >= LARGEST_SEND || length < 0) {
        return false;
    }
    if (m_SendFailed || m_p_NetworkSocket == nullptr || m_p_NetworkSocket->m_Error) {
        return false;
    }
    if (std::uint64_t(m_p_NetworkSocket->GetPendingSendBytes()) + std::uint64_t(length) > m_SendBufferLimit) {
        return FailSend(SOCKET_EVENT_BUFFER_LIMIT_REACHED, &m_BufferLimitReached);
    }
    if (m_State != STATE_CONNECTED) {
        Log("Ignored Send call. Socket is not connected.", true);
        return false;
    }
    return true;
}

c_IOBuffer* c_BufferedSocket2::TakeCurrentSendBuffer(std::int32_t* index) {
    c_IOBuffer* buffer = nullptr;
    if (!m_p_NetworkSocket->GetCurrentSendBuffer(&buffer, index)) {
        Log("Out of available buffers or buffer memory allocation error", true);
        FailSend(SOCKET_EVENT_OUT_OF_MEMORY, &m_SendFailed);
        return nullptr;
    }
    return buffer;
}

bool c_BufferedSocket2::AppendToSendBuffer(c_IOBuffer& buffer, const void* data, std::int64_t length) {
    if (data == nullptr || length <= 0) {
        return true;
    }
    if (!buffer.Append(data, static_cast<int>(length))) {
        return FailSend(SOCKET_EVENT_OUT_OF_MEMORY, &m_SendFailed);
    }
    m_p_NetworkSocket->AddPendingSendBytes(static_cast<std::int32_t>(length));
    return true;
}

// The flag refuses every later send until CloseSocket; the event closes the socket.
bool c_BufferedSocket2::FailSend(std::uint32_t event, bool* flag) {
    *flag = true;
    PostNetworkSocketEvent(event);
    return false;
}

bool c_BufferedSocket2::RequestCoreSend(c_CriticalSectionLock& lock) {
    c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
    return core != nullptr && TakeLock(lock) && core->RequestSend(m_p_NetworkSocket);
}

void c_BufferedSocket2::PostNetworkSocketEvent(std::uint32_t event) {
    if (m_p_NetworkSocket != nullptr) {
        m_p_NetworkSocket->PostSocketEvent(event);
    }
}

bool c_BufferedSocket2::PeekCurrentSendBuffer(std::uint32_t maxBytes, void* out, std::uint32_t& count,
                                              c_CriticalSectionLock& lock) {
    count = 0;
    if (out == nullptr || !TakeLock(lock) || m_SendFailed || m_p_NetworkSocket == nullptr ||
        m_p_NetworkSocket->m_Error || m_State != STATE_CONNECTED) {
        return false;
    }
    std::int32_t index = 0;
    const c_IOBuffer* buffer = TakeCurrentSendBuffer(&index);
    if (buffer == nullptr) {
        return false;
    }
    count = std::min(maxBytes, static_cast<std::uint32_t>(buffer->GetUsedSize()));
    std::copy_n(buffer->GetData(), count, static_cast<std::uint8_t*>(out));
    return true;
}

// ---- close ----

void c_BufferedSocket2::CloseSocket(bool notifyOwner, c_CriticalSectionLock& lock) {
    Log("CloseSocket call.", false);
    if (!TakeLock(lock) || m_State == STATE_CLOSED) {
        return;
    }
    if (m_ReceiveThreadMode) {
        StopReceiveThread(lock);
    }
    m_State = STATE_CLOSED;
    ResetConnectionFlags();
    m_p_ReceiveThread = nullptr;
    m_ReceiveWaitMilliseconds = -1;
    m_ReceiveThreadMode = false;
    LogSendBufferStatistics();
    m_ConnectPort = 0;
    m_RemoteName = c_String();
    m_ConnectionKind = 0;
    c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore();
    if (m_p_NetworkSocket != nullptr && core != nullptr) {
        core->ReleaseNetworkSocket(m_p_NetworkSocket);
    }
    m_NetworkSocketIndex = 0;
    m_NetworkSocketID = 0;
    m_p_NetworkSocket = nullptr;
    m_SendFailed = false;
    m_BufferLimitReached = false;
    if (notifyOwner) {
        NotifyOwnerClosed(lock, "c_BufferedSocket2::CloseSocket");
    }
}

// On the receive thread itself (a callback of its own) it cannot wait for itself: the loop ends
// after the callback returns. A thread that has not started its loop yet finds the end event set.
// Otherwise the lock goes while the thread finishes its last step.
void c_BufferedSocket2::StopReceiveThread(c_CriticalSectionLock& lock) {
    const std::uint32_t received = m_p_NetworkSocket == nullptr ? 0 : m_p_NetworkSocket->GetReceivedBytes();
    Log(c_String("Signaling for receive thread to end. Bytes in receive buffer: ") + ::ToString(received), false);
    m_EndRequested = true;
    m_EndEvent.Set();
    if (m_p_ReceiveThread == nullptr || IsOnReceiveThread()) {
        return;
    }
    lock.Unlock();
    m_p_ReceiveThread->WaitForThreadToFinish();
    lock.Relock();
}

bool c_BufferedSocket2::IsOnReceiveThread() const {
    return m_p_ReceiveThread != nullptr && m_p_ReceiveThread->GetThreadId() == GetCurrentThreadId();
}

void c_BufferedSocket2::LogSendBufferStatistics() {
    if (m_p_NetworkSocket == nullptr || m_p_NetworkSocket->GetMaxSendBuffersUsed() < 3) {
        return;
    }
    Log(c_String("Max send buffers used during socket life: ") + ::ToString(m_p_NetworkSocket->GetMaxSendBuffersUsed()),
        false);
    Log(c_String("Max send buffer size during socket life: ") + ::ToString(m_p_NetworkSocket->GetMaxPendingSendBytes()),
        false);
}

// ---- state and received bytes ----

bool c_BufferedSocket2::IsConnected(c_CriticalSectionLock& lock) {
    return TakeLock(lock) && m_State == STATE_CONNECTED;
}

bool c_BufferedSocket2::IsDisconnected(c_CriticalSectionLock& lock) {
    return !TakeLock(lock) || m_State == STATE_CLOSED;
}

bool c_BufferedSocket2::IsSendDataPendingTobeSent(c_CriticalSectionLock& lock) {
    return TakeLock(lock) && m_p_NetworkSocket != nullptr &&
           (m_p_NetworkSocket->GetSendBuffersInUse() > 0 || m_p_NetworkSocket->GetPendingSendBytes() > 0);
}

bool c_BufferedSocket2::ReadLine(c_String& line, c_CriticalSectionLock& lock) {
    if (!TakeLock(lock) || m_State != STATE_CONNECTED) {
        return false;
    }
    const c_StringView text(reinterpret_cast<const char*>(m_ReceiveBuffer.GetData()),
                            static_cast<int>(m_ReceiveBuffer.GetSize()));
    const int end = text.Find('\n');
    if (end < 0) {
        return false;
    }
    const int length = end > 0 && text.begin()[end - 1] == '\r' ? end - 1 : end;
    line = c_String(text.Left(length));
    m_ReceiveBuffer.Consume(static_cast<std::uint32_t>(end) + 1);
    return true;
}

void c_BufferedSocket2::ConsumeReceivedData(std::uint32_t count, c_CriticalSectionLock& lock) {
    if (TakeLock(lock)) {
        m_ReceiveBuffer.Consume(count);
    }
}

// ---- settings ----

void c_BufferedSocket2::SetName(const c_StringView& name, c_CriticalSectionLock& lock) {
    if (TakeLock(lock)) {
        m_Name = c_String(name);
    }
}

void c_BufferedSocket2::SetEnableLogging(bool enable, c_CriticalSectionLock& lock) {
    if (TakeLock(lock)) {
        m_EnableLogging = enable;
    }
}

void c_BufferedSocket2::SetLogLevel(std::int32_t level, c_CriticalSectionLock& lock) {
    if (TakeLock(lock)) {
        m_LogLevel = level;
    }
}

std::uint32_t c_BufferedSocket2::SetSendBufferSizeLimit(std::uint32_t limit, c_CriticalSectionLock& lock) {
    TakeLock(lock);
    m_SendBufferLimit = limit == 0 ? SMALLEST_SEND_BUFFER_LIMIT : limit;
    return m_SendBufferLimit;
}

std::uint32_t c_BufferedSocket2::GetSendBufferSizeLimit(c_CriticalSectionLock& lock) {
    TakeLock(lock);
    return m_SendBufferLimit;
}

std::uint32_t c_BufferedSocket2::GetReceiveBufferSize(c_CriticalSectionLock& lock) {
    TakeLock(lock);
    return m_ReceiveBuffer.GetSize();
}

std::int32_t c_BufferedSocket2::GetNetworkSocketID(c_CriticalSectionLock& lock) {
    TakeLock(lock);
    return m_NetworkSocketIndex;
}

void c_BufferedSocket2::SetTLSServerCertificatePathAndFileName(const c_StringView& path, c_CriticalSectionLock& lock) {
    if (TakeLock(lock)) {
        m_TLSServerCertificatePathAndFileName = c_String(path);
    }
}

void c_BufferedSocket2::SetTLSClientAuthenticationCertificateFiles(const c_StringView& caFile,
                                                                   const c_StringView& certificateFile,
                                                                   const c_StringView& keyFile,
                                                                   c_CriticalSectionLock& lock) {
    if (TakeLock(lock)) {
        m_TLSClientAuthenticationCAFile = c_String(caFile);
        m_TLSClientAuthenticationCertificateFile = c_String(certificateFile);
        m_TLSClientAuthenticationKeyFile = c_String(keyFile);
    }
}

void c_BufferedSocket2::GetTLSClientAuthenticationCertificateFiles(c_String& caFile, c_String& certificateFile,
                                                                   c_String& keyFile) const {
    caFile = m_TLSClientAuthenticationCAFile;
    certificateFile = m_TLSClientAuthenticationCertificateFile;
    keyFile = m_TLSClientAuthenticationKeyFile;
}

std::int32_t c_BufferedSocket2::SetDelayedSendMilliseconds(std::int32_t milliseconds, c_CriticalSectionLock& lock) {
    TakeLock(lock);
    m_DelayedSendMilliseconds = std::clamp(milliseconds, SMALLEST_SEND_DELAY_MS, LARGEST_SEND_DELAY_MS);
    if (m_p_NetworkSocket != nullptr) {
        m_p_NetworkSocket->m_DelayedSendMilliseconds = m_DelayedSendMilliseconds;
    }
    return m_DelayedSendMilliseconds;
}

std::int32_t c_BufferedSocket2::SetCompressionType(std::uint32_t type, c_CriticalSectionLock& lock) {
    TakeLock(lock);
    m_CompressionType = type >= 3 ? 0 : static_cast<std::int32_t>(type);
    if (m_p_NetworkSocket != nullptr) {
        m_p_NetworkSocket->m_CompressionType = m_CompressionType;
    }
    return m_CompressionType;
}

void c_BufferedSocket2::SetRecordReceivedData(bool record, c_CriticalSectionLock& lock) {
    if (TakeLock(lock)) {
        m_RecordReceivedData = record;
    }
}

void c_BufferedSocket2::SetRecordSentData(bool record, c_CriticalSectionLock& lock) {
    if (TakeLock(lock)) {
        m_RecordSentData = record;
    }
}

void c_BufferedSocket2::SetReceiveDecompression(std::int32_t mode, c_CriticalSectionLock& lock) {
    if (!TakeLock(lock)) {
        return;
    }
    m_ReceiveDecompression = mode == 1 || mode == 2 ? mode : 0;
    m_p_LZ4Decompressor.reset(m_ReceiveDecompression == 2 ? new c_LZ4StreamDecompressor() : nullptr);
}

std::uint16_t c_BufferedSocket2::GetLocalPort(c_CriticalSectionLock& lock) {
    return TakeLock(lock) && m_State == STATE_CONNECTED && m_p_NetworkSocket != nullptr ? m_p_NetworkSocket->m_LocalPort
                                                                                        : 0;
}

std::uint32_t c_BufferedSocket2::GetLocalAddress(c_CriticalSectionLock& lock) {
    return TakeLock(lock) && m_State == STATE_CONNECTED && m_p_NetworkSocket != nullptr
               ? m_p_NetworkSocket->m_LocalAddress
               : 0;
}

std::uint16_t c_BufferedSocket2::GetRemotePort(c_CriticalSectionLock& lock) {
    return TakeLock(lock) && m_p_NetworkSocket != nullptr ? m_p_NetworkSocket->m_Port : 0;
}

std::uint32_t c_BufferedSocket2::GetRemoteAddress(c_CriticalSectionLock& lock) {
    return TakeLock(lock) && m_p_NetworkSocket != nullptr ? m_p_NetworkSocket->m_RemoteAddress : 0;
}

std::uint32_t c_BufferedSocket2::GetPendingSendBytes(c_CriticalSectionLock& lock) {
    return TakeLock(lock) && m_p_NetworkSocket != nullptr ? m_p_NetworkSocket->GetPendingSendBytes() : 0;
}

std::int32_t c_BufferedSocket2::GetSendBuffersInUse(c_CriticalSectionLock& lock) {
    return TakeLock(lock) && m_p_NetworkSocket != nullptr ? m_p_NetworkSocket->GetSendBuffersInUse() : 0;
}

std::int32_t c_BufferedSocket2::GetMaxSendBuffersUsed(c_CriticalSectionLock& lock) {
    return TakeLock(lock) && m_p_NetworkSocket != nullptr ? m_p_NetworkSocket->GetMaxSendBuffersUsed() : 0;
}

std::int32_t c_BufferedSocket2::GetMaxMessageSize(c_CriticalSectionLock& lock) {
    return TakeLock(lock) && m_p_NetworkSocket != nullptr ? m_p_NetworkSocket->GetMaxMessageSize() : 0;
}

float c_BufferedSocket2::GetCompressionRatio(c_CriticalSectionLock& lock) {
    return TakeLock(lock) && m_p_NetworkSocket != nullptr ? m_p_NetworkSocket->GetCompressionRatio() : 0;
}

void c_BufferedSocket2::GetCompressionStatistics(float& ratio, std::uint64_t& bytesSent, double& seconds,
                                                 std::int32_t& count, c_CriticalSectionLock& lock) {
    if (!TakeLock(lock) || m_p_NetworkSocket == nullptr) {
        return;
    }
    ratio = m_p_NetworkSocket->GetCompressionRatio();
    bytesSent = m_p_NetworkSocket->m_BytesSent;
    seconds = m_p_NetworkSocket->m_CompressionSeconds;
    count = m_p_NetworkSocket->m_CompressionCount;
}

bool c_BufferedSocket2::RequestReceiveBufferResize(c_CriticalSectionLock& lock) {
    if (!TakeLock(lock) || m_p_NetworkSocket == nullptr) {
        return false;
    }
    m_p_NetworkSocket->m_ResizeIdleReceiveBuffers = true;
    return true;
}

// ---- addresses ----

bool ParseIPv4AddressText(const c_String& text, std::uint32_t* out) {
    const std::optional<std::uint32_t> address = n_OSLayer::ParseIPv4Address(text);
    if (!address) {
        return false;
    }
    if (out != nullptr) {
        *out = *address;
    }
    return true;
}

c_String GetMACAddressTextOfIPv4Address(std::uint32_t address) {
    return n_OSLayer::FormatMACAddress(n_OSLayer::GetMACAddressOfIPv4Address(address));
}
