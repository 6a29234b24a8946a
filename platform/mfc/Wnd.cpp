// CWnd: the objects of window handles, subclassing, and the routing of messages through the maps.

#include "platform/mfc/WindowCreation.h"

#include <afxwin.h>

#include <memory>
#include <unordered_map>

namespace {

// The message being handled on this thread, for Default().
struct s_CurrentMessage {
    UINT m_Message = 0;
    WPARAM m_WParam = 0;
    LPARAM m_LParam = 0;
};

thread_local s_CurrentMessage t_Current;
// Windows bound to objects of the program; objects of other windows, made on demand, live as
// long as the thread.
thread_local std::unordered_map<HWND, CWnd*> t_Permanent;
thread_local std::unordered_map<HWND, std::unique_ptr<CWnd>> t_Temporary;

} // namespace

CWnd::~CWnd() {
    if (m_hWnd != nullptr && t_Permanent.count(m_hWnd) != 0 && t_Permanent[m_hWnd] == this) {
        // The window outlives its object: its messages go back to its own procedure.
        if (m_pfnSuper != nullptr) {
            SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        }
        t_Permanent.erase(m_hWnd);
    }
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND window) {
    const auto found = t_Permanent.find(window);
    return found == t_Permanent.end() ? nullptr : found->second;
}

CWnd* PASCAL CWnd::FromHandle(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    if (CWnd* permanent = FromHandlePermanent(window)) {
        return permanent;
    }
    std::unique_ptr<CWnd>& temporary = t_Temporary[window];
    if (temporary == nullptr) {
        temporary = std::make_unique<CWnd>();
        temporary->m_hWnd = window;
    }
    return temporary.get();
}

BOOL CWnd::Attach(HWND window) {
    if (window == nullptr || m_hWnd != nullptr || FromHandlePermanent(window) != nullptr) {
        return FALSE;
    }
    m_hWnd = window;
    t_Permanent[window] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    const HWND window = m_hWnd;
    if (window != nullptr) {
        t_Permanent.erase(window);
    }
    m_hWnd = nullptr;
    return window;
}

BOOL CWnd::SubclassWindow(HWND window) {
    if (!Attach(window)) {
        return FALSE;
    }
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(static_cast<WNDPROC>(AfxWndProc))));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    const HWND control = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    return control != nullptr && SubclassWindow(control);
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd) ? TRUE : FALSE;
}

BOOL CWnd::UpdateData(BOOL save) {
    CDataExchange exchange(this, save);
    DoDataExchange(&exchange);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_pfnSuper != nullptr ? ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam)
                                 : ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, wParam);
    if (entry == nullptr) {
        return FALSE;
    }
    entry->pfn(this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        return OnCommand(wParam, lParam);
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, wParam);
    if (entry == nullptr) {
        return FALSE;
    }
    *result = entry->pfn(this, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::Default() {
    return DefWindowProc(t_Current.m_Message, t_Current.m_WParam, t_Current.m_LParam);
}

LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* object = CWnd::FromHandlePermanent(window);
    if (object == nullptr) {
        object = n_Platform::BindCreatingWindow(window);
    }
    if (object == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    const s_CurrentMessage outer = t_Current;
    t_Current = {message, wParam, lParam};
    const LRESULT result = object->WindowProc(message, wParam, lParam);
    t_Current = outer;
    if (message == WM_NCDESTROY) {
        object->Detach();
        object->m_pfnSuper = nullptr;
        object->PostNcDestroy();
    }
    return result;
}

CMenu* PASCAL CMenu::FromHandle(HMENU menu) {
    thread_local std::unordered_map<HMENU, std::unique_ptr<CMenu>> menus;
    if (menu == nullptr) {
        return nullptr;
    }
    std::unique_ptr<CMenu>& object = menus[menu];
    if (object == nullptr) {
        object = std::make_unique<CMenu>();
        object->m_hMenu = menu;
    }
    return object.get();
}

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window->m_hWnd) {
    m_hDC = BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    EndPaint(m_hWnd, &m_ps);
}
