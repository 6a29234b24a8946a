#pragma once
// c_NetworkSocketOwner: what the network core needs of the buffered socket that owns a network
// socket: the settings it copies when the socket is added, the two event-pending flags, and the
// handlers of the socket events.
//
// Everything here is called with the pair's shared lock held; the handlers run on the owner's
// thread with the lock in the holder, which they may release and retake around calls of their own.
// The buffered socket a layer up implements it; the core never knows the concrete class.

#include "network/c_SharedSocketLock.h"
#include "network/c_Socks5ConnectionSettings.h"
#include "oslayer/threads/c_CriticalSectionLock.h"
#include "strings/c_String.h"

#include <windows.h>

#include <cstdint>

// The socket events: posted to the owner thread's "BufferedSocket" window with the socket's table
// index in wParam and its id in lParam.
constexpr UINT SOCKET_EVENT_NAME_RESOLUTION_FAILED = WM_USER + 1;
constexpr UINT SOCKET_EVENT_DATA_RECEIVED = WM_USER + 2;
constexpr UINT SOCKET_EVENT_CONNECT_FAILED = WM_USER + 3;
constexpr UINT SOCKET_EVENT_CONNECTED = WM_USER + 4;
constexpr UINT SOCKET_EVENT_CLOSED_BY_REMOTE = WM_USER + 5;
constexpr UINT SOCKET_EVENT_ERROR = WM_USER + 6;
constexpr UINT SOCKET_EVENT_SEND_COMPLETE = WM_USER + 7;
constexpr UINT SOCKET_EVENT_OUT_OF_MEMORY = WM_USER + 8;
constexpr UINT SOCKET_EVENT_BUFFER_LIMIT_REACHED = WM_USER + 9;
// Taken by the window and ignored.
constexpr UINT SOCKET_EVENT_LAST_TAKEN = WM_USER + 11;

class c_NetworkSocketOwner {
public:
    virtual c_SharedSocketLock* GetSharedSocketLock() const = 0;
    virtual c_String GetName() const = 0;
    virtual bool GetEnableLogging() const = 0;
    virtual std::int32_t GetLogLevel() const = 0;
    virtual std::int32_t GetSecurityMethod() const = 0;
    virtual c_String GetRemoteName() const = 0;
    virtual std::uint16_t GetConnectPort() const = 0;
    // 0 TCP, 1 UDP, 2 UDP multicast.
    virtual std::int32_t GetConnectionKind() const = 0;
    virtual std::uint32_t GetInterfaceAddress() const = 0;
    // Below 1: the network socket's default.
    virtual std::int32_t GetSocketReceiveBufferSize() const = 0;
    virtual std::int32_t GetSocketSendBufferSize() const = 0;
    virtual std::int32_t GetCompressionType() const = 0;
    virtual bool GetUseDelayedSends() const = 0;
    virtual std::int32_t GetDelayedSendMilliseconds() const = 0;
    virtual c_String GetTLSServerCertificatePathAndFileName() const = 0;
    virtual void GetTLSClientAuthenticationCertificateFiles(c_String& caFile, c_String& certificateFile,
                                                            c_String& keyFile) const = 0;
    virtual c_Socks5ConnectionSettings GetSocks5ConnectionSettings() const = 0;

    virtual void OnNameResolutionFailed(c_CriticalSectionLock& lock) = 0;
    virtual void OnReceivedDataFromCore(c_CriticalSectionLock& lock) = 0;
    virtual void OnConnectFailed(c_CriticalSectionLock& lock) = 0;
    virtual void OnSocketConnected(c_CriticalSectionLock& lock) = 0;
    virtual void OnSocketClosedByRemote(c_CriticalSectionLock& lock) = 0;
    virtual void OnSocketError(c_CriticalSectionLock& lock) = 0;
    virtual void OnSendDataComplete(c_CriticalSectionLock& lock) = 0;
    virtual void OnOutOfMemory(c_CriticalSectionLock& lock) = 0;
    virtual void OnBufferLimitReached(c_CriticalSectionLock& lock) = 0;

    // Set by the network socket with the post of event 1026 or 1031, only while clear, and cleared
    // by the handler: at most one of each is waiting.
    bool m_DataReceivedEventPending = false;
    bool m_SendCompleteEventPending = false;
    // Read by the network socket each time bytes pass: write them to its recording files.
    bool m_RecordReceivedData = false;
    bool m_RecordSentData = false;

protected:
    ~c_NetworkSocketOwner() = default;
};
