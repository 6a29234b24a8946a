#pragma once
// Test helper: a modeless dialog of the test's own thread, made from a small template with one
// control of each kind, among them the name edit (1043) and the common controls; destroyed with the
// helper.

#include <windows.h>

#include <iterator>

class c_SampleControlsDialog {
public:
    static constexpr WORD TEMPLATE_ID = 950;
    static constexpr int CHECK_BOX = 11;
    static constexpr int COMBO = 12;
    static constexpr int EDIT = 13;
    static constexpr int LIST = 14;
    static constexpr int NAME_EDIT = 1043;
    static constexpr int LABEL = 15;
    static constexpr int LIST_VIEW = 16;
    static constexpr int TAB = 17;
    static constexpr int TREE = 18;

    c_SampleControlsDialog() {
        static const n_Platform::s_DialogItemTemplate items[] = {
            {CHECK_BOX, u"Button", BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE, u"Check", 5, 5, 50, 10},
            {COMBO, u"ComboBox", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VISIBLE, u"", 5, 20, 80, 60},
            {EDIT, u"Edit", ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE, u"", 5, 40, 80, 12},
            {LIST, u"ListBox", WS_VISIBLE, u"", 5, 60, 120, 40},
            {NAME_EDIT, u"Edit", ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE, u"", 5, 105, 80, 12},
            {LABEL, u"Static", SS_LEFT | WS_VISIBLE, u"Name:", 90, 105, 40, 12},
            {LIST_VIEW, u"SysListView32", WS_VISIBLE, u"", 130, 5, 60, 40},
            {TAB, u"SysTabControl32", WS_VISIBLE, u"", 130, 50, 60, 30},
            {TREE, u"SysTreeView32", WS_VISIBLE, u"", 130, 85, 60, 40},
        };
        static const n_Platform::s_DialogTemplate dialogTemplate = {TEMPLATE_ID, WS_POPUP | WS_CAPTION,
                                                                    u"Controls", 200,
                                                                    130,         u"Microsoft Sans Serif",
                                                                    10,          0,
                                                                    items,       static_cast<int>(std::size(items))};
        n_Platform::RegisterDialogTemplate(dialogTemplate);
        m_Dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TEMPLATE_ID), nullptr, &Procedure, 0);
    }
    ~c_SampleControlsDialog() { DestroyWindow(m_Dialog); }
    c_SampleControlsDialog(const c_SampleControlsDialog&) = delete;
    c_SampleControlsDialog& operator=(const c_SampleControlsDialog&) = delete;

    HWND GetDialog() const { return m_Dialog; }
    HWND GetItem(int id) const { return GetDlgItem(m_Dialog, id); }

private:
    static INT_PTR CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

    HWND m_Dialog = nullptr;
};
