// WSAStartup and WSACleanup, counted; the WSA last error, which is the thread's last error.

#include "platform/net/WinsockStartup.h"

#include "platform/kernel/LastError.h"

#include <winsock2.h>

#include <atomic>
#include <cstring>

namespace {

constexpr WORD SERVED_VERSION = MAKEWORD(2, 2);
constexpr unsigned short MAX_UDP_DATAGRAM = 65467;

std::atomic<int> g_StartCount{0};

void FillData(LPWSADATA data) {
    std::memset(data, 0, sizeof *data);
    data->wVersion = SERVED_VERSION;
    data->wHighVersion = SERVED_VERSION;
    data->iMaxUdpDg = MAX_UDP_DATAGRAM;
    std::strcpy(data->szDescription, "WinSock 2.0");
    std::strcpy(data->szSystemStatus, "Running");
}

} // namespace

namespace n_Platform {

bool IsWinsockStarted() {
    return g_StartCount.load(std::memory_order_acquire) > 0;
}

} // namespace n_Platform

int WINAPI WSAStartup(WORD version, LPWSADATA data) {
    const int major = version & 0xff;
    const int minor = (version >> 8) & 0xff;
    if (data == nullptr) {
        return WSAEFAULT;
    }
    if (major < 2 || (major == 2 && minor < 2)) {
        return WSAVERNOTSUPPORTED;
    }
    FillData(data);
    g_StartCount.fetch_add(1, std::memory_order_acq_rel);
    return 0;
}

int WINAPI WSACleanup() {
    int count = g_StartCount.load(std::memory_order_acquire);
    do {
        if (count == 0) {
            return n_Platform::FailWith(SOCKET_ERROR, WSANOTINITIALISED);
        }
    } while (!g_StartCount.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel));
    return 0;
}

int WINAPI WSAGetLastError() {
    return static_cast<int>(GetLastError());
}

void WINAPI WSASetLastError(int error) {
    SetLastError(static_cast<DWORD>(error));
}
