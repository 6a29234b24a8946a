// Tests of window classes, the window table, window state and placement, and the back-end seam.

#include "platform/testing/TestMonitors.h"
#include "platform/testing/TestWindows.h"
#include "platform/user/Backend.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using n_TestWindows::Default;
using n_TestWindows::MakeWindow;
using n_TestWindows::t_Handler;

LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

WNDCLASSEXW Description(LPCWSTR name, HINSTANCE instance) {
    WNDCLASSEXW description = {};
    description.cbSize = sizeof description;
    description.lpfnWndProc = PlainProcedure;
    description.hInstance = instance;
    description.lpszClassName = name;
    return description;
}

HINSTANCE OtherInstance() {
    static int module;
    return reinterpret_cast<HINSTANCE>(&module);
}

std::u16string TextOf(HWND window) {
    WCHAR buffer[64];
    const int length = GetWindowTextW(window, buffer, 64);
    return std::u16string(buffer, static_cast<std::size_t>(length));
}

TEST(WindowClasses, RegisterOncePerInstanceWithOneAtomPerName) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW description = Description(u"ClassesOnce", instance);
    const ATOM atom = RegisterClassExW(&description);
    ASSERT_NE(atom, 0);
    description.lpszClassName = u"CLASSESONCE";
    EXPECT_EQ(RegisterClassExW(&description), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    description.hInstance = OtherInstance();
    EXPECT_EQ(RegisterClassExW(&description), atom);

    WNDCLASSEXW found = {};
    EXPECT_EQ(GetClassInfoExW(instance, u"classesonce", &found), atom);
    EXPECT_EQ(found.lpfnWndProc, PlainProcedure);
    EXPECT_EQ(std::u16string(found.lpszClassName), u"ClassesOnce");
    WNDCLASSW shortForm = {};
    EXPECT_EQ(GetClassInfoW(instance, MAKEINTATOM(atom), &shortForm), atom);
    EXPECT_EQ(shortForm.hInstance, instance);

    EXPECT_TRUE(UnregisterClassW(MAKEINTATOM(atom), instance));
    EXPECT_TRUE(UnregisterClassW(u"ClassesOnce", OtherInstance()));
    EXPECT_FALSE(UnregisterClassW(u"ClassesOnce", instance));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
    EXPECT_FALSE(GetClassInfoExW(instance, u"ClassesOnce", &found));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
}

