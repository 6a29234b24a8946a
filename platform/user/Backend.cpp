// The back-end slot and what a back end does unless it says otherwise.

#include "platform/user/Backend.h"

#include "platform/user/FolderPickerRequest.h"
#include "platform/user/HeadlessBackend.h"
#include "platform/user/MessageBoxes.h"
#include "platform/user/MouseTracking.h"

#include <atomic>

namespace {

// Never destroyed: threads may still sleep on their queues while the process exits.
n_Platform::c_UserBackend& GetHeadlessBackend() {
    static n_Platform::c_HeadlessBackend* headless = new n_Platform::c_HeadlessBackend;
    return *headless;
}

// Null: the headless back end.
std::atomic<n_Platform::c_UserBackend*> g_p_Backend{nullptr};

} // namespace

namespace n_Platform {

bool c_UserBackend::IsPointerOver(HWND window) {
    return IsCursorOverWindow(window);
}

s_FontCell c_UserBackend::GetDialogFontCell(LPCWSTR, WORD points) {
    const int size = points == 0 ? 8 : points;
    return s_FontCell{6 * size, 13 * size};
}

void c_UserBackend::OnListLineAdded(HWND, std::u16string_view) {}

void c_UserBackend::OnProgressChanged(HWND, int, int, int) {}

void c_UserBackend::OnMessageBoxOpened(s_MessageBox& box) {
    AnswerMessageBox(box, GetDefaultAnswer(box.m_Type));
}

void c_UserBackend::OnMessageBoxClosed(s_MessageBox&) {}

void c_UserBackend::OnFolderPickerOpened(s_FolderPickerRequest& request) {
    EndFolderPicker(request, false, std::u16string());
}

void c_UserBackend::OnFolderPickerClosed(s_FolderPickerRequest&) {}

c_UserBackend& GetUserBackend() {
    c_UserBackend* backend = g_p_Backend.load(std::memory_order_acquire);
    return backend != nullptr ? *backend : GetHeadlessBackend();
}

c_UserBackend* SetUserBackend(c_UserBackend* backend) {
    return g_p_Backend.exchange(backend, std::memory_order_acq_rel);
}

} // namespace n_Platform
