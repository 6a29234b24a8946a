// Posting, sending and taking messages: PostMessageW, PostThreadMessageW, SendMessageW, GetMessageW,
// PeekMessageW, TranslateMessage, DispatchMessageW, CallWindowProcW, PostQuitMessage and
// MsgWaitForMultipleObjectsEx.

#include "platform/kernel/LastError.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/UserInput.h"
#include "platform/user/WindowTable.h"

namespace {

const HWND THREAD_MESSAGES_ONLY = reinterpret_cast<HWND>(-1);

// Runs a message that another thread sent, on the window's thread, and answers the sender. A
// window that went meanwhile answers 0.
void HandleSentMessage(const n_Platform::c_MessageQueue& queue, n_Platform::s_SentMessage& sent) {
    n_Platform::c_WindowObject* window = queue.FindWindow(sent.m_Window);
    const LRESULT result = window != nullptr ? window->Call(sent.m_Message, sent.m_WParam, sent.m_LParam) : 0;
    sent.m_p_Sender->Answer(sent, result);
}

bool IsValidFilter(HWND window) {
    return window == nullptr || window == THREAD_MESSAGES_ONLY || n_Platform::LookupOwnWindowObject(window) != nullptr;
}

// -1 on failure, 0 when nothing was there, 1 with a message.
int RetrieveMessage(MSG* message, const n_Platform::s_MessageFilter& filter, bool remove, bool wait) {
    if (message == nullptr) {
        return n_Platform::FailWith(-1, ERROR_INVALID_PARAMETER);
    }
    n_Platform::c_MessageQueue* queue = n_Platform::GetCurrentQueue();
    if (queue == nullptr) {
        return -1;
    }
    for (;;) {
        // Checked again after each sent message: its handler may have destroyed the filter window.
        if (!IsValidFilter(filter.m_Window)) {
            return n_Platform::FailWith(-1, ERROR_INVALID_WINDOW_HANDLE);
        }
        n_Platform::s_SentMessage* sent = nullptr;
        switch (queue->Retrieve(filter, remove, wait, *message, sent)) {
            case n_Platform::c_MessageQueue::e_Retrieved::SENT:
                HandleSentMessage(*queue, *sent);
                break;
            case n_Platform::c_MessageQueue::e_Retrieved::POSTED:
                return 1;
            case n_Platform::c_MessageQueue::e_Retrieved::NOTHING:
                return 0;
        }
    }
}

LRESULT SendToOtherThread(n_Platform::c_WindowObject& window, UINT message, WPARAM wParam, LPARAM lParam) {
    n_Platform::c_MessageQueue* sender = n_Platform::GetCurrentQueue();
    if (sender == nullptr) {
        return 0;
    }
    n_Platform::s_SentMessage sent{window.m_Handle, message, wParam, lParam, sender};
    if (!window.m_p_Queue->Send(sent)) {
        return n_Platform::FailWith<LRESULT>(0, ERROR_INVALID_WINDOW_HANDLE);
    }
    while (n_Platform::s_SentMessage* incoming = sender->WaitForAnswer(sent)) {
        HandleSentMessage(*sender, *incoming);
    }
    return sent.m_Result;
}

} // namespace

BOOL WINAPI PostMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (handle == nullptr) {
        n_Platform::c_MessageQueue* queue = n_Platform::GetCurrentQueue();
        return queue != nullptr && queue->Post(nullptr, message, wParam, lParam) ? TRUE : FALSE;
    }
    return n_Platform::PostToWindow(handle, message, wParam, lParam) ? TRUE : FALSE;
}

BOOL WINAPI PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<n_Platform::c_MessageQueue> queue = n_Platform::LookupThreadQueue(threadId);
    if (queue == nullptr) {
        return FALSE;
    }
    return queue->Post(nullptr, message, wParam, lParam) ? TRUE : FALSE;
}

LRESULT WINAPI SendMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::LookupWindowObject(handle);
    if (window == nullptr) {
        return 0;
    }
    if (window->m_ThreadId == GetCurrentThreadId()) {
        return window->Call(message, wParam, lParam);
    }
    return SendToOtherThread(*window, message, wParam, lParam);
}

BOOL WINAPI GetMessageW(MSG* message, HWND window, UINT firstMessage, UINT lastMessage) {
    const int result = RetrieveMessage(message, {window, firstMessage, lastMessage}, true, true);
    return result == 1 && message->message == WM_QUIT ? FALSE : result;
}

BOOL WINAPI PeekMessageW(MSG* message, HWND window, UINT firstMessage, UINT lastMessage, UINT remove) {
    return RetrieveMessage(message, {window, firstMessage, lastMessage}, (remove & PM_REMOVE) != 0, false) == 1 ? TRUE
                                                                                                                : FALSE;
}

BOOL WINAPI TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT WINAPI DispatchMessageW(const MSG* message) {
    if (message != nullptr && message->hwnd == nullptr && message->message == n_Platform::WM_PLATFORM_USER_INPUT) {
        n_Platform::RunUserInput(*message);
        return 0;
    }
    if (message == nullptr || message->hwnd == nullptr) {
        return 0;
    }
    n_Platform::c_MessageQueue* queue = n_Platform::GetCurrentQueue();
    // The thread's own windows are found without the table, which posting threads share.
    n_Platform::c_WindowObject* window = queue != nullptr ? queue->FindWindow(message->hwnd) : nullptr;
    if (window == nullptr) {
        // Sets the error: a window that is gone, or one of another thread.
        n_Platform::LookupOwnWindowObject(message->hwnd);
        return 0;
    }
    return window->Call(message->message, message->wParam, message->lParam);
}

LRESULT WINAPI CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return procedure != nullptr ? procedure(window, message, wParam, lParam) : 0;
}

VOID WINAPI PostQuitMessage(int exitCode) {
    if (n_Platform::c_MessageQueue* queue = n_Platform::GetCurrentQueue()) {
        queue->PostQuit(exitCode);
    }
}

DWORD WINAPI MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                         DWORD flags) {
    n_Platform::c_MessageQueue* queue = n_Platform::GetCurrentQueue();
    if (queue == nullptr) {
        return WAIT_FAILED;
    }
    return queue->WaitForObjectsOrInput(count, handles, milliseconds, wakeMask, flags);
}
