// Posting to a thread's message queue.

#include "platform/kernel/LastError.h"

// No thread has a message queue until windows exist; a post to a thread without one fails.
BOOL WINAPI PostThreadMessageW(DWORD, UINT, WPARAM, LPARAM) {
    return n_Platform::FailWith(FALSE, ERROR_INVALID_THREAD_ID);
}
