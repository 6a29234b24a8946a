#pragma once
// The window table: every window is a checked entry, found by a handle that is never reused.
//
// A window's fixed facts (handle, thread, queue, class) never change after creation; its state
// (procedure, styles, text, rectangles, fields and extra bytes) is read and changed under the
// window's own lock, never while its procedure runs.

#include "platform/user/WindowClasses.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace n_Platform {

class c_MessageQueue;

// What a control or a dialog keeps beside the window's state: its items, checks, results. Only the
// owning thread touches it; it goes with the window object.
class c_WindowExtension {
public:
    virtual ~c_WindowExtension() = default;
};

struct s_ScrollBarState {
    int m_Min = 0;
    int m_Max = 100;
    UINT m_Page = 0;
    int m_Position = 0;
};

struct s_WindowState {
    WNDPROC m_p_Procedure = nullptr;
    DWORD m_Style = 0;
    DWORD m_ExStyle = 0;
    // The parent of a child window, the owner of any other; null for none.
    HWND m_Parent = nullptr;
    LONG_PTR m_Id = 0;
    HINSTANCE m_Instance = nullptr;
    LONG_PTR m_UserData = 0;
    std::u16string m_Text;
    // Now: in the parent's client area for a child, on the screen otherwise.
    RECT m_Rect = {};
    // Where the window goes when restored; follows m_Rect while neither minimized nor maximized.
    RECT m_NormalRect = {};
    POINT m_MinPosition = {-1, -1};
    POINT m_MaxPosition = {-1, -1};
    std::vector<unsigned char> m_ExtraBytes;
    // SB_HORZ and SB_VERT.
    s_ScrollBarState m_ScrollBars[2];
};

class c_WindowObject {
public:
    c_WindowObject(std::shared_ptr<c_MessageQueue> queue, std::shared_ptr<const s_WindowClass> windowClass,
                   bool messageOnly, s_WindowState state);

    s_WindowState ReadState() const {
        std::lock_guard<std::mutex> lock(m_StateLock);
        return m_State;
    }
    // Runs change(state) under the window's lock and returns what it returns.
    template <typename Change> auto ChangeState(const Change& change) {
        std::lock_guard<std::mutex> lock(m_StateLock);
        return change(m_State);
    }

    // Calls the window's procedure on the calling thread. The procedure may destroy the window, so
    // nothing of the object is touched once it returns.
    LRESULT Call(UINT message, WPARAM wParam, LPARAM lParam);

    // What posters read comes first; the state lock, which the owning thread takes for every
    // message, lies on a cache line of its own.
    HWND m_Handle = nullptr;
    const DWORD m_ThreadId;
    const std::shared_ptr<c_MessageQueue> m_p_Queue;
    const std::shared_ptr<const s_WindowClass> m_p_Class;
    const bool m_MessageOnly;
    // Under the queue's lock: set when the window is destroyed, so that no post reaches it after.
    bool m_Gone = false;
    // The owning thread's alone: DestroyWindow is under way.
    bool m_Destroying = false;
    // The owning thread's alone.
    std::unique_ptr<c_WindowExtension> m_p_Extension;

private:
    alignas(64) mutable std::mutex m_StateLock;
    s_WindowState m_State;
};

// Gives the window its handle. Null with ERROR_NO_SYSTEM_RESOURCES when handles have run out.
HWND InsertWindowObject(const std::shared_ptr<c_WindowObject>& window);
void RemoveWindowObject(HWND handle);
// The window, or null (the Lookup form also sets ERROR_INVALID_WINDOW_HANDLE).
std::shared_ptr<c_WindowObject> FindWindowObject(HWND handle);
std::shared_ptr<c_WindowObject> LookupWindowObject(HWND handle);
// The same, also failing with ERROR_ACCESS_DENIED for a window of another thread.
std::shared_ptr<c_WindowObject> LookupOwnWindowObject(HWND handle);

// Posts to the window under the table's lock, so that the poster shares nothing of the window but
// that lock. False with the last error set.
bool PostToWindow(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

// The child windows of a window, of any thread, in the order they were made.
std::vector<HWND> GetChildWindows(HWND parent);

// The calling thread's own window of that handle, found without the table; null for none.
c_WindowObject* FindOwnWindow(HWND handle);

// The extension of the calling thread's window, when it has one of that type; else null.
template <typename T> T* FindExtension(HWND handle) {
    c_WindowObject* window = FindOwnWindow(handle);
    return window == nullptr ? nullptr : dynamic_cast<T*>(window->m_p_Extension.get());
}

// Copies at most units - 1 units and a NUL; returns the units copied. units must be above 0.
int CopyText(std::u16string_view text, LPWSTR buffer, int units);

} // namespace n_Platform
