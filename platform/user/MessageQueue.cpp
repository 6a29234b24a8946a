// c_MessageQueue: posting, sending, answering, retrieval and the waits of one thread's queue.

#include "platform/user/MessageQueue.h"

#include "platform/kernel/LastError.h"
#include "platform/user/Backend.h"
#include "platform/user/WindowTable.h"

#include <algorithm>

namespace {

constexpr DWORD POSTED_KINDS = QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;

DWORD KindsOfPosted(UINT message) {
    return message == WM_TIMER ? POSTED_KINDS | QS_TIMER : POSTED_KINDS;
}

bool Passes(const n_Platform::s_MessageFilter& filter, HWND window, UINT message) {
    if (filter.m_First != 0 || filter.m_Last != 0) {
        if (message < filter.m_First || message > filter.m_Last) {
            return false;
        }
    }
    if (filter.m_Window == reinterpret_cast<HWND>(-1)) {
        return window == nullptr;
    }
    return filter.m_Window == nullptr || filter.m_Window == window;
}

} // namespace

namespace n_Platform {

c_MessageQueue::~c_MessageQueue() {
    if (m_InputEvent != nullptr) {
        CloseHandle(m_InputEvent);
    }
}

bool c_MessageQueue::Post(const c_WindowObject* window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::mutex> lock(m_Lock);
    if (m_Closed) {
        return FailWith(false, window == nullptr ? ERROR_INVALID_THREAD_ID : ERROR_INVALID_WINDOW_HANDLE);
    }
    if (window != nullptr && window->m_Gone) {
        return FailWith(false, ERROR_INVALID_WINDOW_HANDLE);
    }
    if (m_Posted.size() >= POSTED_MESSAGE_QUOTA) {
        return FailWith(false, ERROR_NOT_ENOUGH_QUOTA);
    }
    const HWND handle = window == nullptr ? nullptr : window->m_Handle;
    m_Posted.push_back(MSG{handle, message, wParam, lParam, GetTickCount(), POINT{0, 0}, 0});
    Signal(KindsOfPosted(message));
    return true;
}

bool c_MessageQueue::Send(s_SentMessage& message) {
    std::lock_guard<std::mutex> lock(m_Lock);
    if (m_Closed) {
        return false;
    }
    m_Sent.push_back(&message);
    Signal(QS_SENDMESSAGE);
    return true;
}

void c_MessageQueue::Answer(s_SentMessage& message, LRESULT result) {
    std::lock_guard<std::mutex> lock(m_Lock);
    message.m_Result = result;
    message.m_Answered = true;
    // The sender is asleep in WaitForAnswer; from here on the message may be gone.
    if (m_Sleepers > 0) {
        GetUserBackend().WakeQueue(*this);
    }
}

void c_MessageQueue::PostQuit(int exitCode) {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_QuitRequested = true;
    m_QuitCode = exitCode;
    Signal(POSTED_KINDS);
}

c_MessageQueue::e_Retrieved c_MessageQueue::Retrieve(const s_MessageFilter& filter, bool remove, bool wait,
                                                     MSG& message, s_SentMessage*& sent) {
    std::unique_lock<std::mutex> lock(m_Lock);
    for (;;) {
        m_NewKinds = 0;
        if (!m_Sent.empty()) {
            sent = m_Sent.front();
            m_Sent.pop_front();
            return e_Retrieved::SENT;
        }
        if (TakePosted(filter, remove, message)) {
            return e_Retrieved::POSTED;
        }
        if (!wait) {
            return e_Retrieved::NOTHING;
        }
        SleepUntilWoken(lock);
    }
}

s_SentMessage* c_MessageQueue::WaitForAnswer(const s_SentMessage& own) {
    std::unique_lock<std::mutex> lock(m_Lock);
    for (;;) {
        if (own.m_Answered) {
            return nullptr;
        }
        if (!m_Sent.empty()) {
            s_SentMessage* sent = m_Sent.front();
            m_Sent.pop_front();
            return sent;
        }
        SleepUntilWoken(lock);
    }
}

DWORD c_MessageQueue::WaitForObjectsOrInput(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                            DWORD flags) {
    if (count >= MAXIMUM_WAIT_OBJECTS || (count > 0 && handles == nullptr)) {
        return FailWith<DWORD>(WAIT_FAILED, ERROR_INVALID_PARAMETER);
    }
    const bool waitAll = (flags & MWMO_WAITALL) != 0;
    HANDLE all[MAXIMUM_WAIT_OBJECTS];
    std::copy(handles, handles + count, all);
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        const DWORD present = (flags & MWMO_INPUTAVAILABLE) != 0 ? GetPresentKinds() : 0;
        const bool ready = ((m_NewKinds | present) & wakeMask) != 0;
        if (ready && !waitAll) {
            return WAIT_OBJECT_0 + count;
        }
        if (m_InputEvent == nullptr && (m_InputEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr)) == nullptr) {
            return WAIT_FAILED;
        }
        (ready ? SetEvent : ResetEvent)(m_InputEvent);
        m_ArmedKinds = wakeMask;
    }
    all[count] = m_InputEvent;
    const DWORD result = WaitForMultipleObjectsEx(count + 1, all, waitAll ? TRUE : FALSE, milliseconds, FALSE);
    std::lock_guard<std::mutex> lock(m_Lock);
    m_ArmedKinds = 0;
    return result;
}

