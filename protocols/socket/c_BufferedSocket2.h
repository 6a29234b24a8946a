#pragma once
// c_BufferedSocket2: the connection object that owners use, over a network socket that the core owns.
//
// An owner embeds one on its thread, calls Connect, queues bytes with Send and flushes them with
// SendQueuedData, and hears through c_BufferedSocket2Owner when the connection is up, when bytes
// have arrived and when it has closed. The socket never touches Winsock: the core creates, feeds and
// closes the network socket, copying this object's settings when it builds it (c_NetworkSocketOwner),
// and dispatches the socket events to the handlers here on the owner's thread.
//
// Locking: every operation takes the caller's c_CriticalSectionLock as its last argument and points
// it at the shared lock, which stays held when the operation returns, so an owner keeps it across a
// chain of calls. Owner slots are called between Unlock and Relock. The getters of the owner
// interface (GetName, GetRemoteName, ...) take no lock: the core reads them with it held, and the
// owner's own thread is the only writer. In receive-thread mode the owner's thread of its own runs
// WaitForAndProcessReceivedData and gets the received data and the time-outs there.
//
// The receive path is three steps: take the bytes from the network socket, decode compressed blocks,
// offer the result to the owner. A WebSocket upgrade check belongs between the last two.

#include "network/LZ4Streams.h"
#include "network/c_NetworkSocket.h"
#include "network/c_NetworkSocketOwner.h"
#include "network/c_SocketWrapper.h"
#include "oslayer/threads/c_Event.h"
#include "oslayer/threads/c_ThreadWrapper.h"
#include "protocols/socket/c_BufferedSocket2Owner.h"
#include "strings/c_String.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>
#include <memory>

class c_BufferedSocket2 : public c_NetworkSocketOwner {
public:
    static constexpr std::uint32_t DEFAULT_SEND_BUFFER_LIMIT = 104857600;
    static constexpr std::uint32_t SMALLEST_SEND_BUFFER_LIMIT = 1048576;
    // Received bytes are offered to the owner in portions of about this size.
    static constexpr std::uint32_t RECEIVE_PORTION = 1048576;
    static constexpr std::int32_t STATE_CLOSED = 0;
    static constexpr std::int32_t STATE_CONNECTING = 1;
    static constexpr std::int32_t STATE_CONNECTED = 2;

    c_BufferedSocket2(c_BufferedSocket2Owner* owner, const c_StringView& name);
    virtual ~c_BufferedSocket2();
    c_BufferedSocket2(const c_BufferedSocket2&) = delete;
    c_BufferedSocket2& operator=(const c_BufferedSocket2&) = delete;

    // An IPv4 text or a host name, directly or through the core's SOCKS 5 proxy; true when the network
    // socket was created. The outcome arrives as events.
    bool Connect(const c_StringView& address, std::uint16_t port, std::int32_t securityMethod,
                 c_CriticalSectionLock& lock);
    // A UDP receiver bound to port on the interface and joined to the multicast group (dotted IPv4
    // texts). Any security method of an earlier connection is dropped: datagrams carry no TLS.
    bool OpenMulticast(const c_StringView& interfaceAddress, const c_StringView& multicastAddress, std::uint16_t port,
                       c_CriticalSectionLock& lock);
    // Takes over a connected socket (one a listening socket accepted, say), which is closed when this
    // fails. Connected at once: no connected call follows.
    bool AdoptConnection(c_SocketWrapper accepted, std::int32_t securityMethod, std::int32_t connectionKind,
                         bool useDelayedSends, std::uint32_t remoteAddress, std::uint16_t remotePort,
                         std::int32_t socketReceiveBufferSize, std::int32_t compressionType,
                         std::int32_t socketSendBufferSize, c_CriticalSectionLock& lock);
    // Queues bytes; with queueOnly 0 also asks for them to be sent.
    bool Send(const void* data, std::int64_t length, std::int32_t queueOnly, c_CriticalSectionLock& lock);
    bool SendQueuedData(c_CriticalSectionLock& lock) { return Send(nullptr, 0, 0, lock); }
    // Connection kind 1: the bytes become datagrams of at most the socket's largest message (1024
    // bytes when it has none), each in a send buffer of its own.
    bool SendDatagrams(const void* data, std::int64_t length, std::int32_t queueOnly, c_CriticalSectionLock& lock);
    bool RequestCoreSend(c_CriticalSectionLock& lock);
    void CloseSocket(bool notifyOwner, c_CriticalSectionLock& lock);

