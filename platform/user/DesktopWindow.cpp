// GetDesktopWindow: one window for the whole process, made at the first call.
//
// It belongs to no thread of the program: its queue has an id no thread has and is closed from the
// start, so posts to it fail, what is sent to it is answered with 0 at once, and no thread may
// destroy it. The back end is never told of it, so no display shows it.

#include "platform/user/DesktopWindow.h"

#include "platform/user/Controls.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Monitors.h"
#include "platform/user/WindowTable.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<HWND> g_Desktop{nullptr};

HWND MakeDesktopWindow() {
    n_Platform::RegisterSystemClasses();
    const std::shared_ptr<const n_Platform::s_WindowClass> windowClass =
        n_Platform::AcquireWindowClass(u"#32769", nullptr);
    if (windowClass == nullptr) {
        return nullptr;
    }
    auto queue = std::make_shared<n_Platform::c_MessageQueue>(n_PlatformThreads::ReserveThreadId());
    queue->Close();
    n_Platform::s_WindowState state;
    state.m_p_Procedure = DefWindowProcW;
    state.m_Style = WS_POPUP | WS_VISIBLE;
    state.m_Rect = n_Platform::GetMonitors().front().m_Rect;
    state.m_NormalRect = state.m_Rect;
    const auto window = std::make_shared<n_Platform::c_WindowObject>(queue, windowClass, false, std::move(state));
    return n_Platform::InsertWindowObject(window);
}

} // namespace

namespace n_Platform {

void FitDesktopWindow() {
    const std::shared_ptr<c_WindowObject> desktop = FindWindowObject(g_Desktop.load());
    if (desktop == nullptr) {
        return;
    }
    const RECT primary = GetMonitors().front().m_Rect;
    desktop->ChangeState([&primary](s_WindowState& state) {
        state.m_Rect = primary;
        state.m_NormalRect = primary;
    });
}

} // namespace n_Platform

HWND WINAPI GetDesktopWindow() {
    static std::once_flag once;
    std::call_once(once, [] { g_Desktop = MakeDesktopWindow(); });
    return g_Desktop.load();
}
