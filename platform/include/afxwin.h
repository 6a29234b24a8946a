#pragma once
// The MFC classes and calls that the program uses, written for this layer.
//
// An application derives from CWinApp and makes one static object of it; the layer's main calls
// AfxWinMain, which runs its InitInstance and, when that returns false, its ExitInstance. Dialogs
// derive from CDialog: DoModal runs the template of its id, and the window procedure routes every
// message through the class's message map (BEGIN_MESSAGE_MAP ... END_MESSAGE_MAP), then to the
// dialog's default processing. Controls bound with DDX_Control are CWnd objects of their own. There
// are no exceptions: failures are results, as in the rest of the layer.

#include <commctrl.h>
#include <windows.h>

#define AFXAPI
#define PASCAL
#define afx_msg

// The framework's help command.
#define ID_HELP 0xE146

// A class of the executable's module with DefWindowProcW as its procedure, named after the four
// values ("Afx:" and them in hexadecimal); the same four values give the same class. The name lives
// as long as the process. Null, with the last error of RegisterClassExW, when registering fails;
// there are no exceptions.
LPCWSTR AFXAPI AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                   HICON icon = nullptr);

// Registers the class unless a class of its name and instance is already there; TRUE then too.
BOOL AFXAPI AfxRegisterClass(WNDCLASSW* description);

// What a frame's creation hands its window as the creation parameter; the layer has no documents or
// views to put there.
struct CCreateContext {};

class CCmdTarget;

// One entry of a message map: a window message, or WM_COMMAND with a notification code and a range
// of ids; the handler is called through a function that knows the class.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_PMSG pfn;
};
struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                                          \
protected:                                                                                                             \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();                                                               \
    const AFX_MSGMAP* GetMessageMap() const override;                                                                  \
                                                                                                                       \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                                                \
        return GetThisMessageMap();                                                                                    \
    }                                                                                                                  \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                                                           \
        using ThisClass [[maybe_unused]] = theClass;                                                                   \
        using TheBaseClass = baseClass;                                                                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                              \
    { 0, 0, 0, 0, nullptr }                                                                                            \
    }                                                                                                                  \
    ;                                                                                                                  \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};                      \
    return &messageMap;                                                                                                \
    }

#define ON_COMMAND(id, memberFxn)                                                                                      \
    {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {  \
         (static_cast<ThisClass*>(target)->*(memberFxn))();                                                            \
         return 0;                                                                                                     \
     }},
#define ON_CONTROL(code, id, memberFxn)                                                                                \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id),                                \
     [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {                                                               \
         (static_cast<ThisClass*>(target)->*(memberFxn))();                                                            \
         return 0;                                                                                                     \
     }},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_WM_CLOSE()                                                                                                  \
    {WM_CLOSE, 0, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {                                            \
         static_cast<ThisClass*>(target)->OnClose();                                                                   \
         return 0;                                                                                                     \
     }},
#define ON_WM_PAINT()                                                                                                  \
    {WM_PAINT, 0, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {                                            \
         static_cast<ThisClass*>(target)->OnPaint();                                                                   \
         return 0;                                                                                                     \
     }},
#define ON_WM_QUERYDRAGICON()                                                                                          \
    {WM_QUERYDRAGICON, 0, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {                                    \
         return reinterpret_cast<LRESULT>(static_cast<ThisClass*>(target)->OnQueryDragIcon());                         \
     }},

class CObject {
public:
    virtual ~CObject() = default;
};

// The owner of a message map.
class CCmdTarget : public CObject {
public:
    // The first entry of this class's map or its bases' that takes the message; null for none.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, WPARAM wParam) const;

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

class CMenu : public CObject {
public:
    HMENU m_hMenu = nullptr;

