// c_ProxySettingsDialog: the proxy choice and its boxes.

#include "installer/c_ProxySettingsDialog.h"

#include "installer/InstallerResourceIds.h"
#include "oslayer/windows/ControlStates.h"
#include "oslayer/windows/ControlTexts.h"
#include "oslayer/windows/ControlValues.h"
#include "oslayer/windows/WindowState.h"

BEGIN_MESSAGE_MAP(c_ProxySettingsDialog, CDialog)
ON_CBN_SELCHANGE(IDC_PROXY_TYPE, &c_ProxySettingsDialog::OnProxyTypeChanged)
END_MESSAGE_MAP()

c_ProxySettingsDialog::c_ProxySettingsDialog(CWnd* parent)
    : CDialog(IDD_PROXY_SETTINGS_DIALOG, parent), m_p_App(c_InstallerApp::GetInstance()) {}

void c_ProxySettingsDialog::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_PROXY_TYPE, m_ProxyTypeCombo);
    DDX_Control(exchange, IDC_HTTP_PROXY_ADDRESS, m_HTTPProxyAddressEdit);
    DDX_Control(exchange, IDC_HTTP_PROXY_HTTP_PORT, m_HTTPProxyHTTPPortEdit);
    DDX_Control(exchange, IDC_HTTP_PROXY_HTTPS_PORT, m_HTTPProxyHTTPSPortEdit);
    DDX_Control(exchange, IDC_SOCKS_ADDRESS, m_SocksAddressEdit);
    DDX_Control(exchange, IDC_SOCKS_PORT, m_SocksPortEdit);
    DDX_Control(exchange, IDC_SOCKS_USER_NAME, m_SocksUserNameEdit);
    DDX_Control(exchange, IDC_SOCKS_PASSWORD, m_SocksPasswordEdit);
    DDX_Control(exchange, IDC_HTTP_PROXY_GROUP, m_HTTPProxyGroup);
    DDX_Control(exchange, IDC_HTTP_PROXY_ADDRESS_LABEL, m_HTTPProxyAddressLabel);
    DDX_Control(exchange, IDC_HTTP_PROXY_HTTP_PORT_LABEL, m_HTTPProxyHTTPPortLabel);
    DDX_Control(exchange, IDC_HTTP_PROXY_HTTPS_PORT_LABEL, m_HTTPProxyHTTPSPortLabel);
    DDX_Control(exchange, IDC_SOCKS_GROUP, m_SocksGroup);
    DDX_Control(exchange, IDC_SOCKS_ADDRESS_LABEL, m_SocksAddressLabel);
    DDX_Control(exchange, IDC_SOCKS_PORT_LABEL, m_SocksPortLabel);
    DDX_Control(exchange, IDC_SOCKS_USER_NAME_LABEL, m_SocksUserNameLabel);
    DDX_Control(exchange, IDC_SOCKS_PASSWORD_LABEL, m_SocksPasswordLabel);
}

BOOL c_ProxySettingsDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    n_OSLayer::SetWindowText(m_hWnd, "Proxy Settings");
    const char* const typeTexts[] = {"Do Not Use Proxy", "Use HTTP Proxy", "Use SOCKS 5 Proxy"};
    for (DWORD_PTR type = PROXY_TYPE_NONE; type <= PROXY_TYPE_SOCKS5; ++type) {
        const int index = static_cast<int>(n_OSLayer::ComboBoxAddString(m_ProxyTypeCombo.m_hWnd, typeTexts[type]));
        m_ProxyTypeCombo.SetItemData(index, type);
    }
    // When both records are in use, HTTP wins.
    DWORD_PTR type = PROXY_TYPE_NONE;
    if (m_p_App->GetHTTPProxySettings().m_UseHTTPProxy) {
        type = PROXY_TYPE_HTTP;
    } else if (m_p_App->GetSocks5ConnectionSettings().m_UseSocks5) {
        type = PROXY_TYPE_SOCKS5;
    }
    m_ProxyTypeCombo.SetCurSel(static_cast<int>(type));
    EnableControlsForType(type);
    FillBoxes();
    return TRUE;
}