TEST(WindowClasses, BadRegistrationsAndUnknownClassesFail) {
    WNDCLASSEXW description = Description(u"BadSize", GetModuleHandleW(nullptr));
    description.cbSize = 48;
    EXPECT_EQ(RegisterClassExW(&description), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
}

TEST(WindowClasses, AClassWithWindowsCannotGo) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const WNDCLASSEXW description = Description(u"ClassWithWindows", instance);
    ASSERT_NE(RegisterClassExW(&description), 0);
    const HWND window =
        CreateWindowExW(0, u"ClassWithWindows", u"", 0, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(window, nullptr);
    WCHAR name[8];
    EXPECT_EQ(GetClassNameW(window, name, 8), 7);
    EXPECT_EQ(std::u16string(name), u"ClassWi");
    EXPECT_FALSE(UnregisterClassW(u"ClassWithWindows", instance));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(UnregisterClassW(u"ClassWithWindows", instance));
}

TEST(Windows, CreationSendsNcCreateAndCreateWithTheCreationRecord) {
    std::vector<UINT> messages;
    const CREATESTRUCTW* seen = nullptr;
    t_Handler handler = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        messages.push_back(message);
        if (message == WM_CREATE) {
            seen = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            EXPECT_EQ(seen->lpCreateParams, &handler);
            EXPECT_EQ(seen->x, 100);
            EXPECT_EQ(seen->cx, 640);
        }
        return Default(window, message, wParam, lParam);
    };
    const HWND window = MakeWindow(&handler, 0, nullptr, u"Title");
    ASSERT_NE(window, nullptr);
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(messages, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
    EXPECT_EQ(TextOf(window), u"Title");
    DWORD processId = 0;
    EXPECT_EQ(GetWindowThreadProcessId(window, &processId), GetCurrentThreadId());
    EXPECT_NE(processId, 0u);
    messages.clear();
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ(messages, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
}

TEST(Windows, AProcedureThatRefusesCreationGetsNoWindow) {
    struct s_Case {
        const char* m_p_Name;
        UINT m_Refused;
        LRESULT m_Refusal;
        std::vector<UINT> m_Expected;
    };
    const s_Case cases[] = {
        {"refused at WM_NCCREATE", WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
        {"refused at WM_CREATE", WM_CREATE, -1, {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
    };
    for (const s_Case& row : cases) {
        std::vector<UINT> messages;
        HWND made = nullptr;
        t_Handler handler = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            made = window;
            messages.push_back(message);
            return message == row.m_Refused ? row.m_Refusal : Default(window, message, wParam, lParam);
        };
        EXPECT_EQ(MakeWindow(&handler), nullptr) << row.m_p_Name;
        EXPECT_EQ(messages, row.m_Expected) << row.m_p_Name;
        EXPECT_FALSE(IsWindow(made)) << row.m_p_Name;
    }
}

TEST(Windows, DestroyingAWindowDestroysItsChildrenAndNeverReusesTheHandle) {
    std::vector<std::pair<HWND, UINT>> order;
    t_Handler handler = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DESTROY || message == WM_NCDESTROY) {
            order.emplace_back(window, message);
        }
        return Default(window, message, wParam, lParam);
    };
    const HWND parent = MakeWindow(&handler);
    const HWND child = MakeWindow(&handler, WS_CHILD, parent);
    const HWND owned = MakeWindow(&handler, WS_POPUP, parent);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_EQ(GetParent(owned), parent);
    EXPECT_EQ(GetParent(parent), nullptr);
    EXPECT_TRUE(DestroyWindow(parent));
    const std::vector<std::pair<HWND, UINT>> expected = {{parent, WM_DESTROY},  {child, WM_DESTROY},
                                                         {child, WM_NCDESTROY}, {owned, WM_DESTROY},
                                                         {owned, WM_NCDESTROY}, {parent, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    for (HWND gone : {parent, child, owned}) {
        EXPECT_FALSE(IsWindow(gone));
        EXPECT_FALSE(ShowWindow(gone, SW_SHOW));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
        EXPECT_FALSE(DestroyWindow(gone));
    }
    std::set<HWND> later;
    for (int i = 0; i < 100; ++i) {
        const HWND window = MakeWindow(&handler);
        later.insert(window);
        DestroyWindow(window);
    }
    EXPECT_EQ(later.size(), 100u);
    EXPECT_EQ(later.count(parent) + later.count(child) + later.count(owned), 0u);
}

TEST(Windows, CreationRulesAndForeignDestruction) {
    t_Handler handler = Default;
    EXPECT_EQ(MakeWindow(&handler, WS_CHILD), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
    EXPECT_EQ(MakeWindow(&handler, 0, reinterpret_cast<HWND>(0x7FFFFFF0)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);

    const HWND window = MakeWindow(&handler);
    BOOL destroyed = TRUE;
    DWORD error = 0;
    std::thread([&] {
        destroyed = DestroyWindow(window);
        error = GetLastError();
    }).join();
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(error, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(DestroyWindow(window));
}

TEST(Windows, TheWindowsOfAThreadGoWhenItEnds) {
    t_Handler handler = Default;
    HWND window = nullptr;
    std::thread([&] { window = MakeWindow(&handler); }).join();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(PostMessageW(window, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST(Windows, TextGoesThroughTheTextMessages) {
    std::vector<UINT> messages;
    t_Handler handler = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        messages.push_back(message);
        return Default(window, message, wParam, lParam);
    };
    const HWND window = MakeWindow(&handler);
    messages.clear();
    EXPECT_TRUE(SetWindowTextW(window, u"A longer text"));
    EXPECT_EQ(GetWindowTextLengthW(window), 13);
    WCHAR small[5];
    EXPECT_EQ(GetWindowTextW(window, small, 5), 4);
    EXPECT_EQ(std::u16string(small), u"A lo");
    EXPECT_EQ(GetWindowTextW(window, small, 0), 0);
    EXPECT_TRUE(SetWindowTextW(window, nullptr));
    EXPECT_EQ(TextOf(window), u"");
    EXPECT_EQ(messages, (std::vector<UINT>{WM_SETTEXT, WM_GETTEXTLENGTH, WM_GETTEXT, WM_SETTEXT, WM_GETTEXT}));
    DestroyWindow(window);
    EXPECT_FALSE(SetWindowTextW(window, u"x"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST(Windows, FieldsAndExtraBytes) {
    t_Handler handler = Default;
    const HWND window = MakeWindow(&handler);
    struct s_Case {
        const char* m_p_Name;
        int m_Index;
        LONG_PTR m_Value;
    };
    const s_Case cases[] = {
        {"style", GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_DISABLED)},
        {"extended style", GWL_EXSTYLE, WS_EX_TOPMOST},
        {"id", GWLP_ID, 1043},
        {"first extra bytes", 0, 0x1122334455667788},
        {"last extra bytes", 8, -5},
    };
    for (const s_Case& row : cases) {
        SetWindowLongPtrW(window, row.m_Index, row.m_Value);
        EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << row.m_p_Name;
        EXPECT_EQ(GetWindowLongPtrW(window, row.m_Index), row.m_Value) << row.m_p_Name;
    }
    EXPECT_EQ(GetWindowLongW(window, 0), 0x55667788);
    EXPECT_EQ(SetWindowLongW(window, 8, -1), -5);
    EXPECT_EQ(GetWindowLongPtrW(window, 8), -1);
    EXPECT_FALSE(IsWindowEnabled(window));

    const int refused[] = {9, 16, -2, -100};
    for (int index : refused) {
        EXPECT_EQ(GetWindowLongPtrW(window, index), 0) << index;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX) << index;
    }
    EXPECT_EQ(GetWindowLongW(window, GWLP_WNDPROC), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    DestroyWindow(window);
}

TEST(Windows, ReplacingTheProcedureRedirectsMessages) {
    static std::atomic<int> s_Calls{0};
    t_Handler handler = Default;
    const HWND window = MakeWindow(&handler);
    const WNDPROC counting = [](HWND w, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        ++s_Calls;
        return message == WM_USER ? 42 : DefWindowProcW(w, message, wParam, lParam);
    };
    const LONG_PTR previous = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting));
    EXPECT_EQ(previous, reinterpret_cast<LONG_PTR>(n_TestWindows::HandlerProcedure));
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 42);
    EXPECT_EQ(s_Calls, 1);
    DestroyWindow(window);
}

TEST(Windows, CallWindowProcHandsTheMessageToTheGivenProcedure) {
    std::vector<std::vector<LPARAM>> seen;
    t_Handler handler = [&seen](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message != WM_USER) {
            return Default(window, message, wParam, lParam);
        }
        seen.push_back({reinterpret_cast<LPARAM>(window), static_cast<LPARAM>(wParam), lParam});
        return 7;
    };
    const HWND window = MakeWindow(&handler);
    EXPECT_EQ(CallWindowProcW(n_TestWindows::HandlerProcedure, window, WM_USER, 3, 4), 7);
    EXPECT_EQ(seen, (std::vector<std::vector<LPARAM>>{{reinterpret_cast<LPARAM>(window), 3, 4}}));
    EXPECT_EQ(CallWindowProcW(nullptr, window, WM_USER, 3, 4), 0);
    EXPECT_EQ(seen.size(), 1u);
    DestroyWindow(window);
}

TEST(DesktopWindow, IsOneWindowOverThePrimaryMonitorThatNoThreadOfTheProgramOwns) {
    const HWND desktop = GetDesktopWindow();
    ASSERT_NE(desktop, nullptr);
    HWND seenByAnother = nullptr;
    std::thread([&seenByAnother] { seenByAnother = GetDesktopWindow(); }).join();
    EXPECT_EQ(seenByAnother, desktop);
    EXPECT_TRUE(IsWindow(desktop));
    EXPECT_TRUE(IsWindowVisible(desktop));
    EXPECT_EQ(GetParent(desktop), nullptr);
    WCHAR name[16] = {};
    EXPECT_EQ(std::u16string(name, static_cast<std::size_t>(GetClassNameW(desktop, name, 16))), u"#32769");
    RECT rect = {};
    ASSERT_TRUE(GetWindowRect(desktop, &rect));
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<LONG>{0, 0, 1920, 1080}));
    const DWORD owner = GetWindowThreadProcessId(desktop, nullptr);
    EXPECT_NE(owner, 0u);
    EXPECT_NE(owner, GetCurrentThreadId());
    // Nothing runs its messages: a send is answered at once, a post fails, and it cannot be destroyed.
    EXPECT_EQ(SendMessageW(desktop, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessageW(desktop, WM_USER, 0, 0));
    EXPECT_FALSE(DestroyWindow(desktop));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(IsWindow(desktop));
}

TEST(DesktopWindow, FollowsThePrimaryMonitor) {
    const HWND desktop = GetDesktopWindow();
    RECT rect = {};
    {
        const c_TestMonitors monitors(
            {{{1920, 0, 3200, 1024}, {1920, 0, 3200, 984}}, {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}});
        ASSERT_TRUE(GetWindowRect(desktop, &rect));
        EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
                  (std::vector<LONG>{1920, 0, 3200, 1024}));
        ASSERT_TRUE(GetClientRect(desktop, &rect));
        EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
                  (std::vector<LONG>{0, 0, 1280, 1024}));
    }
    ASSERT_TRUE(GetWindowRect(desktop, &rect));
    EXPECT_EQ(rect.right, 1920);
}

TEST(WindowState, ShowingHidingAndEnabling) {
    t_Handler handler = Default;
    const HWND parent = MakeWindow(&handler);
    const HWND child = MakeWindow(&handler, WS_CHILD | WS_VISIBLE, parent);
    const HWND messageOnly = MakeWindow(&handler, WS_VISIBLE, HWND_MESSAGE);
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_FALSE(ShowWindow(parent, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_TRUE(ShowWindow(parent, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(parent));
    EXPECT_FALSE(IsWindowVisible(messageOnly));
    EXPECT_EQ(GetParent(messageOnly), nullptr);
    EXPECT_FALSE(ShowWindow(parent, 12));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_FALSE(EnableWindow(parent, FALSE));
    EXPECT_FALSE(IsWindowEnabled(parent));
    EXPECT_TRUE(EnableWindow(parent, TRUE));
    EXPECT_TRUE(IsWindowEnabled(parent));
    DestroyWindow(messageOnly);
    DestroyWindow(parent);
}

TEST(WindowPlacement, PositionsSizesAndShowStates) {
    t_Handler handler = Default;
    const HWND window = MakeWindow(&handler);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(window, &rect));
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
              (std::vector<LONG>{100, 100, 740, 580}));
    EXPECT_TRUE(MoveWindow(window, 10, 20, 300, 200, TRUE));
    const HWND child = CreateWindowExW(0, n_TestWindows::CLASS_NAME, u"", WS_CHILD, 5, 6, 50, 40, window, nullptr,
                                       n_TestWindows::RegisterHandlerClass(), &handler);
    ASSERT_TRUE(GetWindowRect(child, &rect));
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<LONG>{15, 26, 65, 66}));
    ASSERT_TRUE(GetClientRect(window, &rect));
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<LONG>{0, 0, 300, 200}));

    ShowWindow(window, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(window));
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right, 1920);
    WINDOWPLACEMENT placement = {};
    ASSERT_TRUE(GetWindowPlacement(window, &placement));
    EXPECT_EQ(placement.length, sizeof placement);
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(placement.rcNormalPosition.right, 310);
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_FALSE(IsZoomed(window));
    ShowWindow(window, SW_RESTORE);
    GetWindowRect(window, &rect);
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<LONG>{10, 20, 310, 220}));

    placement.showCmd = SW_SHOWNORMAL;
    placement.rcNormalPosition = RECT{1, 2, 3, 4};
    placement.ptMinPosition = POINT{7, 8};
    placement.flags = WPF_SETMINPOSITION;
    ASSERT_TRUE(SetWindowPlacement(window, &placement));
    WINDOWPLACEMENT read = {};
    GetWindowPlacement(window, &read);
    EXPECT_EQ(read.rcNormalPosition.bottom, 4);
    EXPECT_EQ(read.ptMinPosition.y, 8);
    EXPECT_EQ(read.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_TRUE(IsWindowVisible(window));

    EXPECT_TRUE(SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, static_cast<LONG>(WS_EX_TOPMOST));
    EXPECT_FALSE(GetWindowRect(window, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DestroyWindow(window);
}

// Records what the layer tells its back end; sleeps as the headless one does.
class c_RecordingBackend : public n_Platform::c_UserBackend {
public:
    void OnWindowChanged(HWND window) override { m_Changed.push_back(window); }
    void OnWindowDestroyed(HWND window) override { m_Destroyed.push_back(window); }
    void WaitForInput(n_Platform::c_MessageQueue& queue, std::unique_lock<std::mutex>& lock) override {
        m_p_Headless->WaitForInput(queue, lock);
    }
    void WakeQueue(n_Platform::c_MessageQueue& queue) override { m_p_Headless->WakeQueue(queue); }

    n_Platform::c_UserBackend* m_p_Headless = &n_Platform::GetUserBackend();
    std::vector<HWND> m_Changed;
    std::vector<HWND> m_Destroyed;
};

TEST(UserBackend, IsToldOfEveryShownChangeAndOfDestruction) {
    c_RecordingBackend backend;
    EXPECT_EQ(n_Platform::SetUserBackend(&backend), nullptr);
    t_Handler handler = Default;
    const HWND window = MakeWindow(&handler);
    SetWindowTextW(window, u"shown");
    ShowWindow(window, SW_SHOW);
    EnableWindow(window, FALSE);
    MoveWindow(window, 1, 2, 3, 4, TRUE);
    SetWindowLongW(window, GWL_STYLE, 0);
    DestroyWindow(window);
    EXPECT_EQ(n_Platform::SetUserBackend(nullptr), &backend);
    EXPECT_EQ(backend.m_Changed, std::vector<HWND>(6, window));
    EXPECT_EQ(backend.m_Destroyed, std::vector<HWND>{window});
}

} // namespace
