#pragma once
// Test helper: the sample dialog, with one control of each kind, whose procedure records its
// commands and the answers of its boxes; for the layer's dialog tests and every back end's.

#include <commctrl.h>
#include <windows.h>

#include <iterator>
#include <mutex>
#include <utility>
#include <vector>

namespace n_SampleDialog {

constexpr WORD SAMPLE_DIALOG = 900;
constexpr int GO_BUTTON = 10;
constexpr int CHECK_BOX = 11;
constexpr int COMBO = 12;
constexpr int EDIT = 13;
constexpr int LIST = 14;
constexpr int PROGRESS = 15;
constexpr int ASK_BUTTON = 16;
constexpr int OPTIONS_GROUP = 17;
constexpr int NOTE_LABEL = 18;

inline const n_Platform::s_DialogItemTemplate SAMPLE_ITEMS[] = {
    {GO_BUTTON, u"Button", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, u"Go", 5, 5, 50, 14},
    {CHECK_BOX, u"Button", BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE, u"Check", 5, 25, 50, 10},
    {COMBO, u"ComboBox", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VISIBLE, u"", 5, 40, 80, 60},
    {EDIT, u"Edit", ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE, u"", 5, 60, 80, 12},
    {LIST, u"ListBox", WS_VISIBLE, u"", 5, 80, 120, 40},
    {PROGRESS, PROGRESS_CLASSW, WS_VISIBLE, u"", 5, 125, 120, 8},
    {ASK_BUTTON, u"Button", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, u"Ask", 60, 5, 50, 14},
    {IDOK, u"Button", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, u"OK", 100, 140, 50, 14},
    {IDCANCEL, u"Button", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, u"Cancel", 155, 140, 50, 14},
    {OPTIONS_GROUP, u"Button", BS_GROUPBOX | WS_VISIBLE, u"Options", 130, 22, 75, 50},
    {NOTE_LABEL, u"Static", SS_LEFT | WS_VISIBLE, u"A note long enough to take two lines.", 136, 36, 64, 30},
};

inline const n_Platform::s_DialogTemplate SAMPLE_TEMPLATE = {
    SAMPLE_DIALOG, WS_POPUP | WS_CAPTION | DS_MODALFRAME,    u"Sample", 210, 160, u"Microsoft Sans Serif", 10, 0,
    SAMPLE_ITEMS,  static_cast<int>(std::size(SAMPLE_ITEMS))};

// What the sample dialog's procedure saw: its commands, in order, and the answers of its boxes.
struct s_Record {
    std::mutex m_Lock;
    std::vector<std::pair<int, int>> m_Commands;
    std::vector<int> m_Answers;

    void AddCommand(int id, int code) {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Commands.emplace_back(id, code);
    }
    std::vector<std::pair<int, int>> GetCommands() {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Commands;
    }
    std::vector<int> GetAnswers() {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Answers;
    }
};

// OK and Cancel end the dialog with their id; Ask opens a Yes/No box and records the answer.
inline INT_PTR CALLBACK SampleProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* record = reinterpret_cast<s_Record*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
        SendDlgItemMessageW(dialog, COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"First"));
        SendDlgItemMessageW(dialog, COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Second"));
        // Changes made by the program: no notification may follow.
        SendDlgItemMessageW(dialog, COMBO, CB_SETCURSEL, 1, 0);
        CheckDlgButton(dialog, CHECK_BOX, BST_CHECKED);
        // The focus on the edit, so that Enter goes to the default button.
        SetFocus(GetDlgItem(dialog, EDIT));
        return FALSE;
    }
    if (message != WM_COMMAND || record == nullptr) {
        return FALSE;
    }
    record->AddCommand(LOWORD(wParam), HIWORD(wParam));
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
    } else if (LOWORD(wParam) == ASK_BUTTON) {
        const int answer = MessageBoxW(dialog, u"Continue?", u"Sample Installer", MB_YESNO | MB_ICONQUESTION);
        std::lock_guard<std::mutex> lock(record->m_Lock);
        record->m_Answers.push_back(answer);
    }
    return TRUE;
}

} // namespace n_SampleDialog
