// c_BufferedSocket2Owner: the default of the received-data slot.

#include "protocols/socket/c_BufferedSocket2Owner.h"

#include "protocols/socket/c_BufferedSocket2.h"

void c_BufferedSocket2Owner::OnBufferedSocketReceivedData(c_BufferedSocket2* socket, c_ByteBuffer& buffer) {
    c_CriticalSectionLock lock;
    socket->ConsumeReceivedData(buffer.GetSize(), lock);
}
