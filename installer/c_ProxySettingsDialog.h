#pragma once
// c_ProxySettingsDialog: the proxy choice on template 133 (none, HTTP or SOCKS 5), which edits the
// application's two records in place. OK writes every box into both records, sets the use flags by
// the choice and emits the HTTP record's change signal; Cancel writes nothing. No input is checked.

#include "installer/c_InstallerApp.h"

#include <afxwin.h>

class c_ProxySettingsDialog : public CDialog {
public:
    enum e_ProxyType { PROXY_TYPE_NONE = 0, PROXY_TYPE_HTTP = 1, PROXY_TYPE_SOCKS5 = 2 };

    explicit c_ProxySettingsDialog(CWnd* parent);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    void OnOK() override;

    afx_msg void OnProxyTypeChanged();

    DECLARE_MESSAGE_MAP()

private:
    void EnableHTTPProxyControls(bool enable);
    void EnableSocksProxyControls(bool enable);
    void EnableControlsForType(DWORD_PTR type);
    DWORD_PTR GetSelectedType() const;
    void FillBoxes();

    c_InstallerApp* m_p_App;
    CComboBox m_ProxyTypeCombo;
    CEdit m_HTTPProxyAddressEdit;
    CEdit m_HTTPProxyHTTPPortEdit;
    CEdit m_HTTPProxyHTTPSPortEdit;
    CEdit m_SocksAddressEdit;
    CEdit m_SocksPortEdit;
    CEdit m_SocksUserNameEdit;
    CEdit m_SocksPasswordEdit;
    CButton m_HTTPProxyGroup;
    CStatic m_HTTPProxyAddressLabel;
    CStatic m_HTTPProxyHTTPPortLabel;
    CStatic m_HTTPProxyHTTPSPortLabel;
    CButton m_SocksGroup;
    CStatic m_SocksAddressLabel;
    CStatic m_SocksPortLabel;
    CStatic m_SocksUserNameLabel;
    CStatic m_SocksPasswordLabel;
};