    bool IsConnected(c_CriticalSectionLock& lock);
    bool IsDisconnected(c_CriticalSectionLock& lock);
    bool IsSendDataPendingTobeSent(c_CriticalSectionLock& lock);
    bool PeekCurrentSendBuffer(std::uint32_t maxBytes, void* out, std::uint32_t& count, c_CriticalSectionLock& lock);
    // The first line of the receive buffer without its LF (and a CR before it), consumed with its LF.
    bool ReadLine(c_String& line, c_CriticalSectionLock& lock);
    void ConsumeReceivedData(std::uint32_t count, c_CriticalSectionLock& lock);
    // name + " (" + index + ") | " + text; with log level 1 only forced lines.
    void Log(const c_StringView& text, bool force) const;

    void SetName(const c_StringView& name, c_CriticalSectionLock& lock);
    void SetEnableLogging(bool enable, c_CriticalSectionLock& lock);
    void SetLogLevel(std::int32_t level, c_CriticalSectionLock& lock);
    // 0 sets 1048576; returns the value stored.
    std::uint32_t SetSendBufferSizeLimit(std::uint32_t limit, c_CriticalSectionLock& lock);
    std::uint32_t GetSendBufferSizeLimit(c_CriticalSectionLock& lock);
    std::uint32_t GetReceiveBufferSize(c_CriticalSectionLock& lock);
    std::int32_t GetNetworkSocketID(c_CriticalSectionLock& lock);
    void SetTLSServerCertificatePathAndFileName(const c_StringView& path, c_CriticalSectionLock& lock);
    void SetTLSClientAuthenticationCertificateFiles(const c_StringView& caFile, const c_StringView& certificateFile,
                                                    const c_StringView& keyFile, c_CriticalSectionLock& lock);
    // Clamped to 20 .. 5000; passed on to a live network socket.
    std::int32_t SetDelayedSendMilliseconds(std::int32_t milliseconds, c_CriticalSectionLock& lock);
    // 3 and above become 0; passed on to a live network socket.
    std::int32_t SetCompressionType(std::uint32_t type, c_CriticalSectionLock& lock);
    void SetRecordReceivedData(bool record, c_CriticalSectionLock& lock);
    void SetRecordSentData(bool record, c_CriticalSectionLock& lock);
    // 0 none, 1 LZ4 blocks in the one-shot form, 2 in the stream form; other values 0. Connect sets 0,
    // so an owner chooses it for each connection after Connect.
    void SetReceiveDecompression(std::int32_t mode, c_CriticalSectionLock& lock);
    // The port Connect binds before connecting (0: any); takes no lock.
    void SetLocalPort(std::uint16_t port) { m_LocalPort = port; }
    std::uint16_t GetLocalPort(c_CriticalSectionLock& lock);
    std::uint32_t GetLocalAddress(c_CriticalSectionLock& lock);
    std::uint16_t GetRemotePort(c_CriticalSectionLock& lock);
    std::uint32_t GetRemoteAddress(c_CriticalSectionLock& lock);
    std::uint32_t GetPendingSendBytes(c_CriticalSectionLock& lock);
    std::int32_t GetSendBuffersInUse(c_CriticalSectionLock& lock);
    std::int32_t GetMaxSendBuffersUsed(c_CriticalSectionLock& lock);
    std::int32_t GetMaxMessageSize(c_CriticalSectionLock& lock);
    // Bytes handed to sending per compressed byte; 0 before anything was compressed or without a
    // network socket.
    float GetCompressionRatio(c_CriticalSectionLock& lock);
    // The ratio, the bytes handed to sending before compression, the seconds spent compressing and
    // the number of compressed buffers; without a network socket the outputs are left as they are.
    void GetCompressionStatistics(float& ratio, std::uint64_t& bytesSent, double& seconds, std::int32_t& count,
                                  c_CriticalSectionLock& lock);
    // The network socket's idle receive buffers take its receive-buffer size before their next post.
    bool RequestReceiveBufferResize(c_CriticalSectionLock& lock);

