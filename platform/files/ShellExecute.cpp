// ShellExecuteExW and ShellExecuteW: files and addresses opened through xdg-open.

#include "platform/files/AddressOpener.h"
#include "platform/files/DrivePaths.h"
#include "platform/files/FileStatus.h"
#include "platform/files/PathText.h"
#include "platform/files/ProcessObjects.h"
#include "platform/files/ShellExecuteHook.h"
#include "platform/kernel/LastError.h"

#include <shellapi.h>

#include <cstdlib>
#include <mutex>
#include <unistd.h>

namespace {

std::mutex g_HookLock;
n_Platform::t_ShellExecuteHook g_Hook;
n_Platform::t_AddressOpener g_AddressOpener;

// True when a hook took the call; its answer is then in opened.
bool CallHook(const SHELLEXECUTEINFOW& information, bool& opened) {
    std::lock_guard<std::mutex> lock(g_HookLock);
    if (!g_Hook) {
        return false;
    }
    opened = g_Hook(information) || n_Platform::FailWith(false, ERROR_NO_ASSOCIATION);
    return true;
}

bool IsAddress(std::u16string_view file) {
    return file.find(u"://") != std::u16string_view::npos || file.starts_with(u"mailto:");
}

// True when an opener of addresses took the call; its answer is then in opened.
bool CallAddressOpener(std::u16string_view file, bool& opened) {
    std::lock_guard<std::mutex> lock(g_HookLock);
    if (!g_AddressOpener || !IsAddress(file)) {
        return false;
    }
    opened = g_AddressOpener(n_Platform::ToUtf8(file)) || n_Platform::FailWith(false, ERROR_NO_ASSOCIATION);
    return true;
}

bool FindOpener(std::string& opener) {
    const char* searchPath = std::getenv("PATH");
    std::string_view folders = searchPath == nullptr ? "" : searchPath;
    while (!folders.empty()) {
        const std::size_t end = folders.find(':');
        const std::string candidate = std::string(folders.substr(0, end)) + "/xdg-open";
        if (candidate[0] == '/' && access(candidate.c_str(), X_OK) == 0) {
            opener = candidate;
            return true;
        }
        folders = end == std::string_view::npos ? std::string_view() : folders.substr(end + 1);
    }
    return n_Platform::FailWith(false, ERROR_NO_ASSOCIATION);
}

// An address is handed on as it is; a file must exist and goes by its Linux path.
bool FindTarget(std::u16string_view file, std::string& target) {
    if (IsAddress(file)) {
        target = n_Platform::ToUtf8(file);
        return true;
    }
    n_Platform::s_FileStatus status;
    return n_Platform::ToLinuxPath(file, target) && n_Platform::ReadPathStatus(target, status);
}

bool Open(SHELLEXECUTEINFOW& information) {
    bool opened = false;
    if (CallHook(information, opened) || CallAddressOpener(n_Platform::ReadArgument(information.lpFile), opened)) {
        return opened;
    }
    std::string target;
    std::string opener;
    pid_t id = 0;
    if (!FindTarget(n_Platform::ReadArgument(information.lpFile), target) || !FindOpener(opener) ||
        !n_Platform::SpawnProgram(opener, {target}, std::string(), {}, id)) {
        return false;
    }
    std::shared_ptr<n_Platform::c_ProcessObject> process = n_Platform::WatchChild(id);
    if (process == nullptr) {
        return false;
    }
    if ((information.fMask & SEE_MASK_NOCLOSEPROCESS) != 0) {
        information.hProcess = n_Platform::InsertHandle(std::move(process));
    }
    return true;
}

} // namespace

namespace n_Platform {

void SetShellExecuteHook(t_ShellExecuteHook hook) {
    std::lock_guard<std::mutex> lock(g_HookLock);
    g_Hook = std::move(hook);
}

void SetAddressOpener(t_AddressOpener opener) {
    std::lock_guard<std::mutex> lock(g_HookLock);
    g_AddressOpener = std::move(opener);
}

} // namespace n_Platform

BOOL WINAPI ShellExecuteExW(SHELLEXECUTEINFOW* information) {
    if (information == nullptr || information->cbSize != sizeof(SHELLEXECUTEINFOW)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    information->hProcess = nullptr;
    if (!Open(*information)) {
        const DWORD error = GetLastError();
        information->hInstApp =
            reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(error <= 32 ? error : SE_ERR_NOASSOC));
        return FALSE;
    }
    information->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(42));
    return TRUE;
}

HINSTANCE WINAPI ShellExecuteW(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                               int showCommand) {
    SHELLEXECUTEINFOW information = {};
    information.cbSize = sizeof information;
    information.hwnd = window;
    information.lpVerb = verb;
    information.lpFile = file;
    information.lpParameters = parameters;
    information.lpDirectory = folder;
    information.nShow = showCommand;
    ShellExecuteExW(&information);
    return information.hInstApp;
}
