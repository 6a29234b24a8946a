#pragma once
// c_DataCompressionThread: LZ4-compresses queued send buffers away from the socket thread and sends
// them.
//
// The socket thread queues a buffer already in transfer; this thread compresses it into the
// socket's compression buffer behind an 8-byte header {whole length, uncompressed length}, both
// little-endian int32, exchanges that storage with the send buffer and posts the send. The thread
// starts with the first request and, once closed, refuses further ones, so no request outlives the
// core's stop. A buffer that will not be sent goes back as a synthetic write completion, which
// frees it on the socket thread.

#include "oslayer/threads/c_CriticalSection.h"
#include "oslayer/threads/c_CriticalSectionLock.h"
#include "oslayer/threads/c_Event.h"
#include "oslayer/threads/c_ThreadWrapper.h"

#include <cstdint>
#include <vector>

class c_NetworkSocket;
class c_NetworkSocketCore;

class c_DataCompressionThread : public c_ThreadWrapper {
public:
    static constexpr int HEADER_SIZE = 8;

    explicit c_DataCompressionThread(c_NetworkSocketCore* core);
    ~c_DataCompressionThread() override;

    // Starts the thread when it is not running; false once closed or without memory.
    bool QueueSendBuffer(c_NetworkSocket* socket, std::int32_t bufferIndex);
    // Refuses further requests and waits for the thread.
    void Close();

protected:
    bool GetWaitHandles(HANDLE* handles, std::int32_t maximum, std::int32_t& count) override;
    void OnHandleSignaled(std::int32_t index) override;
    void OnThreadEnd() override {}

private:
    struct s_CompressionRequest {
        std::int32_t m_SocketIndex = 0;
        std::uint32_t m_SocketID = 0;
        std::int32_t m_BufferIndex = 0;
    };

    void CompressAndSend(c_NetworkSocket* socket, std::int32_t bufferIndex, c_CriticalSectionLock& lock);
    // The compressed length, or 0 or less on failure; the socket's lock is released meanwhile.
    // The socket's stream compressor, made on its first use; false without memory.
    static bool MakeStreamCompressor(c_NetworkSocket* socket);
    static int Compress(c_NetworkSocket* socket, std::int32_t bufferIndex, int bound, c_CriticalSectionLock& lock);
    static void Fail(c_NetworkSocket* socket, std::int32_t bufferIndex, const c_StringView& text, bool isError);

    c_NetworkSocketCore* m_p_Core;
    c_Event m_Event;
    c_CriticalSection m_Lock;
    std::vector<s_CompressionRequest> m_Pending;
    std::vector<s_CompressionRequest> m_Work;
    bool m_Closed = false;
};