void c_ProxySettingsDialog::FillBoxes() {
    const c_HTTPProxySettings& http = m_p_App->GetHTTPProxySettings();
    const c_Socks5ConnectionSettings& socks = m_p_App->GetSocks5ConnectionSettings();
    n_OSLayer::SetWindowText(m_HTTPProxyAddressEdit.m_hWnd, http.m_ProxyAddress);
    SetControlInt(&m_HTTPProxyHTTPPortEdit, http.m_HTTPPort);
    SetControlInt(&m_HTTPProxyHTTPSPortEdit, http.m_HTTPSPort);
    n_OSLayer::SetWindowText(m_SocksAddressEdit.m_hWnd, socks.m_Host);
    SetControlInt(&m_SocksPortEdit, socks.m_Port);
    n_OSLayer::SetWindowText(m_SocksUserNameEdit.m_hWnd, socks.m_UserName);
    n_OSLayer::SetWindowText(m_SocksPasswordEdit.m_hWnd, socks.m_Password);
}

DWORD_PTR c_ProxySettingsDialog::GetSelectedType() const {
    const int selection = m_ProxyTypeCombo.GetCurSel();
    return selection < 0 ? DWORD_PTR{PROXY_TYPE_NONE} : m_ProxyTypeCombo.GetItemData(selection);
}

void c_ProxySettingsDialog::OnProxyTypeChanged() {
    EnableControlsForType(GetSelectedType());
}

void c_ProxySettingsDialog::EnableControlsForType(DWORD_PTR type) {
    EnableHTTPProxyControls(type == PROXY_TYPE_HTTP);
    EnableSocksProxyControls(type == PROXY_TYPE_SOCKS5);
}

void c_ProxySettingsDialog::EnableHTTPProxyControls(bool enable) {
    for (CWnd* control : {static_cast<CWnd*>(&m_HTTPProxyAddressEdit), static_cast<CWnd*>(&m_HTTPProxyHTTPPortEdit),
                          static_cast<CWnd*>(&m_HTTPProxyHTTPSPortEdit), static_cast<CWnd*>(&m_HTTPProxyGroup),
                          static_cast<CWnd*>(&m_HTTPProxyAddressLabel), static_cast<CWnd*>(&m_HTTPProxyHTTPPortLabel),
                          static_cast<CWnd*>(&m_HTTPProxyHTTPSPortLabel)}) {
        EnableControl(control, enable);
    }
}

void c_ProxySettingsDialog::EnableSocksProxyControls(bool enable) {
    for (CWnd* control : {static_cast<CWnd*>(&m_SocksAddressEdit), static_cast<CWnd*>(&m_SocksPortEdit),
                          static_cast<CWnd*>(&m_SocksUserNameEdit), static_cast<CWnd*>(&m_SocksPasswordEdit),
                          static_cast<CWnd*>(&m_SocksGroup), static_cast<CWnd*>(&m_SocksAddressLabel),
                          static_cast<CWnd*>(&m_SocksPortLabel), static_cast<CWnd*>(&m_SocksUserNameLabel),
                          static_cast<CWnd*>(&m_SocksPasswordLabel)}) {
        EnableControl(control, enable);
    }
}

void c_ProxySettingsDialog::OnOK() {
    const DWORD_PTR type = GetSelectedType();
    c_HTTPProxySettings& http = m_p_App->GetHTTPProxySettings();
    c_Socks5ConnectionSettings& socks = m_p_App->GetSocks5ConnectionSettings();
    http.m_UseHTTPProxy = type == PROXY_TYPE_HTTP;
    socks.m_UseSocks5 = type == PROXY_TYPE_SOCKS5;
    // Every box is kept, whatever the choice; the HTTP ports keep their low 16 bits.
    http.m_ProxyAddress = n_OSLayer::GetWindowText(m_HTTPProxyAddressEdit.m_hWnd);
    http.m_HTTPPort = static_cast<std::uint16_t>(GetControlInt(&m_HTTPProxyHTTPPortEdit));
    http.m_HTTPSPort = static_cast<std::uint16_t>(GetControlInt(&m_HTTPProxyHTTPSPortEdit));
    socks.m_Host = n_OSLayer::GetWindowText(m_SocksAddressEdit.m_hWnd);
    socks.m_Port = GetControlInt(&m_SocksPortEdit);
    socks.m_UserName = n_OSLayer::GetWindowText(m_SocksUserNameEdit.m_hWnd);
    socks.m_Password = n_OSLayer::GetWindowText(m_SocksPasswordEdit.m_hWnd);
    http.m_ChangedSignal.Emit();
    CDialog::OnOK();
}
