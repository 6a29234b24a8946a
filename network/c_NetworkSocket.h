#pragma once
// c_NetworkSocket: one TCP connection, UDP socket or UDP multicast receiver as the core's socket
// thread drives it, with its 200 send buffers, its receive buffers, its recordings, its graceful
// shutdown and the time stamps of its end.
//
// The core creates it for an owner, keeps it in the socket table and deletes it on the socket thread
// only. Every field is read and written under the pair's shared lock; overlapped calls are made with
// the lock released and retaken at once. A socket is deleted only once none of its I/O is
// outstanding, since each completion carries a pointer into the socket's own I/O records.

#include "network/LZ4Streams.h"
#include "network/c_EncryptionIOBuffers.h"
#include "network/c_SharedSocketLock.h"
#include "network/c_SocketWrapper.h"
#include "network/c_Socks5Client.h"
#include "network/c_Socks5ConnectionSettings.h"
#include "oslayer/files/c_File.h"
#include "oslayer/threads/c_CriticalSectionLock.h"
#include "strings/c_String.h"
#include "textutil/c_ByteBuffer.h"
#include "textutil/c_IOBuffer.h"

#include <winsock2.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <vector>

class c_NetworkSocketOwner;

// The record whose OVERLAPPED heads every overlapped send and receive, by which the socket thread
// finds the socket and the handler.
struct s_SocketIORecord {
    OVERLAPPED m_Overlapped;
    std::int32_t m_SocketIndex;
    std::uint32_t m_SocketID;
    std::int32_t m_BufferIndex;
    bool m_Write;
    WSABUF m_Buffer;
    // A datagram receive's sender, written by the system when the receive completes.
    sockaddr_in m_From;
    int m_FromLength;
};

struct s_ReceivedBuffer {
    std::int32_t m_BufferIndex = 0;
    bool m_Consumed = false;
    std::int32_t m_ByteCount = 0;
    bool m_NearlyFull = false;
};

class c_NetworkSocket : public c_SocketWrapper {
public:
    static constexpr int SEND_BUFFER_COUNT = 200;
    static constexpr int RECEIVE_BUFFER_COUNT = 150;
    static constexpr int SEND_BUFFER_STATE_FREE = 0;
    static constexpr int SEND_BUFFER_STATE_QUEUED = 1;
    static constexpr int SEND_BUFFER_STATE_IN_TRANSFER = 2;
    static constexpr int HOLD_BACK_LIMIT = 1048576;
    // Each receive offers the buffer less this many bytes.
    static constexpr int RECEIVE_SLACK = 1024;
    static constexpr int RECEIVE_GROWTH = 131072;
    static constexpr std::int64_t FINAL_SEND_TIMEOUT_US = 60000000;
    static constexpr std::int64_t CANCEL_TIMEOUT_US = 60000000;
    static constexpr std::int64_t SHUTDOWN_TIMEOUT_US = 120000000;
    static constexpr std::int64_t CLOSE_DELAY_US = 30000000;
    static constexpr std::int64_t RECORDING_SIZE_LIMIT = 1048576000;
    static constexpr std::int32_t KIND_TCP = 0;
    static constexpr std::int32_t KIND_UDP = 1;
    static constexpr std::int32_t KIND_MULTICAST = 2;

    c_NetworkSocket(const c_String& name, bool enableLogging, std::int32_t securityMethod);
    ~c_NetworkSocket() override;

    // Send side; the caller holds the shared lock.
    bool GetCurrentSendBuffer(c_IOBuffer** buffer, std::int32_t* index);
    std::uint32_t AddPendingSendBytes(std::int32_t delta);
    std::int32_t GetDelayedSendMilliseconds() const;
    // Whether the current buffer waits for the delayed-send flush instead of going out now.
    static bool IsHeldBack(bool flush, std::int32_t inTransfer, std::int32_t currentBytes);
    bool SendData(bool flush, c_CriticalSectionLock& lock);
    // Datagram sockets: one send buffer is one datagram, and at most one is in flight.
    bool SendDataUDP(c_CriticalSectionLock& lock);
    // The owner's datagram path: the buffer waits its turn, and the next free buffer becomes current.
    bool QueueSendBuffer(std::int32_t index);
    bool PostSend(c_IOBuffer* buffer, std::int32_t index, c_CriticalSectionLock& lock);
    // A write that failed or moved fewer bytes than it was given is the socket's error.
    void OnWriteCompleted(s_SocketIORecord* record, std::uint32_t bytes, std::uint32_t error,
                          c_CriticalSectionLock& lock);
    void ReleaseSendBuffer(std::int32_t index);
    // A buffer that will not be written goes back through the socket thread as a write completion.
    void PostSyntheticWriteCompletion(std::int32_t index);
    bool AllocateSendBuffers();
    void FailWithSocketError();