    // Receive-thread mode: wait 0 means infinite. The owner's thread runs the loop until the
    // connection ends; SignalReceiveThreadEnd only sets the end event.
    bool EnableReceiveThread(std::int32_t waitMilliseconds, c_CriticalSectionLock& lock);
    void WaitForAndProcessReceivedData(c_ThreadWrapper* thread);
    void SignalReceiveThreadEnd();

    // c_NetworkSocketOwner: the settings the core copies.
    c_SharedSocketLock* GetSharedSocketLock() const override { return m_p_SharedSocketLock; }
    c_String GetName() const override { return m_Name; }
    bool GetEnableLogging() const override { return m_EnableLogging; }
    std::int32_t GetLogLevel() const override { return m_LogLevel; }
    std::int32_t GetSecurityMethod() const override { return m_SecurityMethod; }
    c_String GetRemoteName() const override { return m_RemoteName; }
    std::uint16_t GetConnectPort() const override { return m_ConnectPort; }
    std::int32_t GetConnectionKind() const override { return m_ConnectionKind; }
    std::uint32_t GetInterfaceAddress() const override { return m_InterfaceAddress; }
    std::int32_t GetSocketReceiveBufferSize() const override { return m_SocketReceiveBufferSize; }
    std::int32_t GetSocketSendBufferSize() const override { return m_SocketSendBufferSize; }
    std::int32_t GetCompressionType() const override { return m_CompressionType; }
    bool GetUseDelayedSends() const override { return m_UseDelayedSends; }
    std::int32_t GetDelayedSendMilliseconds() const override { return m_DelayedSendMilliseconds; }
    c_String GetTLSServerCertificatePathAndFileName() const override { return m_TLSServerCertificatePathAndFileName; }
    void GetTLSClientAuthenticationCertificateFiles(c_String& caFile, c_String& certificateFile,
                                                    c_String& keyFile) const override;
    c_Socks5ConnectionSettings GetSocks5ConnectionSettings() const override { return m_Socks5Settings; }
    bool GetRecordReceivedData() const { return m_RecordReceivedData; }
    bool GetRecordSentData() const { return m_RecordSentData; }

    // c_NetworkSocketOwner: the socket events, on the owner's thread.
    void OnNameResolutionFailed(c_CriticalSectionLock& lock) override;
    void OnReceivedDataFromCore(c_CriticalSectionLock& lock) override;
    void OnConnectFailed(c_CriticalSectionLock& lock) override;
    void OnSocketConnected(c_CriticalSectionLock& lock) override;
    void OnSocketClosedByRemote(c_CriticalSectionLock& lock) override;
    void OnSocketError(c_CriticalSectionLock& lock) override;
    void OnSendDataComplete(c_CriticalSectionLock& lock) override;
    void OnOutOfMemory(c_CriticalSectionLock& lock) override;
    void OnBufferLimitReached(c_CriticalSectionLock& lock) override;

private:
    // Points lock at the shared lock; false without one (no core at construction).
    bool TakeLock(c_CriticalSectionLock& lock) const;
    void RouteConnection(const c_String& address, std::uint16_t port);
    // What every new connection starts without: received bytes, decompression, pending events.
    void PrepareConnection();
    // Connecting: the core makes the network socket (address 0: the remote name is resolved), which
    // takes the local port.
    bool OpenNetworkSocket(std::uint32_t address, c_CriticalSectionLock& lock);
    void ResetConnectionFlags();
    bool FailSend(std::uint32_t event, bool* flag);
    // The refusals that every send makes before it touches a buffer; a send past the limit posts 1033.
    bool IsSendAllowed(std::int64_t length);
    // The network socket's current send buffer; without one the send failed (1032 posted).
    c_IOBuffer* TakeCurrentSendBuffer(std::int32_t* index);
    bool AppendToSendBuffer(c_IOBuffer& buffer, const void* data, std::int64_t length);
    void StopReceiveThread(c_CriticalSectionLock& lock);
    void LogSendBufferStatistics();
    bool IsOnReceiveThread() const;

