// c_DialogDriver: user actions posted to the UI thread, reads sent to the controls.

#include "platform/user/testing/c_DialogDriver.h"

#include "platform/files/PathText.h"
#include "platform/testing/PumpUntil.h"
#include "platform/user/Dialogs.h"
#include "platform/user/FolderPickerRequest.h"
#include "platform/user/MessageBoxes.h"
#include "platform/user/UserActions.h"
#include "platform/user/UserInput.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <unistd.h>

namespace n_Platform {

c_DialogDriver::c_DialogDriver(bool keepBackend)
    : m_KeepBackend(keepBackend), m_p_Previous(keepBackend ? nullptr : SetUserBackend(this)) {}

c_DialogDriver::~c_DialogDriver() {
    if (!m_KeepBackend) {
        SetUserBackend(m_p_Previous);
    }
    if (!m_OpenerFolder.empty()) {
        setenv("PATH", m_OldPath.c_str(), 1);
        std::error_code ignored;
        std::filesystem::remove_all(m_OpenerFolder, ignored);
    }
}

bool c_DialogDriver::RecordOpenedURLs() {
    if (!m_OpenerFolder.empty()) {
        return true;
    }
    char pattern[] = "/tmp/platform-opener-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return false;
    }
    m_OpenerFolder = pattern;
    const std::string opener = m_OpenerFolder + "/xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/opened\"\n";
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    const char* path = std::getenv("PATH");
    m_OldPath = path != nullptr ? path : "";
    setenv("PATH", (m_OpenerFolder + ":" + m_OldPath).c_str(), 1);
    return true;
}

std::vector<std::u16string> c_DialogDriver::OpenedURLs() const {
    std::vector<std::u16string> opened;
    std::ifstream record(m_OpenerFolder + "/opened");
    for (std::string line; std::getline(record, line);) {
        opened.push_back(ToUtf16(line));
    }
    return opened;
}

HWND c_DialogDriver::WaitForDialog(WORD templateId) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindDialogByTemplate(templateId)) != nullptr; });
    return dialog;
}

bool c_DialogDriver::WaitUntilDialogEnds(HWND dialog) {
    return WaitUntil([&] { return IsWindow(dialog) == FALSE; });
}

bool c_DialogDriver::ActAsUser(HWND window, const std::function<bool()>& accept, const std::function<void()>& act) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    auto taken = std::make_shared<std::promise<bool>>();
    std::future<bool> result = taken->get_future();
    const bool posted = thread != 0 && PostUserInput(thread, [taken, accept, act] {
                            const bool accepted = accept();
                            taken->set_value(accepted);
                            if (accepted) {
                                act();
                            }
                        });
    return posted && result.wait_for(std::chrono::milliseconds(PROMPTLY_MS)) == std::future_status::ready &&
           result.get();
}

bool c_DialogDriver::ActOnControl(HWND dialog, int id, const std::function<bool(HWND)>& act) {
    const HWND control = GetDlgItem(dialog, id);
    return control != nullptr &&
           ActAsUser(
               control, [control] { return AcceptsUserInput(control); }, [control, act] { act(control); });
}

bool c_DialogDriver::Click(HWND dialog, int id) {
    return ActOnControl(dialog, id, ClickControl);
}

bool c_DialogDriver::SetText(HWND dialog, int id, std::u16string_view text) {
    const std::u16string typed(text);
    return ActOnControl(dialog, id, [typed](HWND control) { return TypeIntoControl(control, typed); });
}

bool c_DialogDriver::SelectComboIndex(HWND dialog, int id, int index) {
    const HWND combo = GetDlgItem(dialog, id);
    return combo != nullptr && index >= 0 && index < SendMessageW(combo, CB_GETCOUNT, 0, 0) &&
           ActOnControl(dialog, id, [index](HWND control) { return ChooseComboItem(control, index); });
}

bool c_DialogDriver::PressKey(HWND dialog, WPARAM key) {
    return ActAsUser(
        dialog, [dialog] { return AcceptsUserInput(dialog); }, [dialog, key] { PressKeyInDialog(dialog, key); });
}

bool c_DialogDriver::Close(HWND dialog) {
    return ActAsUser(
        dialog, [dialog] { return AcceptsUserInput(dialog); }, [dialog] { CloseByUser(dialog); });
}