    // Receive side.
    bool ReceiveData(c_CriticalSectionLock& lock);
    void ResumeReceive(c_CriticalSectionLock& lock);
    // A failed receive is the socket's error, never the peer's graceful close.
    void OnReceiveCompleted(s_SocketIORecord* record, std::uint32_t bytes, std::uint32_t error,
                            c_CriticalSectionLock& lock);
    // A completion that comes back after the socket was closed for removal: only counted.
    void OnAbandonedCompletion(const s_SocketIORecord* record);
    // The owner's step after event 1026: hands every unconsumed entry's bytes, where they lie, to
    // consume, in order, and marks each consumed that it accepted. False at the first it refuses; that
    // one and the later ones stay unconsumed.
    bool ReadReceivedData(const std::function<bool(s_ByteSpan)>& consume);
    // The same, appending the bytes to target; false when target cannot grow.
    bool TakeReceivedData(c_ByteBuffer& target);

    // Set-up, connect, network events and the end.
    bool CreateSocket();
    // The TLS engine over the core's context for the role and method. A socket asked for TLS never
    // runs without one: a missing context fails the set-up, as does compression with TLS.
    bool SetUpEncryption(bool serverRole);
    bool SetUpAdoptedSocket();
    std::int32_t UpdateMaxMessageSize();
    bool StartConnect(c_CriticalSectionLock& lock);
    void OnConnected(c_CriticalSectionLock& lock);
    void ProcessNetworkEvents();

    // SOCKS 5: the handshake's next step over what the proxy has sent; true once connected.
    bool ProcessSocks5Handshake(c_CriticalSectionLock& lock);
    bool IsSocks5HandshakeInProgress() const { return m_Socks5Client.IsHandshakeInProgress(); }

    void StartGracefulShutdown(c_CriticalSectionLock& lock);
    void CloseImmediately();
    void CancelPendingIO();
    void Abort();
    void RequestRemoval();
    bool FinalSendTimeoutElapsed() const;
    bool CancelTimeoutElapsed() const;
    bool ShutdownTimeoutElapsed() const;
    bool CloseDelayElapsed() const;
    bool IsIOOutstanding() const { return m_ReceivesPosted > 0 || m_SendBuffersInUse > 0; }

    bool PostSocketEvent(std::uint32_t event);
    // Appends the bytes to the recording file, opened (and emptied) under "SocketData\" on first use.
    void RecordData(const std::uint8_t* bytes, std::uint32_t count, c_File& file, bool& failed,
                    const c_StringView& prefix);
    // Tests replace the 1000 MB limit of a recording file.
    static void SetRecordingSizeLimit(std::int64_t bytes) { s_RecordingSizeLimit.store(bytes); }
    // Bytes handed to sending per compressed byte; 0 before anything was compressed.
    float GetCompressionRatio() const;
    void Log(const c_StringView& text, bool isError) const;

    std::int32_t GetSendBuffersInUse() const { return m_SendBuffersInUse; }
    std::int32_t GetMaxSendBuffersUsed() const { return m_MaxSendBuffersInUse; }
    std::uint32_t GetPendingSendBytes() const { return m_PendingSendBytes; }
    std::uint32_t GetMaxPendingSendBytes() const { return m_MaxPendingSendBytes; }
    std::uint32_t GetReceivedBytes() const { return m_ReceivedBytes; }
    std::int32_t GetMaxMessageSize() const { return m_MaxMessageSize; }

