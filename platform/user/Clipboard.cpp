// The process's clipboard: formats and their data in the order they were set, the thread that has
// it open, and the count of changes.

#include "platform/kernel/LastError.h"
#include "platform/user/ClipboardListeners.h"

#include <windows.h>

#include <mutex>
#include <utility>
#include <vector>

namespace {

struct s_Clipboard {
    std::mutex m_Lock;
    DWORD m_OpenedBy = 0;
    std::vector<std::pair<UINT, HANDLE>> m_Formats;
    DWORD m_SequenceNumber = 0;
    // The content changed since it was opened: the listeners hear of it at the close.
    bool m_Changed = false;
};

s_Clipboard& GetClipboard() {
    static s_Clipboard* clipboard = new s_Clipboard;
    return *clipboard;
}

// Global blocks belong to the clipboard; other handles (bitmaps) stay their maker's.
void ReleaseData(UINT format, HANDLE data) {
    if (format != CF_BITMAP) {
        GlobalFree(data);
    }
}

bool IsOpenedByCaller(const s_Clipboard& clipboard) {
    if (clipboard.m_OpenedBy != GetCurrentThreadId()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return false;
    }
    return true;
}

} // namespace

BOOL WINAPI OpenClipboard(HWND owner) {
    if (owner != nullptr && !IsWindow(owner)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_WINDOW_HANDLE);
    }
    s_Clipboard& clipboard = GetClipboard();
    std::lock_guard<std::mutex> lock(clipboard.m_Lock);
    const DWORD thread = GetCurrentThreadId();
    if (clipboard.m_OpenedBy != 0 && clipboard.m_OpenedBy != thread) {
        return n_Platform::FailWith(FALSE, ERROR_ACCESS_DENIED);
    }
    clipboard.m_OpenedBy = thread;
    return TRUE;
}

BOOL WINAPI CloseClipboard() {
    s_Clipboard& clipboard = GetClipboard();
    std::unique_lock<std::mutex> lock(clipboard.m_Lock);
    if (!IsOpenedByCaller(clipboard)) {
        return FALSE;
    }
    clipboard.m_OpenedBy = 0;
    const bool changed = std::exchange(clipboard.m_Changed, false);
    lock.unlock();
    if (changed) {
        n_Platform::NotifyClipboardListeners();
    }
    return TRUE;
}

BOOL WINAPI EmptyClipboard() {
    s_Clipboard& clipboard = GetClipboard();
    std::lock_guard<std::mutex> lock(clipboard.m_Lock);
    if (!IsOpenedByCaller(clipboard)) {
        return FALSE;
    }
    for (const auto& [format, data] : clipboard.m_Formats) {
        ReleaseData(format, data);
    }
    clipboard.m_Formats.clear();
    ++clipboard.m_SequenceNumber;
    clipboard.m_Changed = true;
    return TRUE;
}

HANDLE WINAPI GetClipboardData(UINT format) {
    s_Clipboard& clipboard = GetClipboard();
    std::lock_guard<std::mutex> lock(clipboard.m_Lock);
    if (!IsOpenedByCaller(clipboard)) {
        return nullptr;
    }
    for (const auto& [held, data] : clipboard.m_Formats) {
        if (held == format) {
            return data;
        }
    }
    return n_Platform::FailWith<HANDLE>(nullptr, ERROR_INVALID_PARAMETER);
}

HANDLE WINAPI SetClipboardData(UINT format, HANDLE data) {
    s_Clipboard& clipboard = GetClipboard();
    std::lock_guard<std::mutex> lock(clipboard.m_Lock);
    if (!IsOpenedByCaller(clipboard)) {
        return nullptr;
    }
    if (data == nullptr) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_NOT_SUPPORTED);
    }
    ++clipboard.m_SequenceNumber;
    clipboard.m_Changed = true;
    for (auto& [held, old] : clipboard.m_Formats) {
        if (held == format) {
            if (old != data) {
                ReleaseData(format, old);
            }
            old = data;
            return data;
        }
    }
    clipboard.m_Formats.emplace_back(format, data);
    return data;
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
    s_Clipboard& clipboard = GetClipboard();
    std::lock_guard<std::mutex> lock(clipboard.m_Lock);
    for (const auto& entry : clipboard.m_Formats) {
        if (entry.first == format) {
            return TRUE;
        }
    }
    return FALSE;
}

int WINAPI CountClipboardFormats() {
    s_Clipboard& clipboard = GetClipboard();
    std::lock_guard<std::mutex> lock(clipboard.m_Lock);
    return static_cast<int>(clipboard.m_Formats.size());
}

UINT WINAPI EnumClipboardFormats(UINT format) {
    s_Clipboard& clipboard = GetClipboard();
    std::lock_guard<std::mutex> lock(clipboard.m_Lock);
    if (!IsOpenedByCaller(clipboard)) {
        return 0;
    }
    std::size_t next = 0;
    if (format != 0) {
        while (next < clipboard.m_Formats.size() && clipboard.m_Formats[next].first != format) {
            ++next;
        }
        ++next;
    }
    SetLastError(ERROR_SUCCESS);
    return next < clipboard.m_Formats.size() ? clipboard.m_Formats[next].first : 0;
}

DWORD WINAPI GetClipboardSequenceNumber() {
    s_Clipboard& clipboard = GetClipboard();
    std::lock_guard<std::mutex> lock(clipboard.m_Lock);
    return clipboard.m_SequenceNumber;
}
