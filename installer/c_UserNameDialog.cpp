// c_UserNameDialog: the name that OK takes from the edit.

#include "installer/c_UserNameDialog.h"

#include "installer/InstallerResourceIds.h"
#include "oslayer/windows/WindowState.h"

c_UserNameDialog::c_UserNameDialog(CWnd* parent) : CDialog(IDD_USER_NAME_DIALOG, parent) {}

void c_UserNameDialog::OnOK() {
    m_EnteredName = n_OSLayer::GetWindowText(::GetDlgItem(m_hWnd, IDC_USER_NAME));
    CDialog::OnOK();
}
