#pragma once
// Test helper: an owner of one network socket, standing in for the buffered socket: it connects,
// queues bytes into the socket's send buffers, takes what arrives, and records the socket events
// in order. Used on the thread that made it, which pumps its messages.

#include "network/LZ4Streams.h"
#include "network/c_NetworkSocket.h"
#include "network/c_NetworkSocketCore.h"
#include "network/c_NetworkSocketOwner.h"
#include "textutil/c_ByteBuffer.h"

#include <cstdint>
#include <functional>
#include <vector>

class c_TestSocketOwner : public c_NetworkSocketOwner {
public:
    c_TestSocketOwner(const c_String& remoteName, std::uint16_t port);
    virtual ~c_TestSocketOwner();
    c_TestSocketOwner(const c_TestSocketOwner&) = delete;
    c_TestSocketOwner& operator=(const c_TestSocketOwner&) = delete;

    // Address 0: the remote name, resolved unless it is a dotted address.
    bool Connect(std::uint32_t address = 0);
    // Takes over an accepted connection, as the buffered socket's adoption does.
    bool Adopt(c_SocketWrapper&& accepted, std::uint32_t peerAddress);
    // The owner's datagram path: the bytes as one queued datagram, then a send request.
    bool SendDatagram(const std::uint8_t* data, std::uint32_t length);
    // Appends as much as the current send buffer takes and asks for a send; the count taken.
    std::uint32_t Send(const std::uint8_t* data, std::uint32_t length);
    // Lets go of the socket, as the buffered socket's close does.
    void Close();
    // With the socket's lock held; null when it is gone.
    c_NetworkSocket* Find(c_CriticalSectionLock& lock);
    std::uint32_t GetPendingSendBytes();
    bool HasEvent(UINT event) const;
    std::int32_t GetIndex() const { return m_Index; }
    std::uint32_t GetID() const { return m_ID; }

    c_SharedSocketLock* GetSharedSocketLock() const override { return m_p_SharedSocketLock; }
    c_String GetName() const override { return m_Name; }
    bool GetEnableLogging() const override { return true; }
    std::int32_t GetLogLevel() const override { return 0; }
    std::int32_t GetSecurityMethod() const override { return m_SecurityMethod; }
    c_String GetRemoteName() const override { return m_RemoteName; }
    std::uint16_t GetConnectPort() const override { return m_Port; }
    std::int32_t GetConnectionKind() const override { return m_ConnectionKind; }
    std::uint32_t GetInterfaceAddress() const override { return m_InterfaceAddress; }
    std::int32_t GetSocketReceiveBufferSize() const override { return 0; }
    std::int32_t GetSocketSendBufferSize() const override { return 0; }
    std::int32_t GetCompressionType() const override { return m_CompressionType; }
    bool GetUseDelayedSends() const override { return m_UseDelayedSends; }
    std::int32_t GetDelayedSendMilliseconds() const override { return m_DelayedSendMilliseconds; }
    c_String GetTLSServerCertificatePathAndFileName() const override { return c_String(); }
    void GetTLSClientAuthenticationCertificateFiles(c_String&, c_String&, c_String&) const override {}
    c_Socks5ConnectionSettings GetSocks5ConnectionSettings() const override { return m_Socks5Settings; }

    void OnNameResolutionFailed(c_CriticalSectionLock&) override { Record(SOCKET_EVENT_NAME_RESOLUTION_FAILED); }
    void OnReceivedDataFromCore(c_CriticalSectionLock& lock) override;
    void OnConnectFailed(c_CriticalSectionLock&) override { Record(SOCKET_EVENT_CONNECT_FAILED); }
    void OnSocketConnected(c_CriticalSectionLock&) override { Record(SOCKET_EVENT_CONNECTED); }
    void OnSocketClosedByRemote(c_CriticalSectionLock&) override { Record(SOCKET_EVENT_CLOSED_BY_REMOTE); }
    void OnSocketError(c_CriticalSectionLock&) override { Record(SOCKET_EVENT_ERROR); }
    void OnSendDataComplete(c_CriticalSectionLock& lock) override;
    void OnOutOfMemory(c_CriticalSectionLock&) override { Record(SOCKET_EVENT_OUT_OF_MEMORY); }
    void OnBufferLimitReached(c_CriticalSectionLock&) override { Record(SOCKET_EVENT_BUFFER_LIMIT_REACHED); }

    std::vector<UINT> m_Events;
    c_ByteBuffer m_Received;
    c_String m_Name = "TestSocket";
    std::int32_t m_ConnectionKind = 0;
    std::uint32_t m_InterfaceAddress = 0;
    std::int32_t m_CompressionType = 0;
    // 0: received bytes as they come; else the compressed blocks are decoded into m_Received.
    std::int32_t m_ReceiveDecompression = 0;
    c_ByteBuffer m_CompressedReceived;
    c_LZ4StreamDecompressor m_LZ4Decompressor;
    // One entry per data event: the bytes it brought.
    std::vector<std::uint32_t> m_ReceivedPieces;
    bool m_UseDelayedSends = false;
    std::int32_t m_SecurityMethod = 0;
    // The connection's copy: with use SOCKS 5 set, the remote name and port are the proxy's and
    // these the target's.
    c_Socks5ConnectionSettings m_Socks5Settings;
    std::int32_t m_DelayedSendMilliseconds = 0;
    // Run after every data or send-complete event, with the socket's lock released: a test's feeder.
    std::function<void()> m_OnProgress;
    // When set, received bytes are handed to it where they lie instead of being copied into m_Received.
    std::function<void(s_ByteSpan)> m_OnReceivedBytes;

private:
    void Record(UINT event) { m_Events.push_back(event); }

    c_SharedSocketLock* m_p_SharedSocketLock;
    c_String m_RemoteName;
    std::uint16_t m_Port;
    std::int32_t m_Index = 0;
    std::uint32_t m_ID = 0;
    bool m_Released = false;
};
