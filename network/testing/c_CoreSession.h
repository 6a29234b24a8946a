#pragma once
// Test helper: a running network core for one test, on the calling thread as its owner thread, with
// the log recorded. Every logged line also posts a message to that thread, so PumpUntil wakes for
// what the socket thread logs.

#include "network/c_NetworkSocketCore.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/windows/c_AsyncWindow.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class c_CoreSession {
public:
    c_CoreSession();
    ~c_CoreSession();
    c_CoreSession(const c_CoreSession&) = delete;
    c_CoreSession& operator=(const c_CoreSession&) = delete;

    c_NetworkSocketCore* GetCore() const { return c_NetworkSocketCore::GetCore(); }
    bool HasLine(const std::string& line) const;
    bool HasLineStartingWith(const std::string& start) const;
    bool HasLineContaining(const std::string& part) const;
    std::size_t CountLinesStartingWith(const std::string& start) const;
    // Whether the lines appear in this order, others between them allowed.
    bool HasLinesInOrder(const std::vector<std::string>& lines) const;
    // Pumps until the line has been logged.
    bool WaitForLine(const std::string& line) const;
    void Stop();

private:
    static void RecordLine(const c_StringView& line);

    static std::mutex s_Lock;
    static std::vector<std::string> s_Lines;
    static std::atomic<c_AsyncWindow*> s_p_Wake;
    c_AsyncWindow m_Wake{"TestWake"};
    c_Socks5ConnectionSettings m_Settings;
    t_LogSink m_PreviousSink = nullptr;
};
