// CDialog: the modal run of a template, OnInitDialog, OK and Cancel, and DDX_Control.

#include <afxwin.h>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) {
        // Every other message reaches the object through the subclassed procedure.
        return FALSE;
    }
    auto* object = reinterpret_cast<CDialog*>(lParam);
    if (!object->SubclassWindow(dialog)) {
        return FALSE;
    }
    return object->OnInitDialog();
}

INT_PTR CDialog::DoModal() {
    const HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDHelp), owner, AfxDlgProc,
                           reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void AFXAPI DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
    if (control.m_hWnd == nullptr) {
        control.SubclassDlgItem(static_cast<UINT>(id), exchange->m_pDlgWnd);
    }
}
