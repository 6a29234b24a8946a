#pragma once
// c_NetworkSocket: one TCP connection as the core's socket thread drives it, with its 200 send
// buffers, its receive buffers, its graceful shutdown and the time stamps of its end.
//
// The core creates it for an owner, keeps it in the socket table and deletes it on the socket thread
// only. Every field is read and written under the pair's shared lock; overlapped calls are made with
// the lock released and retaken at once. A socket is deleted only once none of its I/O is
// outstanding, since each completion carries a pointer into the socket's own I/O records.

#include "network/c_SharedSocketLock.h"
#include "network/c_SocketWrapper.h"
#include "network/c_Socks5ConnectionSettings.h"
#include "oslayer/threads/c_CriticalSectionLock.h"
#include "strings/c_String.h"
#include "textutil/c_ByteBuffer.h"
#include "textutil/c_IOBuffer.h"

#include <winsock2.h>

#include <array>
#include <cstdint>
#include <list>
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

    c_NetworkSocket(const c_String& name, bool enableLogging, std::int32_t securityMethod);
    ~c_NetworkSocket() override;

    // Send side; the caller holds the shared lock.
    bool GetCurrentSendBuffer(c_IOBuffer** buffer, std::int32_t* index);
    std::uint32_t AddPendingSendBytes(std::int32_t delta);
    std::int32_t GetDelayedSendMilliseconds() const;
    // Whether the current buffer waits for the delayed-send flush instead of going out now.
    static bool IsHeldBack(bool flush, std::int32_t inTransfer, std::int32_t currentBytes);
    bool SendData(bool flush, c_CriticalSectionLock& lock);
    bool PostSend(c_IOBuffer* buffer, std::int32_t index, c_CriticalSectionLock& lock);
    // A write that failed or moved fewer bytes than it was given is the socket's error.
    void OnWriteCompleted(s_SocketIORecord* record, std::uint32_t bytes, std::uint32_t error,
                          c_CriticalSectionLock& lock);
    void ReleaseSendBuffer(std::int32_t index);
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
    // The owner's step after event 1026: appends every unconsumed entry's bytes to target, in order,
    // and marks them consumed. False when target cannot grow; the bytes then stay unconsumed.
    bool TakeReceivedData(c_ByteBuffer& target);

    // Set-up, connect, network events and the end.
    bool CreateSocket();
    bool StartConnect(c_CriticalSectionLock& lock);
    void OnConnected(c_CriticalSectionLock& lock);
    void ProcessNetworkEvents();
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
    void Log(const c_StringView& text, bool isError) const;

    std::int32_t GetSendBuffersInUse() const { return m_SendBuffersInUse; }
    std::int32_t GetMaxSendBuffersUsed() const { return m_MaxSendBuffersInUse; }
    std::uint32_t GetPendingSendBytes() const { return m_PendingSendBytes; }
    std::uint32_t GetMaxPendingSendBytes() const { return m_MaxPendingSendBytes; }
    std::uint32_t GetReceivedBytes() const { return m_ReceivedBytes; }

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
    std::uint64_t m_BytesSent = 0;
    c_String m_Name;
    std::int32_t m_SecurityMethod;
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
    // The owner asked that the idle receive buffers take m_ReceiveBufferSize before they are next
    // posted; cleared once they have.
    bool m_ResizeIdleReceiveBuffers = false;
    // The socket left the table's use but waits for its outstanding I/O before it is deleted.
    bool m_DeleteWhenIdle = false;
    std::array<s_SocketIORecord, RECEIVE_BUFFER_COUNT> m_ReceiveIORecords{};
    std::array<s_SocketIORecord, SEND_BUFFER_COUNT> m_SendIORecords{};

private:
    void SelectNextFreeSendBuffer();
    void MarkCurrentSendBufferInTransfer();
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
    void SwitchOffMissingEncryption();
};
