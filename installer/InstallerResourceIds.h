#pragma once
// InstallerResourceIds: the ids of the installer's dialog templates, menu, icon and controls.

#include <windows.h>

constexpr WORD IDD_INSTALLER_DIALOG = 102;
constexpr WORD IDR_MAINFRAME = 131;
constexpr WORD IDD_USER_NAME_DIALOG = 132;
constexpr WORD IDD_PROXY_SETTINGS_DIALOG = 133;
constexpr WORD IDR_INSTALLER_MENU = 134;

// Installer dialog (102).
constexpr int IDC_START_MENU_SHORTCUT = 1002;
constexpr int IDC_DESKTOP_SHORTCUT = 1003;
constexpr int IDC_INSTALL_PATH = 1004;
constexpr int IDC_BROWSE = 1005;
constexpr int IDC_VERSION_KIND = 1007;
constexpr int IDC_SPECIFIC_VERSION = 1008;
constexpr int IDC_PROGRESS = 1010;
constexpr int IDC_VERSION_GROUP = 1013;
constexpr int IDC_INSTALL = 1020;
constexpr int IDC_CLOSE = 1021;
constexpr int IDC_READ_LICENSE = 1022;
constexpr int IDC_SPECIFIC_VERSION_LABEL = 1023;
constexpr int IDC_INSTALL_PATH_GROUP = 1027;
constexpr int IDC_LOG_LIST = 1028;
constexpr int IDC_RUN_AFTER_INSTALL = 1029;
constexpr int IDC_SEND_LOG = 1030;
constexpr int IDC_PROXY_SETTINGS = 1061;

// Name dialog (132).
constexpr int IDC_USER_NAME = 1043;

// Proxy settings dialog (133).
constexpr int IDC_PROXY_TYPE = 1044;
constexpr int IDC_HTTP_PROXY_ADDRESS = 1045;
constexpr int IDC_HTTP_PROXY_HTTP_PORT = 1046;
constexpr int IDC_HTTP_PROXY_HTTPS_PORT = 1047;
constexpr int IDC_SOCKS_ADDRESS = 1048;
constexpr int IDC_SOCKS_PORT = 1049;
constexpr int IDC_SOCKS_USER_NAME = 1050;
constexpr int IDC_SOCKS_PASSWORD = 1051;
constexpr int IDC_HTTP_PROXY_GROUP = 1052;
constexpr int IDC_HTTP_PROXY_ADDRESS_LABEL = 1053;
constexpr int IDC_HTTP_PROXY_HTTP_PORT_LABEL = 1054;
constexpr int IDC_HTTP_PROXY_HTTPS_PORT_LABEL = 1055;
constexpr int IDC_SOCKS_GROUP = 1056;
constexpr int IDC_SOCKS_ADDRESS_LABEL = 1057;
constexpr int IDC_SOCKS_PORT_LABEL = 1058;
constexpr int IDC_SOCKS_USER_NAME_LABEL = 1059;
constexpr int IDC_SOCKS_PASSWORD_LABEL = 1060;

// Menu 134: the "Commands" popup.
constexpr UINT ID_UPLOAD_INSTALLER_FILES = 32771;
constexpr UINT ID_UPLOAD_INSTALLER_FILES_INCLUDING_COMMON = 32772;
constexpr UINT ID_UPLOAD_SERVER_VERSION_FILES = 32773;
