#pragma once
// c_DialogDriver: the test driver of dialogs, message boxes and folder pickers.
//
// A test thread drives a UI thread's dialogs as a user would: every action is posted to the UI
// thread and runs there from whatever message loop it runs, as input does, and is refused as input
// is (a disabled control, a dialog disabled by a box). An action returns once the UI thread has
// taken or refused it, not when its handlers are done, since they may open a modal box. Reads go to
// the controls as messages sent from the test thread. While the driver lives it is the back end:
// message boxes stay open until answered, folder pickers take the result set beforehand; a driver
// may also leave the back end as it is and only act and read.

#include "platform/user/HeadlessBackend.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace n_Platform {

class c_DialogDriver : public c_HeadlessBackend {
public:
    struct s_MessageBoxView {
        std::u16string m_Caption;
        std::u16string m_Text;
        UINT m_Type = 0;
    };

    // With keepBackend the back end in place (a display's) stays and shows boxes and pickers, and
    // the driver's box and picker calls have nothing to act on.
    explicit c_DialogDriver(bool keepBackend = false);
    ~c_DialogDriver() override;
    c_DialogDriver(const c_DialogDriver&) = delete;
    c_DialogDriver& operator=(const c_DialogDriver&) = delete;

    // The newest dialog of that template, once one exists; null when none comes promptly.
    HWND WaitForDialog(WORD templateId);
    // Whether the dialog went promptly.
    bool WaitUntilDialogEnds(HWND dialog);

    bool Click(HWND dialog, int id);
    bool SetText(HWND dialog, int id, std::u16string_view text);
    bool SelectComboIndex(HWND dialog, int id, int index);
    // VK_RETURN or VK_ESCAPE, as pressed in the dialog.
    bool PressKey(HWND dialog, WPARAM key);
    bool Close(HWND dialog);

    std::u16string GetText(HWND dialog, int id) const;
    bool IsChecked(HWND dialog, int id) const;
    bool IsEnabled(HWND dialog, int id) const;
    std::vector<std::u16string> GetListLines(HWND dialog, int id) const;
    // Of a combo box or a list box; -1 for none.
    int GetSelection(HWND dialog, int id) const;
    int GetProgress(HWND dialog, int id) const;

    // The newest open box not yet answered, once there is one.
    std::optional<s_MessageBoxView> WaitForMessageBox();
    // Chooses a button of that box; false for a button it does not have, or no box.
    bool Answer(int answer);
    // VK_RETURN (the default button) or VK_ESCAPE (Cancel, or OK alone) as pressed in that box; false
    // for a key that does nothing there.
    bool PressMessageBoxKey(WPARAM key);
    // What the next folder picker takes: a folder, or nothing to cancel it.
    void SetFolderPickerResult(std::optional<std::u16string> folder);
    // Where the last picker opened (its caller's BFFM_SETSELECTIONW) and its title.
    std::u16string GetFolderPickerSelection() const;
    std::u16string GetFolderPickerTitle() const;

    // From now on the addresses and files that the shell opens are recorded instead of opened: a
    // recording opener comes first on PATH until the driver goes.
    bool RecordOpenedURLs();
    // What was opened so far, in order; the opener runs as a process of its own, so a test waits.
    std::vector<std::u16string> OpenedURLs() const;

    void OnMessageBoxOpened(s_MessageBox& box) override;
    void OnMessageBoxClosed(s_MessageBox& box) override;
    void OnFolderPickerOpened(s_FolderPickerRequest& request) override;

private:
    // Runs on the window's thread: accept() decides, and when it holds, act() follows.
    bool ActAsUser(HWND window, const std::function<bool()>& accept, const std::function<void()>& act);
    bool ActOnControl(HWND dialog, int id, const std::function<bool(HWND)>& act);

    const bool m_KeepBackend;
    c_UserBackend* m_p_Previous;
    mutable std::mutex m_Lock;
    std::vector<s_MessageBox*> m_OpenBoxes;
    std::optional<std::u16string> m_FolderResult;
    std::u16string m_FolderSelection;
    std::u16string m_FolderTitle;
    // The folder of the recording opener and PATH before it; empty while not recording.
    std::string m_OpenerFolder;
    std::string m_OldPath;
};

} // namespace n_Platform
