// c_InstallerDialog's log upload: the list's lines sent through the downloader, and its answer.

#include "installer/c_InstallerDialog.h"

#include "installer/Deployment.h"
#include "installer/c_UserNameDialog.h"
#include "oslayer/shell/ProgramStart.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/windows/ControlTexts.h"

void c_InstallerDialog::OnSendLog() {
    c_UserNameDialog nameDialog(this);
    if (nameDialog.DoModal() != IDOK) {
        return;
    }
    const int count = m_LogList.GetCount();
    if (count <= 0 || m_p_FileDownloader == nullptr) {
        return;
    }
    c_String message("Log: \n\n");
    for (int line = 0; line < count; ++line) {
        message += n_OSLayer::ListBoxGetItemText(m_LogList.m_hWnd, line);
        message += "\n";
    }
    m_p_FileDownloader->UploadLog(message);
}

void c_InstallerDialog::OnLogSent(const c_String& error) {
    if (!error.IsEmpty()) {
        LogMessage(error);
        return;
    }
    LogMessage("Log has been sent to support.");
    const char* question =
        "This log will *not* be reviewed by a supported engineer unless we have requested the log or you have "
        "informed us you will be sending the log. Press the Yes button to be taken to the Support page if you need "
        "to contact Support about installation problems.";
    if (ShowMessageBox(question, MB_YESNO) == IDYES) {
        OpenURL(GetWebSiteBaseURL() + "SupportBoard.php", c_StringView());
    }
}