    // Owner calls, each guarded; context is the calling method's name.
    bool NotifyOwnerConnected(c_CriticalSectionLock& lock, const c_StringView& context);
    bool NotifyOwnerClosed(c_CriticalSectionLock& lock, const c_StringView& context);
    bool NotifyOwnerSendDataComplete(c_CriticalSectionLock& lock, const c_StringView& context);
    void NotifyOwnerReceiveThreadTimeoutElapsed(c_CriticalSectionLock& lock, const c_StringView& context);
    void NotifyOwnerReceiveThreadEnded(const c_StringView& context);
    void LogOwnerException(const c_StringView& slot, const c_StringView& context, const c_StringView& tail);

    // The received-data path and its steps.
    void NotifySocketReceivedData(c_CriticalSectionLock& lock, const c_StringView& context);
    bool HandOverReceivedPortion(c_CriticalSectionLock& lock, const c_StringView& context, std::uint32_t& taken);
    // Adds the bytes it took to taken; false when the buffer cannot grow.
    bool TakeReceivedBytes(std::uint32_t& taken);
    bool DecodeReceivedBlocks();
    // False when the path must end: the owner threw, closed, or was told of the close.
    bool OfferReceivedData(c_CriticalSectionLock& lock, const c_StringView& context);
    void PostNetworkSocketEvent(std::uint32_t event);

    bool m_RecordReceivedData = false;
    bool m_RecordSentData = false;
    c_SharedSocketLock* m_p_SharedSocketLock = nullptr;
    c_BufferedSocket2Owner* m_p_Owner;
    c_String m_Name;
    bool m_EnableLogging = true;
    std::int32_t m_LogLevel = 0;
    std::int32_t m_State = STATE_CLOSED;
    std::int32_t m_NetworkSocketIndex = 0;
    std::uint32_t m_NetworkSocketID = 0;
    c_NetworkSocket* m_p_NetworkSocket = nullptr;
    std::uint32_t m_SendBufferLimit = DEFAULT_SEND_BUFFER_LIMIT;
    c_ByteBuffer m_ReceiveBuffer;
    c_ByteBuffer m_CompressedReceiveBuffer;
    c_String m_RemoteName;
    std::uint32_t m_InterfaceAddress = 0;
    std::uint16_t m_LocalPort = 0;
    std::uint16_t m_ConnectPort = 0;
    std::int32_t m_ConnectionKind = 0;
    std::int32_t m_SocketReceiveBufferSize = 0;
    std::int32_t m_SocketSendBufferSize = 0;
    bool m_ReceiveThreadMode = false;
    std::int32_t m_SecurityMethod = 0;
    std::int32_t m_ReceiveDecompression = 0;
    std::int32_t m_CompressionType = 0;
    bool m_UseDelayedSends = false;
    std::int32_t m_DelayedSendMilliseconds = 0;
    c_Event m_DataEvent;
    c_Event m_EndEvent;
    bool m_EndRequested = false;
    c_ThreadWrapper* m_p_ReceiveThread = nullptr;
    std::int32_t m_ReceiveWaitMilliseconds = -1;
    bool m_SendFailed = false;
    c_Socks5ConnectionSettings m_Socks5Settings;
    c_String m_TLSServerCertificatePathAndFileName;
    c_String m_TLSClientAuthenticationCAFile;
    c_String m_TLSClientAuthenticationCertificateFile;
    c_String m_TLSClientAuthenticationKeyFile;
    bool m_BufferLimitReached = false;
    bool m_InsideReceivedDataCallback = false;
    bool m_CloseNotificationDeferred = false;
    // The stream form's history, one per connection.
    std::unique_ptr<c_LZ4StreamDecompressor> m_p_LZ4Decompressor;
};

// Dotted IPv4 text; the address, in host byte order, is stored when out is given.
bool ParseIPv4AddressText(const c_String& text, std::uint32_t* out);
// The physical address of the adapter that holds the IPv4 address (host byte order), as "00-1A-..";
// empty when no adapter holds it.
c_String GetMACAddressTextOfIPv4Address(std::uint32_t address);
