#pragma once
// c_HeadlessBackend: the back end without a display, for every test and the unattended run.
//
// It shows no window. A message box prints its caption and text on standard error and takes the
// next scripted answer, or its default button when none is scripted; a folder picker takes the
// scripted folder or is cancelled. List-box lines and the progress bar are echoed to standard
// output, as a program without a window shows its progress. Threads sleep on their queue's
// condition.
//
// Scripts come from the environment when the back end is made: PLATFORM_ANSWERS holds button ids
// separated by commas ("6,7,1"), PLATFORM_FOLDER the folder that every picker takes.

#include "platform/user/Backend.h"

#include <deque>
#include <optional>
#include <string>

namespace n_Platform {

class c_HeadlessBackend : public c_UserBackend {
public:
    c_HeadlessBackend();

    void OnWindowChanged(HWND) override {}
    void OnWindowDestroyed(HWND) override {}
    void WaitForInput(c_MessageQueue& queue, std::unique_lock<std::mutex>& lock) override;
    void WakeQueue(c_MessageQueue& queue) override;
    void OnListLineAdded(HWND list, std::u16string_view line) override;
    void OnProgressChanged(HWND bar, int position, int low, int high) override;
    void OnMessageBoxOpened(s_MessageBox& box) override;
    void OnFolderPickerOpened(s_FolderPickerRequest& request) override;

private:
    std::mutex m_Lock;
    std::deque<int> m_Answers;
    std::optional<std::u16string> m_Folder;
    int m_LastPercent = -1;
};

} // namespace n_Platform
