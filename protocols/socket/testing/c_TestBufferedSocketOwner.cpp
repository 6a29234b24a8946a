// Test helper: a recording owner of one buffered socket.

#include "protocols/socket/testing/c_TestBufferedSocketOwner.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

void c_TestBufferedSocketOwner::ThrowIn(const std::string& what) {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_Throwing = what;
}

void c_TestBufferedSocketOwner::Record(const std::string& what) {
    bool throwing = false;
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Calls.push_back({what, GetCurrentThreadId()});
        throwing = !m_Throwing.empty() && what.compare(0, m_Throwing.size(), m_Throwing) == 0;
    }
    if (throwing) {
        throw std::runtime_error("owner failure");
    }
}

void c_TestBufferedSocketOwner::OnBufferedSocket2Connected(c_BufferedSocket2*) {
    Record("connected");
}

void c_TestBufferedSocketOwner::OnBufferedSocketClosed(c_BufferedSocket2*) {
    Record("closed");
}

void c_TestBufferedSocketOwner::OnBufferedSocketReceivedData(c_BufferedSocket2* socket, c_ByteBuffer& buffer) {
    Record("data:" + std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize()));
    if (m_OnData) {
        m_OnData(socket, buffer);
    } else {
        c_BufferedSocket2Owner::OnBufferedSocketReceivedData(socket, buffer);
    }
}

void c_TestBufferedSocketOwner::OnBufferedSocketSendDataComplete(c_BufferedSocket2*) {
    Record("sent");
}

void c_TestBufferedSocketOwner::OnBufferedSocketReceiveThreadTimeoutElapsed(c_BufferedSocket2*) {
    Record("timeout");
}

void c_TestBufferedSocketOwner::OnBufferedSocketReceiveThreadEnded(c_BufferedSocket2*) {
    Record("ended");
}

std::vector<s_OwnerCall> c_TestBufferedSocketOwner::GetCalls() const {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_Calls;
}

std::vector<std::string> c_TestBufferedSocketOwner::GetNames() const {
    std::vector<std::string> names;
    for (const s_OwnerCall& call : GetCalls()) {
        names.push_back(call.m_What);
    }
    return names;
}

bool c_TestBufferedSocketOwner::HasCall(const std::string& what) const {
    return CountCalls(what) > 0;
}

int c_TestBufferedSocketOwner::CountCalls(const std::string& what) const {
    const std::vector<std::string> names = GetNames();
    return static_cast<int>(std::count(names.begin(), names.end(), what));
}
