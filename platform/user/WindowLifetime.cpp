// Making and destroying windows: CreateWindowExW, DestroyWindow, IsWindow, GetWindowThreadProcessId
// and GetParent.

#include "platform/user/WindowLifetime.h"

#include "platform/kernel/LastError.h"
#include "platform/user/Backend.h"
#include "platform/user/Controls.h"
#include "platform/user/MessageQueue.h"

#include <new>
#include <unistd.h>

namespace {

constexpr POINT DEFAULT_POSITION = {100, 100};
constexpr POINT DEFAULT_SIZE = {640, 480};

// CW_USEDEFAULT in x also sets y, in width also sets height, as on Windows.
RECT InitialRect(DWORD style, int x, int y, int width, int height) {
    const bool child = (style & WS_CHILD) != 0;
    if (x == CW_USEDEFAULT) {
        x = child ? 0 : DEFAULT_POSITION.x;
        y = child ? 0 : DEFAULT_POSITION.y;
    }
    if (width == CW_USEDEFAULT) {
        width = child ? 0 : DEFAULT_SIZE.x;
        height = child ? 0 : DEFAULT_SIZE.y;
    }
    return RECT{x, y, x + (width < 0 ? 0 : width), y + (height < 0 ? 0 : height)};
}

std::shared_ptr<n_Platform::c_WindowObject>
MakeWindow(std::shared_ptr<n_Platform::c_MessageQueue> queue,
           const std::shared_ptr<const n_Platform::s_WindowClass>& windowClass, bool messageOnly,
           n_Platform::s_WindowState state) {
    try {
        state.m_ExtraBytes.resize(static_cast<std::size_t>(windowClass->m_Description.cbWndExtra));
        return std::make_shared<n_Platform::c_WindowObject>(std::move(queue), windowClass, messageOnly,
                                                            std::move(state));
    } catch (const std::bad_alloc&) {
        return n_Platform::FailWith<std::shared_ptr<n_Platform::c_WindowObject>>(nullptr, ERROR_NOT_ENOUGH_MEMORY);
    }
}

// Destroys the windows of the calling thread whose parent or owner is the given one.
void DestroyRelatedWindows(const n_Platform::c_WindowObject& window) {
    const std::vector<std::shared_ptr<n_Platform::c_WindowObject>> windows = window.m_p_Queue->GetWindows();
    for (const std::shared_ptr<n_Platform::c_WindowObject>& related : windows) {
        if (!related->m_Destroying && related->ReadState().m_Parent == window.m_Handle) {
            DestroyWindow(related->m_Handle);
        }
    }
}

} // namespace

namespace n_Platform {

void ForgetWindow(const std::shared_ptr<c_WindowObject>& window) {
    const HWND handle = window->m_Handle;
    window->m_p_Queue->DiscardWindow(*window);
    RemoveWindowObject(handle);
    window->m_p_Queue->RemoveWindow(*window);
    ReleaseWindowClass(*window->m_p_Class);
    GetUserBackend().OnWindowDestroyed(handle);
}

} // namespace n_Platform

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    const bool messageOnly = parent == HWND_MESSAGE;
    if ((style & WS_CHILD) != 0 && parent == nullptr) {
        return n_Platform::FailWith<HWND>(nullptr, ERROR_TLW_WITH_WSCHILD);
    }
    if (!messageOnly && parent != nullptr && n_Platform::LookupWindowObject(parent) == nullptr) {
        return nullptr;
    }
    std::shared_ptr<n_Platform::c_MessageQueue> queue = n_Platform::ShareCurrentQueue();
    if (queue == nullptr) {
        return nullptr;
    }
    n_Platform::RegisterSystemClasses();
    const std::shared_ptr<const n_Platform::s_WindowClass> windowClass =
        n_Platform::AcquireWindowClass(className, instance);
    if (windowClass == nullptr) {
        return nullptr;
    }
    n_Platform::s_WindowState state;
    state.m_p_Procedure = windowClass->m_Description.lpfnWndProc;
    state.m_Style = style;
    state.m_ExStyle = exStyle;
    state.m_Parent = messageOnly ? nullptr : parent;
    state.m_Id = reinterpret_cast<LONG_PTR>(menu);
    state.m_Instance = instance;
    state.m_Rect = InitialRect(style, x, y, width, height);
    state.m_NormalRect = state.m_Rect;
    const RECT rect = state.m_Rect;
    const std::shared_ptr<n_Platform::c_WindowObject> window =
        MakeWindow(queue, windowClass, messageOnly, std::move(state));
    if (window == nullptr || n_Platform::InsertWindowObject(window) == nullptr) {
        n_Platform::ReleaseWindowClass(*windowClass);
        return nullptr;
    }
    queue->AddWindow(window);
    CREATESTRUCTW create = {parameter,
                            instance,
                            menu,
                            parent,
                            static_cast<int>(rect.bottom - rect.top),
                            static_cast<int>(rect.right - rect.left),
                            static_cast<int>(rect.top),
                            static_cast<int>(rect.left),
                            static_cast<LONG>(style),
                            windowName,
                            className,
                            exStyle};
    const LPARAM createParameter = reinterpret_cast<LPARAM>(&create);
    if (window->Call(WM_NCCREATE, 0, createParameter) == FALSE) {
        window->Call(WM_NCDESTROY, 0, 0);
        n_Platform::ForgetWindow(window);
        return nullptr;
    }
    if (window->Call(WM_CREATE, 0, createParameter) == -1) {
        DestroyWindow(window->m_Handle);
        return nullptr;
    }
    n_Platform::GetUserBackend().OnWindowChanged(window->m_Handle);
    return window->m_Handle;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::LookupOwnWindowObject(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (window->m_Destroying) {
        return TRUE;
    }
    window->m_Destroying = true;
    window->Call(WM_DESTROY, 0, 0);
    DestroyRelatedWindows(*window);
    window->Call(WM_NCDESTROY, 0, 0);
    n_Platform::ForgetWindow(window);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND handle) {
    return n_Platform::FindWindowObject(handle) != nullptr ? TRUE : FALSE;
}

DWORD WINAPI GetWindowThreadProcessId(HWND handle, LPDWORD processId) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::LookupWindowObject(handle);
    if (window == nullptr) {
        return 0;
    }
    if (processId != nullptr) {
        *processId = static_cast<DWORD>(getpid());
    }
    return window->m_ThreadId;
}

HWND WINAPI GetParent(HWND handle) {
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::LookupWindowObject(handle);
    if (window == nullptr) {
        return nullptr;
    }
    const n_Platform::s_WindowState state = window->ReadState();
    return (state.m_Style & (WS_CHILD | WS_POPUP)) != 0 ? state.m_Parent : nullptr;
}
