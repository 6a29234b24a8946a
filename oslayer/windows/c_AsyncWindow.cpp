// c_AsyncWindow: the class, the window map and its lock, the window procedure and the object's
// window.

#include "oslayer/windows/c_AsyncWindow.h"

#include "oslayer/system/ErrorText.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/system/c_MemoryAllocator.h"
#include "oslayer/threads/c_CriticalSectionLock.h"
#include "oslayer/windows/c_WindowClass.h"

#include <functional>
#include <map>
#include <new>
#include <utility>

namespace {

typedef std::map<HWND, c_AsyncWindow*, std::less<HWND>, c_MemoryAllocator<std::pair<const HWND, c_AsyncWindow*>>>
    t_WindowMap;

// Built at the first use and destroyed at exit in the reverse order of the members: the lock, the
// map (not the objects), the class (unregistered if still registered), the name.
struct s_AsyncWindows {
    c_String m_ClassName{c_AsyncWindow::CLASS_NAME};
    c_WindowClass m_Class;
    t_WindowMap m_Map;
    c_CriticalSection m_Lock;
};

s_AsyncWindows& GetAsyncWindows() {
    static s_AsyncWindows windows;
    return windows;
}

} // namespace

c_AsyncWindow::c_AsyncWindow(c_String name) : m_Name(std::move(name)) {}

c_AsyncWindow::~c_AsyncWindow() {
    DestroyAsyncWindow();
}

LRESULT c_AsyncWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(GetWindowHandle(), message, wParam, lParam);
}

bool c_AsyncWindow::Initialize(HINSTANCE instance) {
    s_AsyncWindows& windows = GetAsyncWindows();
    return windows.m_Class.Register(windows.m_ClassName, instance, AsyncWindowProc);
}

void c_AsyncWindow::Uninitialize() {
    s_AsyncWindows& windows = GetAsyncWindows();
    {
        c_CriticalSectionLock lock(windows.m_Lock);
        if (!windows.m_Map.empty()) {
            ::LogMessage(c_String::MakeFormatted(
                "There are %zu windows in the window map in c_AsyncWindow during the call to Uninitialize.",
                windows.m_Map.size()));
            windows.m_Map.clear();
        }
    }
    windows.m_Class.Unregister();
}

c_AsyncWindow* c_AsyncWindow::GetAsyncWindowFromHandle(HWND window) {
    s_AsyncWindows& windows = GetAsyncWindows();
    c_CriticalSectionLock lock(windows.m_Lock);
    const auto found = windows.m_Map.find(window);
    if (found == windows.m_Map.end() || found->second->GetWindowHandle() != window) {
        return nullptr;
    }
    return found->second;
}

bool c_AsyncWindow::CreateAsyncWindow() {
    if (IsCreated()) {
        return false;
    }
    m_ThreadId.store(GetCurrentThreadId(), std::memory_order_relaxed);
    s_AsyncWindows& windows = GetAsyncWindows();
    const HWND window = windows.m_Class.CreateWindow(c_StringView(), 0);
    if (window == nullptr) {
        LogMessage(Concat({"Error creating async window.  ", n_OSLayer::GetWindowsErrorText(::GetLastError())}));
        return false;
    }
    m_Window.store(window, std::memory_order_release);
    try {
        c_CriticalSectionLock lock(windows.m_Lock);
        windows.m_Map[window] = this;
    } catch (const std::bad_alloc&) {
        LogMessage(Concat({"Error creating async window.  ", n_OSLayer::GetWindowsErrorText(ERROR_NOT_ENOUGH_MEMORY)}));
        ::DestroyWindow(window);
        m_Window.store(nullptr, std::memory_order_release);
        return false;
    }
    return true;
}

void c_AsyncWindow::DestroyAsyncWindow() {
    const HWND window = GetWindowHandle();
    if (window == nullptr) {
        return;
    }
    if (m_ThreadId.load(std::memory_order_relaxed) == GetCurrentThreadId() && !::DestroyWindow(window)) {
        ::LogMessage(
            Concat({"c_AsyncWindow::DestroyAsyncWindow error. ", n_OSLayer::GetWindowsErrorText(::GetLastError())}));
    }
    s_AsyncWindows& windows = GetAsyncWindows();
    {
        c_CriticalSectionLock lock(windows.m_Lock);
        windows.m_Map.erase(window);
    }
    m_Window.store(nullptr, std::memory_order_release);
    m_ThreadId.store(0, std::memory_order_relaxed);
}

bool c_AsyncWindow::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = GetWindowHandle();
    if (window == nullptr) {
        LogMessage("c_AsyncWindow::PostMessage: Window handle is NULL.");
        return false;
    }
    if (!PostMessageW(window, message, wParam, lParam)) {
        LogMessage(Concat({"Error posting message in c_AsyncWindow::PostMessage.  ",
                           n_OSLayer::GetWindowsErrorText(::GetLastError())}));
        return false;
    }
    return true;
}

LRESULT c_AsyncWindow::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(GetWindowHandle(), message, wParam, lParam);
}

void c_AsyncWindow::LogMessage(const c_StringView& text) const {
    ::LogMessage(Concat({m_Name, " | ", text}));
}

LRESULT CALLBACK AsyncWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    c_AsyncWindow* object = c_AsyncWindow::GetAsyncWindowFromHandle(window);
    if (object == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return object->WindowProc(message, wParam, lParam);
    } catch (...) {
        object->LogMessage(c_String::MakeFormatted(
            "Caught an unhandled exception in AsyncWindowProc.  Message: %u, wParam: %llu, lParam: %lld.", message,
            static_cast<unsigned long long>(wParam), static_cast<long long>(lParam)));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
