// User actions as thread messages, and the test of whether a window takes them.

#include "platform/user/UserInput.h"

#include "platform/kernel/LastError.h"

#include <map>
#include <mutex>

namespace {

// Actions wait here, not in the message: a queue that closes drops its messages, and the actions
// of a thread that ended are freed with the table at exit instead of leaking.
class c_ActionTable {
public:
    static c_ActionTable& Get() {
        static c_ActionTable* table = new c_ActionTable;
        return *table;
    }

    ULONG_PTR Add(std::function<void()> action) {
        std::lock_guard<std::mutex> lock(m_Lock);
        const ULONG_PTR id = ++m_LastId;
        m_Actions.emplace(id, std::move(action));
        return id;
    }

    std::function<void()> Take(ULONG_PTR id) {
        std::lock_guard<std::mutex> lock(m_Lock);
        const auto found = m_Actions.find(id);
        if (found == m_Actions.end()) {
            return nullptr;
        }
        std::function<void()> action = std::move(found->second);
        m_Actions.erase(found);
        return action;
    }

private:
    std::mutex m_Lock;
    ULONG_PTR m_LastId = 0;
    std::map<ULONG_PTR, std::function<void()>> m_Actions;
};

} // namespace

namespace n_Platform {

bool PostUserInput(DWORD threadId, std::function<void()> action) {
    const ULONG_PTR id = c_ActionTable::Get().Add(std::move(action));
    if (PostThreadMessageW(threadId, WM_PLATFORM_USER_INPUT, id, 0) == FALSE) {
        const DWORD error = GetLastError();
        c_ActionTable::Get().Take(id);
        return FailWith(false, error);
    }
    return true;
}

void RunUserInput(const MSG& message) {
    if (const std::function<void()> action = c_ActionTable::Get().Take(message.wParam)) {
        action();
    }
}

bool AcceptsUserInput(HWND window) {
    if (IsWindow(window) == FALSE) {
        return false;
    }
    // A child takes input only with its parents; an owned window (a modal dialog) has its own.
    for (HWND above = window;; above = GetParent(above)) {
        if (IsWindowEnabled(above) == FALSE) {
            return false;
        }
        if ((GetWindowLongW(above, GWL_STYLE) & WS_CHILD) == 0) {
            return true;
        }
    }
}

} // namespace n_Platform
