// Tests of c_ProxySettingsDialog: the records it shows, and what OK and Cancel write.

#include "installer/c_ProxySettingsDialog.h"

#include "installer/InstallerResourceIds.h"
#include "installer/InstallerResources.h"
#include "installer/c_InstallerApp.h"
#include "platform/files/PathText.h"
#include "platform/testing/PumpUntil.h"
#include "platform/user/testing/c_DialogDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

using n_Platform::WaitUntil;

const int HTTP_GROUP[] = {IDC_HTTP_PROXY_ADDRESS,         IDC_HTTP_PROXY_HTTP_PORT,     IDC_HTTP_PROXY_HTTPS_PORT,
                          IDC_HTTP_PROXY_GROUP,           IDC_HTTP_PROXY_ADDRESS_LABEL, IDC_HTTP_PROXY_HTTP_PORT_LABEL,
                          IDC_HTTP_PROXY_HTTPS_PORT_LABEL};
const int SOCKS_GROUP[] = {
    IDC_SOCKS_ADDRESS,       IDC_SOCKS_PORT,       IDC_SOCKS_USER_NAME,       IDC_SOCKS_PASSWORD,      IDC_SOCKS_GROUP,
    IDC_SOCKS_ADDRESS_LABEL, IDC_SOCKS_PORT_LABEL, IDC_SOCKS_USER_NAME_LABEL, IDC_SOCKS_PASSWORD_LABEL};

class c_SignalCounter : public c_SlotHolder {
public:
    void OnSignal(c_SignalBase*) override { ++m_Count; }
    std::atomic<int> m_Count{0};
};

class ProxySettingsDialog : public testing::Test {
protected:
    ProxySettingsDialog() {
        RegisterInstallerResources();
        c_HTTPProxySettings& http = m_App.GetHTTPProxySettings();
        http.m_ProxyAddress = "http.proxy";
        http.m_HTTPPort = 8080;
        http.m_HTTPSPort = 8443;
        http.m_Username = "keep";
        c_Socks5ConnectionSettings& socks = m_App.GetSocks5ConnectionSettings();
        socks.m_Host = "socks.proxy";
        socks.m_Port = 1080;
        socks.m_UserName = "user";
        socks.m_Password = "secret";
        ConnectSignal(&http.m_ChangedSignal, &m_Signals);
    }
    ~ProxySettingsDialog() override {
        if (m_Window != nullptr && IsWindow(m_Window)) {
            m_Driver.PressKey(m_Window, VK_ESCAPE);
        }
        if (m_Thread.joinable()) {
            m_Thread.join();
        }
    }

    bool Open() {
        m_Thread = std::thread([this] {
            c_ProxySettingsDialog dialog(nullptr);
            m_Result = static_cast<int>(dialog.DoModal());
        });
        m_Window = m_Driver.WaitForDialog(IDD_PROXY_SETTINGS_DIALOG);
        return m_Window != nullptr;
    }
    int Finish(WPARAM key) {
        EXPECT_TRUE(m_Driver.PressKey(m_Window, key));
        EXPECT_TRUE(m_Driver.WaitUntilDialogEnds(m_Window));
        m_Thread.join();
        return m_Result;
    }
    std::string Text(int id) { return n_Platform::ToUtf8(m_Driver.GetText(m_Window, id)); }
    void ExpectGroups(bool http, bool socks) {
        for (int id : HTTP_GROUP) {
            EXPECT_EQ(m_Driver.IsEnabled(m_Window, id), http) << id;
        }
        for (int id : SOCKS_GROUP) {
            EXPECT_EQ(m_Driver.IsEnabled(m_Window, id), socks) << id;
        }
    }

    n_Platform::c_DialogDriver m_Driver;
    c_InstallerApp m_App;
    c_SignalCounter m_Signals;
    std::thread m_Thread;
    std::atomic<int> m_Result{-2};
    HWND m_Window = nullptr;
};

TEST_F(ProxySettingsDialog, ShowsTheRecords) {
    ASSERT_TRUE(Open());
    std::u16string title(64, u'\0');
    title.resize(static_cast<std::size_t>(GetWindowTextW(m_Window, title.data(), 64)));
    EXPECT_EQ(title, u"Proxy Settings");
    EXPECT_EQ(m_Driver.GetSelection(m_Window, IDC_PROXY_TYPE), 0);
    ExpectGroups(false, false);
    EXPECT_EQ(Text(IDC_HTTP_PROXY_ADDRESS), "http.proxy");
    EXPECT_EQ(Text(IDC_HTTP_PROXY_HTTP_PORT), "8080");
    EXPECT_EQ(Text(IDC_HTTP_PROXY_HTTPS_PORT), "8443");
    EXPECT_EQ(Text(IDC_SOCKS_ADDRESS), "socks.proxy");
    EXPECT_EQ(Text(IDC_SOCKS_PORT), "1080");
    EXPECT_EQ(Text(IDC_SOCKS_USER_NAME), "user");
    EXPECT_EQ(Text(IDC_SOCKS_PASSWORD), "secret");
}

