// c_DataCompressionThread: compression of queued send buffers.

#include "network/c_DataCompressionThread.h"

#include "network/LZ4Streams.h"
#include "network/c_NetworkSocketCore.h"
#include "network/c_PerformanceTimer.h"

#include <new>

namespace {

constexpr std::size_t RESERVED_REQUESTS = 15000;
constexpr int COMPRESSION_TYPE_STREAM = 2;

void WriteLittleEndian32(std::uint8_t* target, std::uint32_t value) {
    for (int byte = 0; byte < 4; ++byte) {
        target[byte] = static_cast<std::uint8_t>(value >> (8 * byte));
    }
}

} // namespace

c_DataCompressionThread::c_DataCompressionThread(c_NetworkSocketCore* core)
    : c_ThreadWrapper("c_NetworkSocketCore::c_DataCompressionThread"), m_p_Core(core) {
    m_Event.Create(false, c_StringView());
    m_Pending.reserve(RESERVED_REQUESTS);
    m_Work.reserve(RESERVED_REQUESTS);
}

c_DataCompressionThread::~c_DataCompressionThread() {
    WaitForThreadToFinish();
}

bool c_DataCompressionThread::QueueSendBuffer(c_NetworkSocket* socket, std::int32_t bufferIndex) {
    {
        c_CriticalSectionLock lock(m_Lock);
        if (m_Closed || (!IsThreadRunning() && !StartThread())) {
            return false;
        }
        try {
            m_Pending.push_back({socket->m_Index, socket->m_ID, bufferIndex});
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    m_Event.Set();
    return true;
}

void c_DataCompressionThread::Close() {
    {
        c_CriticalSectionLock lock(m_Lock);
        m_Closed = true;
    }
    WaitForThreadToFinish();
}

bool c_DataCompressionThread::GetWaitHandles(HANDLE* handles, std::int32_t maximum, std::int32_t& count) {
    if (maximum < 1) {
        return false;
    }
    handles[0] = m_Event.Get();
    count = 1;
    return true;
}

void c_DataCompressionThread::OnHandleSignaled(std::int32_t) {
    {
        c_CriticalSectionLock lock(m_Lock);
        m_Pending.swap(m_Work);
    }
    for (const s_CompressionRequest& request : m_Work) {
        c_CriticalSectionLock lock;
        if (c_NetworkSocket* socket =
                m_p_Core->GetNetworkSocket(request.m_SocketIndex, request.m_SocketID, false, lock)) {
            CompressAndSend(socket, request.m_BufferIndex, lock);
        }
    }
    m_Work.clear();
}

void c_DataCompressionThread::CompressAndSend(c_NetworkSocket* socket, std::int32_t bufferIndex,
                                              c_CriticalSectionLock& lock) {
    if (socket->m_FinalSendTimedOut || socket->m_DeleteWhenIdle) {
        socket->PostSyntheticWriteCompletion(bufferIndex);
        return;
    }
    c_PerformanceTimer timer;
    timer.Start();
    c_IOBuffer& buffer = socket->m_SendBuffers[static_cast<std::size_t>(bufferIndex)];
    const int uncompressed = buffer.GetUsedSize();
    // The stream form needs room for the worst case of every chunk, more than one block's bound.
    const int bound = socket->m_CompressionType == COMPRESSION_TYPE_STREAM
                          ? c_LZ4StreamCompressor::GetStreamCompressBound(uncompressed)
                          : LZ4CompressBound(uncompressed);
    if (bound == 0 || !socket->m_CompressionBuffer.SetUsedSize(bound + HEADER_SIZE) || !MakeStreamCompressor(socket)) {
        Fail(socket, bufferIndex, "Error allocating buffer for compressed send data.", false);
        return;
    }
    const int compressed = Compress(socket, bufferIndex, bound, lock);
    if (socket->m_FinalSendTimedOut || socket->m_DeleteWhenIdle) {
        socket->PostSyntheticWriteCompletion(bufferIndex);
        return;
    }
    if (compressed <= 0) {
        Fail(socket, bufferIndex, "Error compressing send data.", true);
        return;
    }
    c_IOBuffer& output = socket->m_CompressionBuffer;
    output.SetUsedSizeWithinCapacity(compressed + HEADER_SIZE);
    socket->m_BytesSent += static_cast<std::uint64_t>(uncompressed);
    socket->m_CompressedBytesSent += static_cast<std::uint64_t>(compressed);
    socket->AddPendingSendBytes(compressed - uncompressed + HEADER_SIZE);
    WriteLittleEndian32(output.GetData(), static_cast<std::uint32_t>(compressed + HEADER_SIZE));
    WriteLittleEndian32(output.GetData() + 4, static_cast<std::uint32_t>(uncompressed));
    buffer.Swap(output);
    timer.Stop();
    socket->m_CompressionSeconds += timer.GetElapsedSeconds();
    ++socket->m_CompressionCount;
    if (socket->m_p_Owner != nullptr && socket->m_p_Owner->m_RecordSentData) {
        socket->RecordData(buffer.GetData(), static_cast<std::uint32_t>(buffer.GetUsedSize()),
                           socket->m_CompressedSendRecording, socket->m_CompressedSendRecordingFailed,
                           "CompressedSendData_");
    }
    if (!socket->PostSend(&buffer, bufferIndex, lock)) {
        socket->FailWithSocketError();
    }
}

bool c_DataCompressionThread::MakeStreamCompressor(c_NetworkSocket* socket) {
    if (socket->m_CompressionType != COMPRESSION_TYPE_STREAM || socket->m_p_LZ4Compressor != nullptr) {
        return true;
    }
    socket->m_p_LZ4Compressor.reset(new (std::nothrow) c_LZ4StreamCompressor());
    return socket->m_p_LZ4Compressor != nullptr;
}

// The buffer in transfer and the compression state are this thread's alone while it works.
int c_DataCompressionThread::Compress(c_NetworkSocket* socket, std::int32_t bufferIndex, int bound,
                                      c_CriticalSectionLock& lock) {
    c_IOBuffer& buffer = socket->m_SendBuffers[static_cast<std::size_t>(bufferIndex)];
    std::uint8_t* target = socket->m_CompressionBuffer.GetData() + HEADER_SIZE;
    const bool stream = socket->m_CompressionType == COMPRESSION_TYPE_STREAM;
    lock.Unlock();
    const int compressed =
        stream ? socket->m_p_LZ4Compressor->Compress(buffer.GetData(), buffer.GetUsedSize(), target, bound)
               : LZ4CompressFast(buffer.GetData(), buffer.GetUsedSize(), target, bound, 1);
    lock.Relock();
    return compressed;
}

// A buffer that cannot be compressed is never sent half-made: it goes back, and the owner hears of
// the error.
void c_DataCompressionThread::Fail(c_NetworkSocket* socket, std::int32_t bufferIndex, const c_StringView& text,
                                   bool isError) {
    socket->Log(text, isError);
    socket->FailWithSocketError();
    socket->PostSyntheticWriteCompletion(bufferIndex);
}
