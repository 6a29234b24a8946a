// c_WinSockInitializer and the WinSock lock.

#include "network/c_WinSockInitializer.h"

#include "oslayer/system/LogMessage.h"
#include "oslayer/threads/c_CriticalSection.h"
#include "oslayer/threads/c_CriticalSectionLock.h"

#include <winsock2.h>

#include <utility>

namespace {

constexpr WORD WINSOCK_VERSION_2_2 = 514;

// Made before the program's main code runs and deleted at process exit.
c_CriticalSection g_WinSockLock;
bool g_StartupLogged = false;

} // namespace

c_WinSockInitializer::c_WinSockInitializer() {
    c_CriticalSectionLock lock(g_WinSockLock);
    WSADATA data;
    if (WSAStartup(WINSOCK_VERSION_2_2, &data) != 0) {
        LogMessage("Unable to initialize WinSock.  Make sure WinSock 2.2 or higher is installed.");
        return;
    }
    m_Started = true;
    if (!g_StartupLogged) {
        g_StartupLogged = true;
        LogMessage("WSAStartup called.");
    }
}

c_WinSockInitializer::c_WinSockInitializer(c_WinSockInitializer&& other) noexcept
    : m_Started(std::exchange(other.m_Started, false)) {}

c_WinSockInitializer& c_WinSockInitializer::operator=(c_WinSockInitializer&& other) noexcept {
    Swap(other);
    return *this;
}

c_WinSockInitializer::~c_WinSockInitializer() {
    if (!m_Started) {
        return;
    }
    try {
        {
            c_CriticalSectionLock lock(g_WinSockLock);
            WSACleanup();
        }
        LogMessage("WSACleanup called.");
    } catch (...) {
        // A destructor must not throw; the clean-up is as done as it can be.
    }
}

void c_WinSockInitializer::Swap(c_WinSockInitializer& other) noexcept {
    std::swap(m_Started, other.m_Started);
}
