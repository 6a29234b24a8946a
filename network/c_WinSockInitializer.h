#pragma once
// c_WinSockInitializer: one WSAStartup 2.2 for its lifetime and one WSACleanup at its end, both under
// the process-wide WinSock lock, so objects on different threads never start and clean up at once.

class c_WinSockInitializer {
public:
    c_WinSockInitializer();
    c_WinSockInitializer(c_WinSockInitializer&& other) noexcept;
    c_WinSockInitializer& operator=(c_WinSockInitializer&& other) noexcept;
    c_WinSockInitializer(const c_WinSockInitializer&) = delete;
    c_WinSockInitializer& operator=(const c_WinSockInitializer&) = delete;
    virtual ~c_WinSockInitializer();

    bool IsStarted() const { return m_Started; }
    void Swap(c_WinSockInitializer& other) noexcept;

private:
    bool m_Started = false;
};