    std::int32_t m_MaxReceiveBuffers = RECEIVE_BUFFER_COUNT;
    std::int32_t m_DefaultReceiveBufferSize = 98304;
    std::int32_t m_MaxReceiveBufferSize = 524288;
    std::int32_t m_ReceivesToKeepPosted = 16;
    c_NetworkSocketOwner* m_p_Owner = nullptr;
    std::int32_t m_SocketKind = 0;
    std::int32_t m_ReceiveBufferSize = 98304;
    std::int32_t m_SendBufferReserveSize = 4096;
    bool m_EnableLogging;
    std::uint32_t m_RemoteAddress = 0;
    std::uint16_t m_Port = 0;
    std::uint32_t m_InterfaceAddress = 0;
    std::int32_t m_Index = 0;
    std::uint32_t m_ID = 0;
    sockaddr_in m_RemoteSockAddr{};
    std::int32_t m_RemoteSockAddrLength = sizeof(sockaddr_in);
    c_String m_RemoteName;
    std::uint32_t m_OwnerThreadID = 0;
    bool m_UseDelayedSends = false;
    std::int32_t m_DelayedSendMilliseconds = 0;
    bool m_DelayedSendPending = false;
    std::array<c_IOBuffer, SEND_BUFFER_COUNT> m_SendBuffers;
    std::array<std::int32_t, SEND_BUFFER_COUNT> m_SendBufferStates{};
    std::int32_t m_CurrentSendBuffer = 0;
    std::int32_t m_SendBuffersInUse = 0;
    std::uint32_t m_PendingSendBytes = 0;
    std::uint32_t m_MaxPendingSendBytes = 0;
    bool m_SendRequested = false;
    std::array<c_IOBuffer, RECEIVE_BUFFER_COUNT> m_ReceiveBuffers;
    std::vector<std::int32_t> m_AvailableReceiveBuffers;
    bool m_ReceiveBufferAllocationFailed = false;
    std::int32_t m_ReceiveBufferCount = 0;
    std::int32_t m_ReceivesPosted = 0;
    std::vector<s_ReceivedBuffer> m_ReceivedBuffers;
    std::uint32_t m_MaxReceivedBytes = 0;
    std::uint32_t m_LocalAddress = 0;
    std::uint16_t m_LocalPort = 0;
    std::int32_t m_MaxSendBuffersInUse = 1;
    bool m_Connected = false;
    bool m_CloseRequested = false;
    bool m_ShutdownStarted = false;
    bool m_FinalSendTimedOut = false;
    c_Socks5ConnectionSettings m_Socks5Settings;
    c_String m_ServerCertificateFile;
    c_String m_ClientCAFile;
    c_String m_ClientCertificateFile;
    c_String m_ClientKeyFile;
    bool m_Error = false;
    c_SharedSocketLock* m_p_SharedSocketLock = nullptr;
    std::int32_t m_LogLevel = 0;
    std::int32_t m_CompressionType = 0;
    // Made with the first stream-compressed send: its rings are large and most sockets never compress.
    std::unique_ptr<c_LZ4StreamCompressor> m_p_LZ4Compressor;
    c_IOBuffer m_CompressionBuffer;
    std::uint64_t m_BytesSent = 0;
    std::uint64_t m_CompressedBytesSent = 0;
    double m_CompressionSeconds = 0;
    std::int32_t m_CompressionCount = 0;
    c_File m_CompressedSendRecording;
    bool m_CompressedSendRecordingFailed = false;
    std::int32_t m_MaxMessageSize = 0;
    c_String m_Name;
    std::int32_t m_SecurityMethod;
    std::list<std::int32_t> m_QueuedSendBuffers;
    std::uint32_t m_ReceivedBytes = 0;
    bool m_ReceiveStarted = false;
    bool m_ReceiveEnded = false;
    // One of the receives that ended the stream failed.
    bool m_ReceiveFailed = false;
    std::int32_t m_ShutdownState = 0;
    std::int64_t m_FinalSendWaitTime = 0;
    std::int64_t m_CancelTime = 0;
    std::int64_t m_ShutdownTime = 0;
    std::int64_t m_CloseTime = 0;
    bool m_SendingAllowed = true;
    std::int32_t m_SocketReceiveBufferSize = 0;
    bool m_AdaptiveReceiveBuffer = false;
    c_File m_ReceiveRecording;
    bool m_ReceiveRecordingFailed = false;
    c_File m_SendRecording;
    bool m_SendRecordingFailed = false;
    // The owner asked that the idle receive buffers take m_ReceiveBufferSize before they are next
    // posted; cleared once they have.
    bool m_ResizeIdleReceiveBuffers = false;
    // The socket left the table's use but waits for its outstanding I/O before it is deleted.
    bool m_DeleteWhenIdle = false;
    std::array<s_SocketIORecord, RECEIVE_BUFFER_COUNT> m_ReceiveIORecords{};
    std::array<s_SocketIORecord, SEND_BUFFER_COUNT> m_SendIORecords{};
    std::unique_ptr<c_EncryptionIOBuffers> m_p_EncryptionIOBuffers;
    // The TLS close_notify goes out with the next send, after the owner's last bytes.
    bool m_TLSCloseNotifyDue = false;
    // The handshake's state, its staged message and what the proxy sent.
    c_Socks5Client m_Socks5Client;

private:
    static inline std::atomic<std::int64_t> s_RecordingSizeLimit{RECORDING_SIZE_LIMIT};

