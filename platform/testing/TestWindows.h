#pragma once
// Test helpers: windows whose messages go to a handler object, and a thread that owns one such window
// and pumps its queue.

#include <windows.h>

#include <functional>
#include <future>
#include <thread>

namespace n_TestWindows {

// Gets every message of its window; a handler that does not handle one returns DefWindowProcW.
typedef std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> t_Handler;

inline LRESULT CALLBACK HandlerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* handler = reinterpret_cast<t_Handler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return handler != nullptr ? (*handler)(window, message, wParam, lParam)
                              : DefWindowProcW(window, message, wParam, lParam);
}

inline const WCHAR* const CLASS_NAME = u"TestHandlerWindow";

// Registers the class at the first call; it stays for the process.
inline HINSTANCE RegisterHandlerClass() {
    static const HINSTANCE instance = [] {
        WNDCLASSEXW description = {};
        description.cbSize = sizeof description;
        description.lpfnWndProc = HandlerProcedure;
        description.cbWndExtra = 16;
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = CLASS_NAME;
        RegisterClassExW(&description);
        return description.hInstance;
    }();
    return instance;
}

// A window of the calling thread; the handler must outlive it.
inline HWND MakeWindow(t_Handler* handler, DWORD style = 0, HWND parent = nullptr, LPCWSTR title = u"") {
    return CreateWindowExW(0, CLASS_NAME, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           parent, nullptr, RegisterHandlerClass(), handler);
}

inline LRESULT Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A thread that makes one window with the handler and pumps its queue until WM_QUIT.
class c_LoopThread {
public:
    explicit c_LoopThread(t_Handler handler) : m_Handler(std::move(handler)) {
        std::promise<void> started;
        std::future<void> ready = started.get_future();
        m_Thread = std::thread([this, &started] {
            m_Window = MakeWindow(&m_Handler);
            m_ThreadId = GetCurrentThreadId();
            started.set_value();
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                DispatchMessageW(&message);
            }
        });
        ready.wait();
    }
    ~c_LoopThread() { Stop(); }
    c_LoopThread(const c_LoopThread&) = delete;
    c_LoopThread& operator=(const c_LoopThread&) = delete;

    void Stop() {
        if (m_Thread.joinable()) {
            PostThreadMessageW(m_ThreadId, WM_QUIT, 0, 0);
            m_Thread.join();
        }
    }

    HWND GetWindow() const { return m_Window; }
    DWORD GetThreadId() const { return m_ThreadId; }

private:
    t_Handler m_Handler;
    HWND m_Window = nullptr;
    DWORD m_ThreadId = 0;
    std::thread m_Thread;
};

} // namespace n_TestWindows