    // A menu object of the calling thread for the handle, kept until the thread ends.
    static CMenu* PASCAL FromHandle(HMENU menu);
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    UINT GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
};

// A window: the object of one window handle. A window made or bound by the framework is
// subclassed: its messages go through WindowProc and the message map, and what they leave goes to
// the procedure the window had.
class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to the window, else one kept for the calling thread until it ends.
    static CWnd* PASCAL FromHandle(HWND window);
    static CWnd* PASCAL FromHandlePermanent(HWND window);
    BOOL Attach(HWND window);
    HWND Detach();
    // Binds the window and routes its messages through this object.
    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
    BOOL DrawMenuBar() { return ::DrawMenuBar(m_hWnd); }
    void SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
    int GetWindowText(LPWSTR buffer, int units) const { return ::GetWindowTextW(m_hWnd, buffer, units); }
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    HICON SetIcon(HICON icon, BOOL big) {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    virtual BOOL DestroyWindow();
    // A window of the class (the framework's default one for null) bound to this object from its first
    // message: a class whose procedure is not AfxWndProc is subclassed once made. Create adds
    // WS_CHILD, and the id is the child's. FALSE when the window cannot be made or the object already
    // has one.
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                CCreateContext* context = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menu, LPVOID param = nullptr);
    // Runs DoDataExchange: save moves the controls' values into members, else the other way.
    BOOL UpdateData(BOOL save = TRUE);

    // The message map first, then DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The procedure the window had before it was subclassed, else DefWindowProcW.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual void DoDataExchange(class CDataExchange* exchange);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // After the window's last message; the object may delete itself here.
    virtual void PostNcDestroy() {}
    // The default processing of the message being handled.
    LRESULT Default();

    afx_msg void OnClose() { Default(); }
    afx_msg void OnPaint() { Default(); }
    afx_msg HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }

    WNDPROC m_pfnSuper = nullptr;

    friend LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds the control of that id to the object, once.
void AFXAPI DDX_Control(CDataExchange* exchange, int id, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDHelp(templateId), m_pParentWnd(parent) {}

    // Runs the dialog until EndDialog; its result, or -1 when it could not be made.
    virtual INT_PTR DoModal();
    void EndDialog(int result) { ::EndDialog(m_hWnd, result); }
    virtual BOOL OnInitDialog();

protected:
    // IDOK: UpdateData(TRUE), then the end with IDOK; IDCANCEL: the end with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

    friend INT_PTR CALLBACK AfxDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

INT_PTR CALLBACK AfxDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A frame window: made on the heap, it deletes itself when its window is destroyed.
class CFrameWnd : public CWnd {
public:
    // The menu resource is loaded first; a menu that is not there fails the creation. The context is
    // the creation parameter.
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent = nullptr,
                LPCWSTR menuName = nullptr, DWORD exStyle = 0, CCreateContext* context = nullptr);

protected:
    void PostNcDestroy() override { delete this; }
};

// A frame with a small caption, made as a window of its own (not a child) with its id as menu.
class CMiniFrameWnd : public CFrameWnd {
public:
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent = nullptr,
                UINT id = 0);
};

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
};

class CComboBox : public CWnd {
public:
    int AddString(LPCWSTR text) {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    DWORD_PTR GetItemData(int index) const {
        return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    int SetItemData(int index, DWORD_PTR data) {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
    }
    int SetDroppedWidth(UINT width) { return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, width)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
};

class CEdit : public CWnd {
public:
    void SetSel(int start, int end, BOOL noScroll = FALSE) {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
        if (!noScroll) {
            SendMessage(EM_SCROLLCARET);
        }
    }
};

class CListBox : public CWnd {
public:
    int AddString(LPCWSTR text) {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int SetTopIndex(int index) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(index))); }
    void SetHorizontalExtent(int extent) { SendMessage(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
};

class CStatic : public CWnd {};

class CProgressCtrl : public CWnd {
public:
    void SetRange(short low, short high) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(low, high)); }
    int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};

// A device context; what is drawn on it comes with the drawing library.
class CDC : public CObject {
public:
    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
};

// Painting of one window, from BeginPaint in the constructor to EndPaint in the destructor.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC() override;
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};

// The application: the one object of a class derived from it, made by a static initializer.
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCWSTR appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    // The exit code of the process.
    virtual int ExitInstance() { return m_nExitCode; }
    // The message loop until WM_QUIT, then ExitInstance.
    virtual int Run();

    afx_msg void OnHelp() {}

    LPCWSTR m_pszAppName;
    HINSTANCE m_hInstance = nullptr;
    // The command line without the program: the arguments as Windows passes them.
    LPWSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWDEFAULT;
    CWnd* m_pMainWnd = nullptr;

protected:
    int m_nExitCode = 0;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AFXAPI AfxGetApp();
// Runs the application object: InitInstance, then Run when it returned true; when it returned false,
// ExitInstance at once, whose result is returned. -1 without an application object.
int AFXAPI AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
