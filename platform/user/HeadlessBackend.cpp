// The headless back end: scripted answers and progress on the terminal.

#include "platform/user/HeadlessBackend.h"

#include "platform/files/PathText.h"
#include "platform/user/FolderPickerRequest.h"
#include "platform/user/MessageBoxes.h"
#include "platform/user/MessageQueue.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

std::deque<int> ReadAnswers(const char* script) {
    std::deque<int> answers;
    for (std::string_view rest = script == nullptr ? "" : script; !rest.empty();) {
        const std::size_t comma = rest.find(',');
        answers.push_back(std::atoi(std::string(rest.substr(0, comma)).c_str()));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return answers;
}

void PrintLine(std::FILE* stream, std::u16string_view text) {
    const std::string line = n_Platform::ToUtf8(text);
    std::fprintf(stream, "%s\n", line.c_str());
    std::fflush(stream);
}

} // namespace

namespace n_Platform {

c_HeadlessBackend::c_HeadlessBackend() : m_Answers(ReadAnswers(std::getenv("PLATFORM_ANSWERS"))) {
    if (const char* folder = std::getenv("PLATFORM_FOLDER")) {
        m_Folder = ToUtf16(folder);
    }
}

void c_HeadlessBackend::WaitForInput(c_MessageQueue& queue, std::unique_lock<std::mutex>& lock) {
    queue.GetWakeCondition().wait(lock);
}

void c_HeadlessBackend::WakeQueue(c_MessageQueue& queue) {
    queue.GetWakeCondition().notify_one();
}

void c_HeadlessBackend::OnListLineAdded(HWND, std::u16string_view line) {
    PrintLine(stdout, line);
}

void c_HeadlessBackend::OnProgressChanged(HWND, int position, int low, int high) {
    const int percent =
        high > low ? static_cast<int>((static_cast<long long>(position) - low) * 100 / (high - low)) : 0;
    std::lock_guard<std::mutex> lock(m_Lock);
    if (percent != m_LastPercent) {
        m_LastPercent = percent;
        std::printf("Progress: %d%%\n", percent);
        std::fflush(stdout);
    }
}

void c_HeadlessBackend::OnMessageBoxOpened(s_MessageBox& box) {
    PrintLine(stderr, box.m_Caption + u": " + box.m_Text);
    int answer = GetDefaultAnswer(box.m_Type);
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (!m_Answers.empty()) {
            answer = m_Answers.front();
            m_Answers.pop_front();
        }
    }
    // An answer the box does not offer is no answer: the default button then.
    if (!AnswerMessageBox(box, answer)) {
        AnswerMessageBox(box, GetDefaultAnswer(box.m_Type));
    }
}

void c_HeadlessBackend::OnFolderPickerOpened(s_FolderPickerRequest& request) {
    PrintLine(stderr, request.m_Title);
    std::lock_guard<std::mutex> lock(m_Lock);
    EndFolderPicker(request, m_Folder.has_value(), m_Folder.value_or(std::u16string()));
}

} // namespace n_Platform
