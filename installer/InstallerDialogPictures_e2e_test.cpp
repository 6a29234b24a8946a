// The installer's dialogs as a display shows them: the real program on the display's UI thread,
// every text present and whole, nothing overlapping, and a picture of each dialog kept in
// gtk-artefacts/ of the test's folder.

#include "installer/InstallerResourceIds.h"
#include "installer/testing/c_InstallerRun.h"
#include "platform/files/PathText.h"
#include "platform/user/gtk/testing/DialogOnScreen.h"
#include "platform/user/gtk/testing/c_GtkTestDisplay.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using n_Platform::c_GtkTestDisplay;

testing::Environment* const g_Display = testing::AddGlobalTestEnvironment(&c_GtkTestDisplay::Get());

typedef std::vector<std::pair<int, std::string>> t_Texts;

const t_Texts INSTALLER_TEXTS = {
    {IDC_READ_LICENSE, "Read License Agreement"},
    {IDC_SEND_LOG, "Send Log to Support"},
    {IDC_INSTALL_PATH_GROUP, "Installation path:"},
    {IDC_BROWSE, "Browse"},
    {IDC_START_MENU_SHORTCUT, "Add Start Menu Shortcut"},
    {IDC_DESKTOP_SHORTCUT, "Add Desktop Shortcut"},
    {IDC_RUN_AFTER_INSTALL, "Run Program after Install Complete"},
    {IDC_VERSION_GROUP, "Version:"},
    {IDC_VERSION_KIND, "Current Version"},
    {IDC_SPECIFIC_VERSION_LABEL, "Specific Version:"},
    {IDC_PROXY_SETTINGS, "Proxy Settings"},
    {IDC_INSTALL, "Install"},
    {IDC_CLOSE, "Close"},
};

const t_Texts PROXY_TEXTS = {
    {IDC_HTTP_PROXY_GROUP, "HTTP Proxy Settings"},
    {IDC_HTTP_PROXY_ADDRESS_LABEL, "Address:"},
    {IDC_HTTP_PROXY_HTTP_PORT_LABEL, "HTTP Port:"},
    {IDC_HTTP_PROXY_HTTPS_PORT_LABEL, "HTTPS Port:"},
    {IDC_SOCKS_GROUP, "SOCKS Proxy Settings"},
    {IDC_SOCKS_ADDRESS_LABEL, "Address:"},
    {IDC_SOCKS_PORT_LABEL, "Port:"},
    {IDC_SOCKS_USER_NAME_LABEL, "Username:"},
    {IDC_SOCKS_PASSWORD_LABEL, "Password"},
    {IDOK, "OK"},
    {IDCANCEL, "Cancel"},
};

class InstallerDialogPictures : public testing::Test {
protected:
    void SetUp() override {
        if (!Display().GetProblem().empty()) {
            GTEST_SKIP() << "No display for the GTK tests: " << Display().GetProblem();
        }
        ASSERT_TRUE(m_Run.Start());
    }

    static const c_GtkTestDisplay& Display() { return c_GtkTestDisplay::Get(); }
    static bool PostToDisplay(std::function<void()> work) { return Display().Post(std::move(work)); }

    // The dialog's picture is taken and its layout clean; each text is in the layer and on its widget.
    void ExpectShownCleanly(HWND dialog, WORD templateId, const t_Texts& texts) {
        const n_Platform::s_DialogPicture picture = n_Platform::TakeDialogPicture(Display(), dialog, templateId);
        ASSERT_TRUE(picture.m_Shown);
        EXPECT_EQ(picture.m_Faults, std::vector<std::string>());
        EXPECT_FALSE(picture.m_Path.empty());
        for (const auto& [id, text] : texts) {
            SCOPED_TRACE(text);
            EXPECT_EQ(n_Platform::ToUtf8(m_Run.Driver().GetText(dialog, id)), text);
            std::string shown;
            Display().Run([&, dialog, id] { shown = n_Platform::GetShownText(GetDlgItem(dialog, id)); });
            EXPECT_EQ(shown, text);
        }
    }

    c_InstallerRun m_Run{"Downloads", PostToDisplay};
};

TEST_F(InstallerDialogPictures, TheInstallerDialog) {
    ExpectShownCleanly(m_Run.Dialog(), IDD_INSTALLER_DIALOG, INSTALLER_TEXTS);
}

TEST_F(InstallerDialogPictures, TheProxySettingsDialog) {
    ASSERT_TRUE(m_Run.Driver().Click(m_Run.Dialog(), IDC_PROXY_SETTINGS));
    const HWND proxy = m_Run.Driver().WaitForDialog(IDD_PROXY_SETTINGS_DIALOG);
    ASSERT_NE(proxy, nullptr);
    ExpectShownCleanly(proxy, IDD_PROXY_SETTINGS_DIALOG, PROXY_TEXTS);
    EXPECT_TRUE(m_Run.Driver().PressKey(proxy, VK_ESCAPE));
    EXPECT_TRUE(m_Run.Driver().WaitUntilDialogEnds(proxy));
}

} // namespace
