#pragma once
// c_ListeningSocket: accepts TCP connections on one port and hands each accepted socket to its
// owner, which may adopt it into a network socket.
//
// It does not use the completion port: its thread waits on the socket's network event and posts a
// message to the socket's hidden window, and the accepting runs on the thread that opened it, so
// the owner is always called there. At most 1000 connections are taken per pass; the rest come with
// the next network event.

#include "network/c_ListeningSocketOwner.h"
#include "network/c_ListeningSocketThread.h"
#include "network/c_SocketWrapper.h"
#include "network/c_WinSockInitializer.h"
#include "oslayer/windows/c_AsyncWindow.h"
#include "strings/c_String.h"

#include <winsock2.h>

#include <cstdint>

class c_ListeningSocket : public c_WinSockInitializer, public c_SocketWrapper, public c_AsyncWindow {
public:
    static constexpr int MAX_ACCEPTS_PER_PASS = 1000;
    static constexpr int DEFAULT_BACKLOG = SOMAXCONN_HINT(200);

    c_ListeningSocket(c_ListeningSocketOwner* owner, const char* name);
    ~c_ListeningSocket() override;

    // address in host order, 0 for any. The network events are handled on the calling thread.
    bool Open(std::uint16_t port, std::uint32_t address);
    // False only when closing the socket failed.
    bool Close();
    void OnAccept(std::int32_t error);
    bool OnClose(std::int32_t error);
    void ProcessNetworkEvents();

    bool IsOpen() const { return IsValid() || m_Port != 0; }
    bool IsListening() const { return m_Listening; }
    std::uint16_t GetPort() const { return m_Port; }
    const c_String& GetName() const { return m_Name; }
    void SetName(const c_String& name) { m_Name = name; }
    void Log(const c_StringView& text) const;
    // Tests that queue more connections than the system's usual backlog.
    void SetBacklog(int backlog) { m_Backlog = backlog; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Fail(const c_StringView& text);
    // At most MAX_ACCEPTS_PER_PASS; the number taken, reset connections included.
    int AcceptWaitingConnections();
    // False when nothing more waits or accepting failed.
    bool AcceptOne();

    c_ListeningSocketOwner* m_p_Owner;
    c_String m_Name;
    std::uint16_t m_Port = 0;
    bool m_Listening = false;
    int m_Backlog = DEFAULT_BACKLOG;
    c_ListeningSocketThread m_Thread;
};

// The address of the local host's name.
bool GetLocalHostIPv4Address(std::uint32_t* address);