std::u16string c_DialogDriver::GetText(HWND dialog, int id) const {
    const HWND control = GetDlgItem(dialog, id);
    std::u16string text(static_cast<std::size_t>(std::max(0, GetWindowTextLengthW(control))) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool c_DialogDriver::IsChecked(HWND dialog, int id) const {
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool c_DialogDriver::IsEnabled(HWND dialog, int id) const {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

std::vector<std::u16string> c_DialogDriver::GetListLines(HWND dialog, int id) const {
    const HWND list = GetDlgItem(dialog, id);
    std::vector<std::u16string> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        std::u16string line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1, u'\0');
        line.resize(
            static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()))));
        lines.push_back(std::move(line));
    }
    return lines;
}

int c_DialogDriver::GetSelection(HWND dialog, int id) const {
    const HWND control = GetDlgItem(dialog, id);
    WCHAR className[16] = {};
    GetClassNameW(control, className, 16);
    const UINT message = std::u16string_view(className) == u"ListBox" ? LB_GETCURSEL : CB_GETCURSEL;
    return static_cast<int>(SendMessageW(control, message, 0, 0));
}

int c_DialogDriver::GetProgress(HWND dialog, int id) const {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, PBM_GETPOS, 0, 0));
}

std::optional<c_DialogDriver::s_MessageBoxView> c_DialogDriver::WaitForMessageBox() {
    std::optional<s_MessageBoxView> view;
    WaitUntil([&] {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (m_OpenBoxes.empty()) {
            return false;
        }
        const s_MessageBox& box = *m_OpenBoxes.back();
        view = s_MessageBoxView{box.m_Caption, box.m_Text, box.m_Type};
        return true;
    });
    return view;
}

bool c_DialogDriver::Answer(int answer) {
    s_MessageBox* box = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (m_OpenBoxes.empty()) {
            return false;
        }
        box = m_OpenBoxes.back();
    }
    auto answered = std::make_shared<std::promise<bool>>();
    std::future<bool> result = answered->get_future();
    // On the box's thread, where it opens and closes: it is still open when still listed.
    const bool posted = PostUserInput(box->m_ThreadId, [this, box, answer, answered] {
        std::lock_guard<std::mutex> lock(m_Lock);
        const auto open = std::find(m_OpenBoxes.begin(), m_OpenBoxes.end(), box);
        const bool done = open != m_OpenBoxes.end() && AnswerMessageBox(*box, answer);
        if (done) {
            m_OpenBoxes.erase(open);
        }
        answered->set_value(done);
    });
    return posted && result.wait_for(std::chrono::milliseconds(PROMPTLY_MS)) == std::future_status::ready &&
           result.get();
}

bool c_DialogDriver::PressMessageBoxKey(WPARAM key) {
    UINT type = 0;
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (m_OpenBoxes.empty()) {
            return false;
        }
        type = m_OpenBoxes.back()->m_Type;
    }
    const int answer = key == VK_ESCAPE ? GetEscapeAnswer(type) : key == VK_RETURN ? GetDefaultAnswer(type) : 0;
    return answer != 0 && Answer(answer);
}

void c_DialogDriver::SetFolderPickerResult(std::optional<std::u16string> folder) {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_FolderResult = std::move(folder);
}

std::u16string c_DialogDriver::GetFolderPickerSelection() const {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_FolderSelection;
}

std::u16string c_DialogDriver::GetFolderPickerTitle() const {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_FolderTitle;
}

void c_DialogDriver::OnMessageBoxOpened(s_MessageBox& box) {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_OpenBoxes.push_back(&box);
}

void c_DialogDriver::OnMessageBoxClosed(s_MessageBox& box) {
    std::lock_guard<std::mutex> lock(m_Lock);
    std::erase(m_OpenBoxes, &box);
}

void c_DialogDriver::OnFolderPickerOpened(s_FolderPickerRequest& request) {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_FolderSelection = request.m_Selection;
    m_FolderTitle = request.m_Title;
    EndFolderPicker(request, m_FolderResult.has_value(), m_FolderResult.value_or(std::u16string()));
    m_FolderResult.reset();
}

} // namespace n_Platform
