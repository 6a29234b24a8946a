#pragma once
// Completion ports: queues of completion packets that overlapped socket operations and posters fill
// and that threads take in arrival order.
//
// GetQueuedCompletionStatus returns TRUE with a packet; FALSE with the packet's OVERLAPPED and its
// error (GetLastError) for a failed operation; FALSE with a null OVERLAPPED and WAIT_TIMEOUT when the
// time ran out, or ERROR_ABANDONED_WAIT_0 when the port was closed while the caller waited. Time-outs
// follow the layer's clock.

#include "win32/files.h"

#define ERROR_ABANDONED_WAIT_0 735
#define ERROR_OPERATION_ABORTED 995
#define ERROR_NOT_FOUND 1168

// With INVALID_HANDLE_VALUE as the file: a new port (the concurrency is accepted and not used).
// With a socket and an existing port: ties the socket's overlapped operations to the port under the
// key, and returns the port.
HANDLE WINAPI CreateIoCompletionPort(HANDLE file, HANDLE existingPort, ULONG_PTR key, DWORD concurrency);
BOOL WINAPI PostQueuedCompletionStatus(HANDLE port, DWORD bytes, ULONG_PTR key, LPOVERLAPPED overlapped);
BOOL WINAPI GetQueuedCompletionStatus(HANDLE port, LPDWORD bytes, ULONG_PTR* key, LPOVERLAPPED* overlapped,
                                      DWORD milliseconds);

// Completes every pending overlapped operation of the socket with ERROR_OPERATION_ABORTED; their
// buffers are not touched once the call has returned. TRUE also when nothing was pending.
BOOL WINAPI CancelIo(HANDLE file);
