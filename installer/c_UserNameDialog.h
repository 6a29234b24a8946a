#pragma once
// c_UserNameDialog: asks for a name or email address (template 132) before the log is sent.

#include "strings/c_String.h"

#include <afxwin.h>

class c_UserNameDialog : public CDialog {
public:
    explicit c_UserNameDialog(CWnd* parent);

    c_String GetEnteredName() const { return m_EnteredName; }

protected:
    // Takes the name edit's text, then ends the dialog.
    void OnOK() override;

private:
    c_String m_EnteredName;
};
