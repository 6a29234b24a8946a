#pragma once
// Test helper: an owner of one buffered socket that records every call in order, with the thread it
// came on, and lets a test act inside the received-data slot; and the owner's receive thread.

#include "oslayer/threads/c_ThreadWrapper.h"
#include "protocols/socket/c_BufferedSocket2.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct s_OwnerCall {
    std::string m_What;
    std::uint32_t m_ThreadId;
};

class c_TestBufferedSocketOwner : public c_BufferedSocket2Owner {
public:
    void OnBufferedSocket2Connected(c_BufferedSocket2* socket) override;
    void OnBufferedSocketClosed(c_BufferedSocket2* socket) override;
    // Records "data:" + the buffer's bytes, then runs m_OnData (or the default, which uses them all).
    void OnBufferedSocketReceivedData(c_BufferedSocket2* socket, c_ByteBuffer& buffer) override;
    void OnBufferedSocketSendDataComplete(c_BufferedSocket2* socket) override;
    void OnBufferedSocketReceiveThreadTimeoutElapsed(c_BufferedSocket2* socket) override;
    void OnBufferedSocketReceiveThreadEnded(c_BufferedSocket2* socket) override;

    std::vector<s_OwnerCall> GetCalls() const;
    std::vector<std::string> GetNames() const;
    bool HasCall(const std::string& what) const;
    int CountCalls(const std::string& what) const;
    // The slots whose record starts so throw after recording.
    void ThrowIn(const std::string& what);

    std::function<void(c_BufferedSocket2*, c_ByteBuffer&)> m_OnData;

private:
    void Record(const std::string& what);

    mutable std::mutex m_Lock;
    std::vector<s_OwnerCall> m_Calls;
    std::string m_Throwing;
};

// The owner's receive thread: runs the socket's receive loop; stopping it ends the loop.
class c_TestReceiveThread : public c_ThreadWrapper {
public:
    explicit c_TestReceiveThread(c_BufferedSocket2* socket)
        : c_ThreadWrapper("TestReceiveThread"), m_p_Socket(socket) {}
    ~c_TestReceiveThread() override { WaitForThreadToFinish(); }

protected:
    void ThreadFunction() override { m_p_Socket->WaitForAndProcessReceivedData(this); }
    void OnStopRequested() override { m_p_Socket->SignalReceiveThreadEnd(); }

private:
    c_BufferedSocket2* m_p_Socket;
};
