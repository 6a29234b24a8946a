#pragma once
// c_BufferedSocket2Owner: what a buffered socket tells its owner, seven slots in this order.
//
// Every slot runs on the owner's thread with the socket's lock released, except in receive-thread
// mode, where the received-data, time-out and thread-ended slots run on the owner's receive thread.
// Bytes that OnBufferedSocketReceivedData leaves in the buffer are offered again, before the next
// ones. An exception thrown here is logged and swallowed by the socket.

#include "textutil/c_ByteBuffer.h"

#include <cstdint>

class c_BufferedSocket2;

class c_BufferedSocket2Owner {
public:
    virtual void OnBufferedSocket2Connected(c_BufferedSocket2* /*socket*/) {}
    virtual void OnBufferedSocketClosed(c_BufferedSocket2* /*socket*/) {}
    // By default every byte is used.
    virtual void OnBufferedSocketReceivedData(c_BufferedSocket2* socket, c_ByteBuffer& buffer);
    virtual void OnBufferedSocketReceivedWebSocketFrame(c_BufferedSocket2* /*socket*/, const std::uint8_t* /*data*/,
                                                        std::int32_t /*length*/) {}
    virtual void OnBufferedSocketSendDataComplete(c_BufferedSocket2* /*socket*/) {}
    virtual void OnBufferedSocketReceiveThreadTimeoutElapsed(c_BufferedSocket2* /*socket*/) {}
    virtual void OnBufferedSocketReceiveThreadEnded(c_BufferedSocket2* /*socket*/) {}

protected:
    ~c_BufferedSocket2Owner() = default;
};
