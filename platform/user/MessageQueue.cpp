// c_MessageQueue: posting, sending, answering, retrieval and the waits of one thread's queue.
//
// Posters append to the inbox under the lock; the owner moves the whole inbox to its own list at
// once and takes messages from there without the lock, so the two meet once per batch rather than
// once per message.

#include "platform/user/MessageQueue.h"

#include "platform/kernel/LastError.h"
#include "platform/user/Backend.h"
#include "platform/user/WindowTable.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr DWORD POSTED_KINDS = QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
// How long an owner with nothing to do watches for new input before it sleeps: some microseconds,
// less than waking a sleeping thread costs its poster. It looks only now and then, since each look
// takes the posters' cache line away from them.
constexpr int LOOKS_BEFORE_SLEEP = 64;
constexpr int PAUSES_BETWEEN_LOOKS = 16;

void PauseBriefly() {
    for (int pause = 0; pause < PAUSES_BETWEEN_LOOKS; ++pause) {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
}

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

DWORD KindsIn(const std::deque<MSG>& messages) {
    DWORD kinds = 0;
    for (const MSG& posted : messages) {
        kinds |= KindsOfPosted(posted.message);
    }
    return kinds;
}

} // namespace

namespace n_Platform {

c_MessageQueue::~c_MessageQueue() {
    if (m_InputEvent != nullptr) {
        CloseHandle(m_InputEvent);
    }
}

bool c_MessageQueue::Post(const c_WindowObject* window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Everything that can be done outside the lock is, so that poster and owner meet briefly.
    const HWND handle = window == nullptr ? nullptr : window->m_Handle;
    const MSG posted = {handle, message, wParam, lParam, GetTickCount(), POINT{0, 0}, 0};
    std::unique_lock<std::mutex> lock(m_Lock);
    if (m_Closed) {
        return FailWith(false, window == nullptr ? ERROR_INVALID_THREAD_ID : ERROR_INVALID_WINDOW_HANDLE);
    }
    if (window != nullptr && window->m_Gone) {
        return FailWith(false, ERROR_INVALID_WINDOW_HANDLE);
    }
    if (m_Inbox.size() + m_OwnAtMove >= POSTED_MESSAGE_QUOTA &&
        m_Inbox.size() + m_OwnCount.load(std::memory_order_relaxed) >= POSTED_MESSAGE_QUOTA) {
        return FailWith(false, ERROR_NOT_ENOUGH_QUOTA);
    }
    m_Inbox.push_back(posted);
    SignalAndUnlock(lock, KindsOfPosted(message));
    return true;
}

bool c_MessageQueue::Send(s_SentMessage& message) {
    std::unique_lock<std::mutex> lock(m_Lock);
    if (m_Closed) {
        return false;
    }
    m_Sent.push_back(&message);
    m_SentCount.fetch_add(1, std::memory_order_release);
    SignalAndUnlock(lock, QS_SENDMESSAGE);
    return true;
}

void c_MessageQueue::Answer(s_SentMessage& message, LRESULT result) {
    std::lock_guard<std::mutex> lock(m_Lock);
    message.m_Result = result;
    message.m_Answered = true;
    m_Arrivals.fetch_add(1, std::memory_order_relaxed);
    // Woken under the lock: once the sender sees the answer it may end, and its queue with it.
    if (m_Sleepers > 0) {
        GetUserBackend().WakeQueue(*this);
    }
}

void c_MessageQueue::PostQuit(int exitCode) {
    std::unique_lock<std::mutex> lock(m_Lock);
    m_QuitRequested = true;
    m_QuitCode = exitCode;
    SignalAndUnlock(lock, POSTED_KINDS);
}

c_MessageQueue::e_Retrieved c_MessageQueue::Retrieve(const s_MessageFilter& filter, bool remove, bool wait,
                                                     MSG& message, s_SentMessage*& sent) {
    for (;;) {
        // Sent messages come first; while none waits, the owner's own messages need no lock.
        if (m_SentCount.load(std::memory_order_acquire) == 0 && TakeOwn(filter, remove, message)) {
            return e_Retrieved::POSTED;
        }
        std::unique_lock<std::mutex> lock(m_Lock);
        m_NewKinds = 0;
        if (!m_Sent.empty()) {
            sent = m_Sent.front();
            m_Sent.pop_front();
            m_SentCount.fetch_sub(1, std::memory_order_relaxed);
            return e_Retrieved::SENT;
        }
        if (!m_Inbox.empty()) {
            MoveInbox();
            continue;
        }
        if (TakeOwn(filter, remove, message) || TakeQuit(filter, remove, message)) {
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
            m_SentCount.fetch_sub(1, std::memory_order_relaxed);
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
    const auto ofWindow = [&](const MSG& message) { return message.hwnd == window.m_Handle; };
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        window.m_Gone = true;
        std::erase_if(m_Inbox, ofWindow);
    }
    std::erase_if(m_Own, ofWindow);
    m_OwnCount.store(m_Own.size(), std::memory_order_relaxed);
}

c_WindowObject* c_MessageQueue::FindWindow(HWND handle) const {
    for (const std::shared_ptr<c_WindowObject>& window : m_Windows) {
        if (window->m_Handle == handle) {
            return window.get();
        }
    }
    return nullptr;
}

void c_MessageQueue::RemoveWindow(const c_WindowObject& window) {
    std::erase_if(m_Windows, [&](const std::shared_ptr<c_WindowObject>& held) { return held.get() == &window; });
}

void c_MessageQueue::Close() {
    std::deque<s_SentMessage*> unanswered;
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Closed = true;
        m_Inbox.clear();
        unanswered.swap(m_Sent);
    }
    m_Own.clear();
    m_OwnCount.store(0, std::memory_order_relaxed);
    for (s_SentMessage* message : unanswered) {
        message->m_p_Sender->Answer(*message, 0);
    }
}

void c_MessageQueue::SignalAndUnlock(std::unique_lock<std::mutex>& lock, DWORD kinds) {
    m_Arrivals.fetch_add(1, std::memory_order_relaxed);
    m_NewKinds |= kinds;
    if ((m_ArmedKinds & kinds) != 0) {
        SetEvent(m_InputEvent);
    }
    const bool sleeping = m_Sleepers > 0;
    lock.unlock();
    // The poster keeps the queue alive (through the window, or as the thread's queue), so the wake
    // can follow the unlock, and the woken owner does not run into a held lock.
    if (sleeping) {
        GetUserBackend().WakeQueue(*this);
    }
}

void c_MessageQueue::SleepUntilWoken(std::unique_lock<std::mutex>& lock) {
    const std::uint64_t seen = m_Arrivals.load(std::memory_order_relaxed);
    lock.unlock();
    for (int look = 0; look < LOOKS_BEFORE_SLEEP && m_Arrivals.load(std::memory_order_relaxed) == seen; ++look) {
        PauseBriefly();
    }
    lock.lock();
    if (m_Arrivals.load(std::memory_order_relaxed) != seen) {
        return;
    }
    ++m_Sleepers;
    GetUserBackend().WaitForInput(*this, lock);
    --m_Sleepers;
}

void c_MessageQueue::MoveInbox() {
    if (m_Own.empty()) {
        m_Own.swap(m_Inbox);
    } else {
        std::move(m_Inbox.begin(), m_Inbox.end(), std::back_inserter(m_Own));
        m_Inbox.clear();
    }
    m_OwnAtMove = m_Own.size();
    m_OwnCount.store(m_OwnAtMove, std::memory_order_relaxed);
}

bool c_MessageQueue::TakeOwn(const s_MessageFilter& filter, bool remove, MSG& message) {
    const auto found = std::find_if(m_Own.begin(), m_Own.end(),
                                    [&](const MSG& posted) { return Passes(filter, posted.hwnd, posted.message); });
    if (found == m_Own.end()) {
        return false;
    }
    message = *found;
    if (remove) {
        m_Own.erase(found);
        m_OwnCount.store(m_Own.size(), std::memory_order_relaxed);
    }
    return true;
}

bool c_MessageQueue::TakeQuit(const s_MessageFilter& filter, bool remove, MSG& message) {
    // The quit request belongs to no window: only the range can hold it back.
    if (!m_QuitRequested || !Passes({nullptr, filter.m_First, filter.m_Last}, nullptr, WM_QUIT)) {
        return false;
    }
    message = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(m_QuitCode), 0, GetTickCount(), POINT{0, 0}, 0};
    m_QuitRequested = !remove;
    return true;
}

DWORD c_MessageQueue::GetPresentKinds() const {
    DWORD kinds = m_Sent.empty() ? 0 : QS_SENDMESSAGE;
    kinds |= m_QuitRequested ? POSTED_KINDS : 0;
    return kinds | KindsIn(m_Inbox) | KindsIn(m_Own);
}

} // namespace n_Platform
