#pragma once
// What the socket calls and the reactor share: the steps that move a socket's pending operations
// and records on. Each runs under the socket's lock.

#include "platform/net/SocketTable.h"

namespace n_Platform {

// Fills pending receives in the order posted until the socket would block.
void ProgressReceives(c_Socket& socket);
// The stream ended: every pending and later receive completes with status (0: the peer's close).
void EndReceiving(c_Socket& socket, DWORD status);

// Sends the pending sends, whole and in order, until the socket would block.
void ProgressSends(c_Socket& socket);

// Tells the reactor what the socket waits for now, when that changed: bytes unless a thread of the
// port is filling the pending receives, writability while a connect or a send is pending.
void UpdateInterest(c_Socket& socket);

// Records a network event for event select, when the program selected it.
void RecordNetworkEvent(c_Socket& socket, int bit, DWORD error);
// Records FD_ACCEPT when a connection waits and none is recorded since the last accept.
void RecordWaitingConnection(c_Socket& socket);
// A connect finished with error (0: connected).
void FinishConnect(c_Socket& socket, DWORD error);

// The checks that every overlapped call makes; false with the WSA error set.
bool CheckOverlappedCall(DWORD count, LPWSAOVERLAPPED overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE routine);
s_PendingIo MakePendingIo(LPWSABUF buffers, DWORD count, LPWSAOVERLAPPED overlapped);
// The pending result of an overlapped call.
int ReportPending();

} // namespace n_Platform