TEST_F(ProxySettingsDialog, TheTypeEnablesItsGroup) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(m_Driver.SelectComboIndex(m_Window, IDC_PROXY_TYPE, 2));
    ASSERT_TRUE(WaitUntil([&] { return m_Driver.IsEnabled(m_Window, IDC_SOCKS_PORT); }));
    ExpectGroups(false, true);
    ASSERT_TRUE(m_Driver.SelectComboIndex(m_Window, IDC_PROXY_TYPE, 1));
    ASSERT_TRUE(WaitUntil([&] { return m_Driver.IsEnabled(m_Window, IDC_HTTP_PROXY_ADDRESS); }));
    ExpectGroups(true, false);
    ASSERT_TRUE(m_Driver.SelectComboIndex(m_Window, IDC_PROXY_TYPE, 0));
    ASSERT_TRUE(WaitUntil([&] { return !m_Driver.IsEnabled(m_Window, IDC_HTTP_PROXY_ADDRESS); }));
    ExpectGroups(false, false);
}

TEST_F(ProxySettingsDialog, OkWritesEveryBoxIntoBothRecordsAndSignals) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(m_Driver.SelectComboIndex(m_Window, IDC_PROXY_TYPE, 1));
    ASSERT_TRUE(m_Driver.SetText(m_Window, IDC_HTTP_PROXY_ADDRESS, u"new.http"));
    ASSERT_TRUE(m_Driver.SetText(m_Window, IDC_HTTP_PROXY_HTTP_PORT, u"70000"));
    ASSERT_TRUE(m_Driver.SetText(m_Window, IDC_HTTP_PROXY_HTTPS_PORT, u"abc"));
    ASSERT_TRUE(m_Driver.SelectComboIndex(m_Window, IDC_PROXY_TYPE, 2));
    ASSERT_TRUE(m_Driver.SetText(m_Window, IDC_SOCKS_ADDRESS, u"new.socks"));
    ASSERT_TRUE(m_Driver.SetText(m_Window, IDC_SOCKS_PORT, u"1081"));
    ASSERT_TRUE(m_Driver.SetText(m_Window, IDC_SOCKS_USER_NAME, u"me"));
    ASSERT_TRUE(m_Driver.SetText(m_Window, IDC_SOCKS_PASSWORD, u"pw"));
    EXPECT_EQ(Finish(VK_RETURN), IDOK);
    const c_HTTPProxySettings& http = m_App.GetHTTPProxySettings();
    const c_Socks5ConnectionSettings& socks = m_App.GetSocks5ConnectionSettings();
    EXPECT_FALSE(http.m_UseHTTPProxy);
    EXPECT_TRUE(socks.m_UseSocks5);
    EXPECT_EQ(http.m_ProxyAddress, c_String("new.http"));
    EXPECT_EQ(http.m_HTTPPort, 70000 & 0xFFFF);
    EXPECT_EQ(http.m_HTTPSPort, 0);
    EXPECT_EQ(http.m_Username, c_String("keep"));
    EXPECT_EQ(socks.m_Host, c_String("new.socks"));
    EXPECT_EQ(socks.m_Port, 1081);
    EXPECT_EQ(socks.m_UserName, c_String("me"));
    EXPECT_EQ(socks.m_Password, c_String("pw"));
    EXPECT_EQ(m_Signals.m_Count, 1);
}

TEST_F(ProxySettingsDialog, WithBothInUseHTTPWinsAndOkClearsSocks) {
    m_App.GetHTTPProxySettings().m_UseHTTPProxy = true;
    m_App.GetSocks5ConnectionSettings().m_UseSocks5 = true;
    ASSERT_TRUE(Open());
    EXPECT_EQ(m_Driver.GetSelection(m_Window, IDC_PROXY_TYPE), 1);
    ExpectGroups(true, false);
    EXPECT_EQ(Finish(VK_RETURN), IDOK);
    EXPECT_TRUE(m_App.GetHTTPProxySettings().m_UseHTTPProxy);
    EXPECT_FALSE(m_App.GetSocks5ConnectionSettings().m_UseSocks5);
}

TEST_F(ProxySettingsDialog, SocksAloneOpensOnSocks) {
    m_App.GetSocks5ConnectionSettings().m_UseSocks5 = true;
    ASSERT_TRUE(Open());
    EXPECT_EQ(m_Driver.GetSelection(m_Window, IDC_PROXY_TYPE), 2);
    ExpectGroups(false, true);
}

TEST_F(ProxySettingsDialog, CancelWritesNothing) {
    m_App.GetHTTPProxySettings().m_UseHTTPProxy = true;
    ASSERT_TRUE(Open());
    ASSERT_TRUE(m_Driver.SetText(m_Window, IDC_HTTP_PROXY_ADDRESS, u"changed"));
    ASSERT_TRUE(m_Driver.SelectComboIndex(m_Window, IDC_PROXY_TYPE, 2));
    ASSERT_TRUE(m_Driver.SetText(m_Window, IDC_SOCKS_PORT, u"9"));
    EXPECT_EQ(Finish(VK_ESCAPE), IDCANCEL);
    EXPECT_TRUE(m_App.GetHTTPProxySettings().m_UseHTTPProxy);
    EXPECT_EQ(m_App.GetHTTPProxySettings().m_ProxyAddress, c_String("http.proxy"));
    EXPECT_EQ(m_App.GetSocks5ConnectionSettings().m_Port, 1080);
    EXPECT_EQ(m_Signals.m_Count, 0);
}

} // namespace