    void SelectNextFreeSendBuffer();
    void MarkSendBufferInTransfer(std::int32_t index);
    void MarkCurrentSendBufferInTransfer();
    bool PopQueuedSendBuffer(c_IOBuffer** buffer, std::int32_t* index);
    // Recording, then compression or the send itself, of a buffer just put in transfer.
    bool SendBufferInTransfer(c_IOBuffer* buffer, std::int32_t index, c_CriticalSectionLock& lock);
    bool CreateSocketHandle();
    bool SetSocketOptions();
    void DisableKernelSendBuffer();
    bool StartMulticast(c_CriticalSectionLock& lock);
    bool AreSendBuffersInUse() const { return m_SendBuffersInUse > 0; }
    std::int32_t GetCurrentSendBufferSize() const;
    bool PostReceive(c_IOBuffer* buffer, std::int32_t index, c_CriticalSectionLock& lock);
    void AddReceiveBuffer();
    bool RepostConsumedBuffers(c_CriticalSectionLock& lock);
    bool PostAvailableBuffers(c_CriticalSectionLock& lock);
    void ResizeIdleReceiveBuffers();
    void OnReceiveEnded(std::uint32_t error);
    void OnOutOfMemory();
    void AddReceivedBytes(std::uint32_t bytes);
    void FillIORecord(s_SocketIORecord& record, std::int32_t index, bool write, c_IOBuffer& buffer, int length);
    void ApplyReceiveBufferSize(std::int32_t bytes);
    void UpdateLocalAddress();
    void ContinueShutdown();
    void EndWaitingShutdown();
    static c_String GetErrorText();
    void NotifyConnected(c_CriticalSectionLock& lock);
    void PostDataReceived();
    void DeliverReceivedBytes(c_CriticalSectionLock& lock);
    // The newest receive's bytes leave its buffer for the SOCKS 5 or TLS step, and the entry is
    // consumed; false when memory fails.
    bool TakeNewestReceivedBytes(c_ByteBuffer& target);
    // Bytes that step gives back become the newest entry's data; false when memory fails.
    bool RefillNewestReceivedBuffer(c_ByteBuffer& bytes);

    // TLS.
    c_String GetTLSServerName() const;
    bool StageSendBuffer(std::int32_t index, c_IOBuffer& buffer);
    bool EncryptSendBuffer(std::int32_t index);
    void SendDueCloseNotify(c_EncryptionIOBuffers& engine);
    bool QueueTLSCloseNotify();
    // Whether decrypted bytes now wait for the owner.
    bool DecryptNewestReceivedBuffer(c_CriticalSectionLock& lock);
    bool AddDataToSocketSendBuffer(c_ByteBuffer& source, c_IOBuffer& target);
    bool CopyFromSendBufferToStreamBuffer(std::int32_t index, c_ByteBuffer& input);
    bool CopyFromStreamBufferToSendBuffer(std::int32_t index, c_ByteBuffer& output);

    // SOCKS 5.
    bool RefuseSocks5Settings();
    void OnSocks5BytesReceived(c_CriticalSectionLock& lock);
    bool SendSocks5Message(const char* line, c_CriticalSectionLock& lock);
    void OnSocks5Failed(const char* text);
};