void c_MessageQueue::DiscardWindow(c_WindowObject& window) {
    std::lock_guard<std::mutex> lock(m_Lock);
    window.m_Gone = true;
    std::erase_if(m_Posted, [&](const MSG& message) { return message.hwnd == window.m_Handle; });
}

void c_MessageQueue::RemoveWindow(const c_WindowObject& window) {
    std::erase_if(m_Windows, [&](const std::shared_ptr<c_WindowObject>& held) { return held.get() == &window; });
}

void c_MessageQueue::Close() {
    std::deque<s_SentMessage*> unanswered;
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Closed = true;
        m_Posted.clear();
        unanswered.swap(m_Sent);
    }
    for (s_SentMessage* message : unanswered) {
        message->m_p_Sender->Answer(*message, 0);
    }
}

void c_MessageQueue::Signal(DWORD kinds) {
    m_NewKinds |= kinds;
    if ((m_ArmedKinds & kinds) != 0) {
        SetEvent(m_InputEvent);
    }
    if (m_Sleepers > 0) {
        GetUserBackend().WakeQueue(*this);
    }
}

void c_MessageQueue::SleepUntilWoken(std::unique_lock<std::mutex>& lock) {
    ++m_Sleepers;
    GetUserBackend().WaitForInput(*this, lock);
    --m_Sleepers;
}

bool c_MessageQueue::TakePosted(const s_MessageFilter& filter, bool remove, MSG& message) {
    const auto found = std::find_if(m_Posted.begin(), m_Posted.end(), [&](const MSG& posted) {
        return Passes(filter, posted.hwnd, posted.message);
    });
    if (found != m_Posted.end()) {
        message = *found;
        if (remove) {
            m_Posted.erase(found);
        }
        return true;
    }
    // The quit request belongs to no window: only the range can hold it back.
    if (!m_QuitRequested || !Passes({nullptr, filter.m_First, filter.m_Last}, nullptr, WM_QUIT)) {
        return false;
    }
    message = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(m_QuitCode), 0, GetTickCount(), POINT{0, 0}, 0};
    m_QuitRequested = m_QuitRequested && !remove;
    return true;
}

DWORD c_MessageQueue::GetPresentKinds() const {
    DWORD kinds = m_Sent.empty() ? 0 : QS_SENDMESSAGE;
    kinds |= m_QuitRequested ? POSTED_KINDS : 0;
    for (const MSG& posted : m_Posted) {
        kinds |= KindsOfPosted(posted.message);
    }
    return kinds;
}

} // namespace n_Platform
