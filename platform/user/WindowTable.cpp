// The window table and the window object.

#include "platform/user/WindowTable.h"

#include "platform/kernel/LastError.h"
#include "platform/user/MessageQueue.h"

#include <algorithm>
#include <cstring>
#include <shared_mutex>
#include <unordered_map>

namespace {

// Handles are multiples of 16 from 16 on, so none is null, 0xFFFF or one of the special values
// (-1 to -3); they stay below 2^31, as 32-bit code may keep them in a LONG.
constexpr std::uint64_t HANDLE_STEP = 16;
constexpr std::uint64_t HANDLE_LIMIT = std::uint64_t(1) << 31;

class c_WindowTable {
public:
    static c_WindowTable& Get() {
        static c_WindowTable* table = new c_WindowTable;
        return *table;
    }

    HWND Insert(const std::shared_ptr<n_Platform::c_WindowObject>& window) {
        std::unique_lock<std::shared_mutex> lock(m_Lock);
        if (m_LastHandle + HANDLE_STEP >= HANDLE_LIMIT) {
            return n_Platform::FailWith<HWND>(nullptr, ERROR_NO_SYSTEM_RESOURCES);
        }
        m_LastHandle += HANDLE_STEP;
        const HWND handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(m_LastHandle));
        window->m_Handle = handle;
        m_Windows.emplace(handle, window);
        return handle;
    }

    void Remove(HWND handle) {
        std::shared_ptr<n_Platform::c_WindowObject> window;
        std::unique_lock<std::shared_mutex> lock(m_Lock);
        const auto found = m_Windows.find(handle);
        if (found != m_Windows.end()) {
            // Released after the lock: the last reference may free the queue.
            window = std::move(found->second);
            m_Windows.erase(found);
        }
    }

    bool Post(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
        std::shared_lock<std::shared_mutex> lock(m_Lock);
        const auto found = m_Windows.find(handle);
        if (found == m_Windows.end()) {
            return n_Platform::FailWith(false, ERROR_INVALID_WINDOW_HANDLE);
        }
        const n_Platform::c_WindowObject& window = *found->second;
        return window.m_p_Queue->Post(&window, message, wParam, lParam);
    }

    std::shared_ptr<n_Platform::c_WindowObject> Find(HWND handle) {
        std::shared_lock<std::shared_mutex> lock(m_Lock);
        const auto found = m_Windows.find(handle);
        return found == m_Windows.end() ? nullptr : found->second;
    }

    std::vector<std::shared_ptr<n_Platform::c_WindowObject>> Snapshot() {
        std::shared_lock<std::shared_mutex> lock(m_Lock);
        std::vector<std::shared_ptr<n_Platform::c_WindowObject>> windows;
        windows.reserve(m_Windows.size());
        for (const auto& entry : m_Windows) {
            windows.push_back(entry.second);
        }
        return windows;
    }

private:
    std::shared_mutex m_Lock;
    std::uint64_t m_LastHandle = 0;
    std::unordered_map<HWND, std::shared_ptr<n_Platform::c_WindowObject>> m_Windows;
};

} // namespace

namespace n_Platform {

c_WindowObject::c_WindowObject(std::shared_ptr<c_MessageQueue> queue, std::shared_ptr<const s_WindowClass> windowClass,
                               bool messageOnly, s_WindowState state)
    : m_ThreadId(queue->GetThreadId()), m_p_Queue(std::move(queue)), m_p_Class(std::move(windowClass)),
      m_MessageOnly(messageOnly), m_State(std::move(state)) {}

LRESULT c_WindowObject::Call(UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC procedure;
    {
        std::lock_guard<std::mutex> lock(m_StateLock);
        procedure = m_State.m_p_Procedure;
    }
    if (procedure == nullptr) {
        return DefWindowProcW(m_Handle, message, wParam, lParam);
    }
    return procedure(m_Handle, message, wParam, lParam);
}

HWND InsertWindowObject(const std::shared_ptr<c_WindowObject>& window) {
    return c_WindowTable::Get().Insert(window);
}

void RemoveWindowObject(HWND handle) {
    c_WindowTable::Get().Remove(handle);
}

std::shared_ptr<c_WindowObject> FindWindowObject(HWND handle) {
    return c_WindowTable::Get().Find(handle);
}

std::shared_ptr<c_WindowObject> LookupWindowObject(HWND handle) {
    std::shared_ptr<c_WindowObject> window = FindWindowObject(handle);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    }
    return window;
}

std::shared_ptr<c_WindowObject> LookupOwnWindowObject(HWND handle) {
    std::shared_ptr<c_WindowObject> window = LookupWindowObject(handle);
    if (window != nullptr && window->m_ThreadId != GetCurrentThreadId()) {
        return FailWith<std::shared_ptr<c_WindowObject>>(nullptr, ERROR_ACCESS_DENIED);
    }
    return window;
}

bool PostToWindow(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    return c_WindowTable::Get().Post(handle, message, wParam, lParam);
}

std::vector<HWND> GetChildWindows(HWND parent) {
    std::vector<HWND> children;
    for (const std::shared_ptr<c_WindowObject>& window : c_WindowTable::Get().Snapshot()) {
        const bool child = window->ChangeState(
            [&](const s_WindowState& state) { return state.m_Parent == parent && (state.m_Style & WS_CHILD) != 0; });
        if (child) {
            children.push_back(window->m_Handle);
        }
    }
    // Handles grow with every window made.
    std::sort(children.begin(), children.end());
    return children;
}

c_WindowObject* FindOwnWindow(HWND handle) {
    c_MessageQueue* queue = GetCurrentQueue();
    return queue == nullptr ? nullptr : queue->FindWindow(handle);
}

int CopyText(std::u16string_view text, LPWSTR buffer, int units) {
    const int count = static_cast<int>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(units - 1)));
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(count) * sizeof(WCHAR));
    buffer[count] = 0;
    return count;
}

} // namespace n_Platform
