// InstallerResources: the resource tables.

#include "installer/InstallerResources.h"

#include "installer/InstallerIcon.h"
#include "installer/InstallerResourceIds.h"

#include <commctrl.h>

#include <iterator>

namespace {

using n_Platform::s_DialogItemTemplate;
using n_Platform::s_DialogTemplate;
using n_Platform::s_MenuItemTemplate;
using n_Platform::s_MenuTemplate;

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr DWORD PUSH = CHILD | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD CHECK = CHILD | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD GROUP = CHILD | BS_GROUPBOX;
constexpr DWORD EDIT = CHILD | WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD LABEL = CHILD | SS_LEFT;
constexpr DWORD DROP_LIST = CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD DIALOG = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;

const s_DialogItemTemplate INSTALLER_ITEMS[] = {
    {IDC_READ_LICENSE, u"Button", PUSH, u"Read License Agreement", 7, 7, 100, 14},
    {IDC_SEND_LOG, u"Button", PUSH, u"Send Log", 169, 7, 100, 14},
    {IDC_INSTALL_PATH_GROUP, u"Button", GROUP, u"Installation path:", 7, 26, 262, 32},
    {IDC_INSTALL_PATH, u"Edit", EDIT, u"", 14, 38, 196, 14},
    {IDC_BROWSE, u"Button", PUSH, u"Browse", 214, 38, 48, 14},
    {IDC_START_MENU_SHORTCUT, u"Button", CHECK, u"Add Start Menu Shortcut", 7, 63, 150, 10},
    {IDC_DESKTOP_SHORTCUT, u"Button", CHECK, u"Add Desktop Shortcut", 7, 76, 150, 10},
    {IDC_RUN_AFTER_INSTALL, u"Button", CHECK, u"Run Program after Install Complete", 7, 89, 150, 10},
    {IDC_VERSION_GROUP, u"Button", GROUP, u"Version:", 7, 103, 262, 32},
    {IDC_VERSION_KIND, u"ComboBox", DROP_LIST, u"", 14, 115, 100, 14},
    {IDC_SPECIFIC_VERSION_LABEL, u"Static", LABEL, u"Specific Version:", 122, 117, 62, 10},
    {IDC_SPECIFIC_VERSION, u"Edit", EDIT, u"", 188, 115, 74, 14},
    {IDC_PROXY_SETTINGS, u"Button", PUSH, u"Proxy Settings", 7, 140, 80, 14},
    {IDC_LOG_LIST, u"ListBox", CHILD | WS_VSCROLL | WS_HSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT, u"", 7, 159, 262,
     60},
    {IDC_PROGRESS, PROGRESS_CLASSW, CHILD | WS_BORDER, u"", 7, 223, 262, 10},
    {IDC_INSTALL, u"Button", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, u"Install", 156, 238, 55, 14},
    {IDC_CLOSE, u"Button", PUSH, u"Close", 214, 238, 55, 14},
};

const s_DialogItemTemplate USER_NAME_ITEMS[] = {
    {IDC_USER_NAME, u"Edit", EDIT, u"", 7, 7, 206, 14},
    {IDOK, u"Button", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, u"OK", 85, 27, 50, 14},
};

const s_DialogItemTemplate PROXY_ITEMS[] = {
    {-1, u"Static", LABEL, u"Proxy Type:", 7, 9, 42, 10},
    {IDC_PROXY_TYPE, u"ComboBox", DROP_LIST, u"", 52, 7, 100, 14},
    {IDC_HTTP_PROXY_ADDRESS, u"Edit", EDIT, u"", 52, 38, 66, 14},
    {IDC_HTTP_PROXY_HTTP_PORT, u"Edit", EDIT, u"", 52, 55, 66, 14},
    {IDC_HTTP_PROXY_HTTPS_PORT, u"Edit", EDIT, u"", 52, 72, 66, 14},
    {IDC_SOCKS_ADDRESS, u"Edit", EDIT, u"", 176, 38, 78, 14},
    {IDC_SOCKS_PORT, u"Edit", EDIT, u"", 176, 55, 78, 14},
    {IDC_SOCKS_USER_NAME, u"Edit", EDIT, u"", 176, 72, 78, 14},
    {IDC_SOCKS_PASSWORD, u"Edit", EDIT, u"", 176, 89, 78, 14},
    {IDC_HTTP_PROXY_GROUP, u"Button", GROUP, u"HTTP Proxy Settings", 7, 26, 117, 66},
    {IDC_HTTP_PROXY_ADDRESS_LABEL, u"Static", LABEL, u"Address:", 12, 40, 38, 10},
    {IDC_HTTP_PROXY_HTTP_PORT_LABEL, u"Static", LABEL, u"HTTP Port:", 12, 57, 38, 10},
    {IDC_HTTP_PROXY_HTTPS_PORT_LABEL, u"Static", LABEL, u"HTTPS Port:", 12, 74, 38, 10},
    {IDC_SOCKS_GROUP, u"Button", GROUP, u"SOCKS Proxy Settings", 128, 26, 128, 83},
    {IDC_SOCKS_ADDRESS_LABEL, u"Static", LABEL, u"Address:", 133, 40, 40, 10},
    {IDC_SOCKS_PORT_LABEL, u"Static", LABEL, u"Port:", 133, 57, 40, 10},
    {IDC_SOCKS_USER_NAME_LABEL, u"Static", LABEL, u"Username:", 133, 74, 40, 10},
    {IDC_SOCKS_PASSWORD_LABEL, u"Static", LABEL, u"Password", 133, 91, 40, 10},
    {IDOK, u"Button", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, u"OK", 153, 7, 50, 14},
    {IDCANCEL, u"Button", PUSH, u"Cancel", 206, 7, 50, 14},
};

const s_DialogTemplate INSTALLER_DIALOG = {IDD_INSTALLER_DIALOG,
                                           DIALOG | WS_MINIMIZEBOX,
                                           u"",
                                           276,
                                           257,
                                           u"Microsoft Sans Serif",
                                           10,
                                           IDR_INSTALLER_MENU,
                                           INSTALLER_ITEMS,
                                           static_cast<int>(std::size(INSTALLER_ITEMS))};

const s_DialogTemplate USER_NAME_DIALOG = {IDD_USER_NAME_DIALOG,
                                           DIALOG,
                                           u"Enter Your Name or Email Address",
                                           220,
                                           47,
                                           u"Microsoft Sans Serif",
                                           10,
                                           0,
                                           USER_NAME_ITEMS,
                                           static_cast<int>(std::size(USER_NAME_ITEMS))};

const s_DialogTemplate PROXY_SETTINGS_DIALOG = {
    IDD_PROXY_SETTINGS_DIALOG, DIALOG, u"Dialog", 261,         112,
    u"Microsoft Sans Serif",   10,     0,         PROXY_ITEMS, static_cast<int>(std::size(PROXY_ITEMS))};

const s_MenuItemTemplate COMMAND_ITEMS[] = {
    {ID_UPLOAD_INSTALLER_FILES, u"Upload Installer Files", nullptr, 0},
    {ID_UPLOAD_INSTALLER_FILES_INCLUDING_COMMON, u"Upload Installer Files Including Common", nullptr, 0},
    {ID_UPLOAD_SERVER_VERSION_FILES, u"Upload Server Version Files", nullptr, 0},
};

const s_MenuItemTemplate MENU_BAR[] = {
    {0, u"Commands", COMMAND_ITEMS, static_cast<int>(std::size(COMMAND_ITEMS))},
};

const s_MenuTemplate INSTALLER_MENU = {IDR_INSTALLER_MENU, MENU_BAR, static_cast<int>(std::size(MENU_BAR))};

} // namespace

void RegisterInstallerResources() {
    n_Platform::RegisterDialogTemplate(INSTALLER_DIALOG);
    n_Platform::RegisterDialogTemplate(USER_NAME_DIALOG);
    n_Platform::RegisterDialogTemplate(PROXY_SETTINGS_DIALOG);
    n_Platform::RegisterMenuTemplate(INSTALLER_MENU);
    n_Platform::RegisterIconTemplate(INSTALLER_ICON);
}
