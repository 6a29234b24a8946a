#pragma once
// c_MessageQueue: one thread's message queue.
//
// Any thread posts to it and sends to it; only the owning thread takes messages out, handles the
// messages sent to it and waits on it. Messages sent from other threads come before posted ones;
// posted ones keep their order; the quit request of PostQuitMessage comes after them. The queue's
// lock is never held while a window procedure runs. A queue is closed when its thread ends: posts
// fail from then on, and the messages sent to it are answered with 0.

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace n_Platform {

class c_WindowObject;
class c_MessageQueue;

// A message sent from another thread. It lives on the sender's stack until it is answered.
struct s_SentMessage {
    HWND m_Window;
    UINT m_Message;
    WPARAM m_WParam;
    LPARAM m_LParam;
    c_MessageQueue* m_p_Sender;
    // Under the sender's queue lock.
    LRESULT m_Result = 0;
    bool m_Answered = false;
};

// Which posted messages a retrieval takes: of one window, of any (null) or of the thread alone
// (HWND -1); within a range of numbers, or all when both bounds are 0.
struct s_MessageFilter {
    HWND m_Window;
    UINT m_First;
    UINT m_Last;
};

class c_MessageQueue {
public:
    static constexpr std::size_t POSTED_MESSAGE_QUOTA = 10000;

    explicit c_MessageQueue(DWORD threadId) : m_ThreadId(threadId) {}
    ~c_MessageQueue();
    c_MessageQueue(const c_MessageQueue&) = delete;
    c_MessageQueue& operator=(const c_MessageQueue&) = delete;

    DWORD GetThreadId() const { return m_ThreadId; }

    // Any thread. A null window posts to the thread. False with the last error set.
    bool Post(const c_WindowObject* window, UINT message, WPARAM wParam, LPARAM lParam);
    // False when the thread has ended.
    bool Send(s_SentMessage& message);
    // Called on the answering thread with the sender's queue.
    void Answer(s_SentMessage& message, LRESULT result);

    // Owning thread only from here on.
    void PostQuit(int exitCode);

    enum class e_Retrieved { NOTHING, SENT, POSTED };
    // A sent message to handle, else the first posted message that passes the filter (or the quit
    // request), removed or left in place; with wait, sleeps until one of them comes.
    e_Retrieved Retrieve(const s_MessageFilter& filter, bool remove, bool wait, MSG& message, s_SentMessage*& sent);
    // Sleeps until own is answered, handing out the messages sent to this thread meanwhile; null
    // once own is answered.
    s_SentMessage* WaitForAnswer(const s_SentMessage& own);
    // MsgWaitForMultipleObjectsEx on this queue.
    DWORD WaitForObjectsOrInput(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask, DWORD flags);

    // Marks the window gone and drops its posted messages.
    void DiscardWindow(c_WindowObject& window);
    void AddWindow(std::shared_ptr<c_WindowObject> window) { m_Windows.push_back(std::move(window)); }
    void RemoveWindow(const c_WindowObject& window);
    const std::vector<std::shared_ptr<c_WindowObject>>& GetWindows() const { return m_Windows; }
    // The thread's window of that handle, found without the window table or a new reference, which
    // posting threads would share; null for none. Valid until the window is destroyed.
    c_WindowObject* FindWindow(HWND handle) const;
    // At thread end, after its windows went: refuses further posts and answers what was sent.
    void Close();

    // For the back end: the condition that a waiting owner sleeps on, under the queue's lock.
    std::condition_variable& GetWakeCondition() { return m_Wake; }

private:
    // Records new input of these kinds, releases the lock and wakes a sleeping owner.
    void SignalAndUnlock(std::unique_lock<std::mutex>& lock, DWORD kinds);
    // Watches for new input a little, then sleeps; the lock is held on entry and on return.
    void SleepUntilWoken(std::unique_lock<std::mutex>& lock);
    // Under the lock: the inbox joins the end of the owner's messages.
    void MoveInbox();
    bool TakeOwn(const s_MessageFilter& filter, bool remove, MSG& message);
    bool TakeQuit(const s_MessageFilter& filter, bool remove, MSG& message);
    DWORD GetPresentKinds() const;

    // The fields are grouped by who writes them, each group on cache lines of its own: an owner
    // that writes where posters write would make every message cost two cache-line transfers.
    const DWORD m_ThreadId;

    // Under the lock, or written by posters and senders; what every post touches comes first.
    std::mutex m_Lock;
    bool m_Closed = false;
    int m_Sleepers = 0;
    // The kinds of input (QS_ bits) that came since the owner last looked at the inbox.
    DWORD m_NewKinds = 0;
    // While the owner is in MsgWaitForMultipleObjectsEx: the kinds it waits for, and the event that
    // stands for them among its handles.
    DWORD m_ArmedKinds = 0;
    // How many messages the owner held when it last took the inbox: it can only have fewer since.
    std::size_t m_OwnAtMove = 0;
    // Every arrival, so that an owner about to sleep can watch for one without the lock.
    std::atomic<std::uint64_t> m_Arrivals{0};
    // What other threads handed in.
    std::deque<MSG> m_Inbox;
    std::deque<s_SentMessage*> m_Sent;
    std::condition_variable m_Wake;
    bool m_QuitRequested = false;
    int m_QuitCode = 0;
    HANDLE m_InputEvent = nullptr;

    // Read by the owner at every retrieval, written by senders only.
    alignas(64) std::atomic<std::size_t> m_SentCount{0};

    // The owning thread's alone: posted messages moved out of the inbox in one step, so that the
    // owner takes them without the lock; they are older than any still in the inbox. Their count is
    // read by posters only when the quota is near.
    alignas(64) std::deque<MSG> m_Own;
    std::atomic<std::size_t> m_OwnCount{0};
    std::vector<std::shared_ptr<c_WindowObject>> m_Windows;
};

// The calling thread's queue, made by its first window call; null when it cannot be made. It lives
// until the thread ends; windows share it.
c_MessageQueue* GetCurrentQueue();
std::shared_ptr<c_MessageQueue> ShareCurrentQueue();
// The queue of a thread that has one and has not ended, else null with ERROR_INVALID_THREAD_ID.
std::shared_ptr<c_MessageQueue> LookupThreadQueue(DWORD threadId);

} // namespace n_Platform
