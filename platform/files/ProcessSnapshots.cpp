// Toolhelp snapshots of the running processes and of a process's modules, read from /proc.

#include "platform/files/DrivePaths.h"
#include "platform/files/FileStatus.h"
#include "platform/files/PathText.h"
#include "platform/kernel/HandleTable.h"
#include "platform/kernel/LastError.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <mutex>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

template <typename Entry> class c_EntryWalk {
public:
    void Add(const Entry& entry) { m_Entries.push_back(entry); }

    // First starts the walk again; dwSize of the caller's entry must cover the whole entry.
    BOOL Give(Entry* entry, bool first) {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (entry == nullptr || entry->dwSize < sizeof(Entry)) {
            return n_Platform::FailWith(FALSE, ERROR_BAD_LENGTH);
        }
        m_Next = first ? 0 : m_Next;
        if (m_Next >= m_Entries.size()) {
            return n_Platform::FailWith(FALSE, ERROR_NO_MORE_FILES);
        }
        *entry = m_Entries[m_Next++];
        return TRUE;
    }

private:
    std::mutex m_Lock;
    std::vector<Entry> m_Entries;
    std::size_t m_Next = 0;
};

class c_SnapshotObject : public n_Platform::c_KernelObject {
public:
    c_EntryWalk<PROCESSENTRY32W> m_Processes;
    c_EntryWalk<MODULEENTRY32W> m_Modules;
};

template <std::size_t N> void CopyName(WCHAR (&target)[N], std::u16string_view name) {
    const std::size_t length = std::min(name.size(), N - 1);
    std::memcpy(target, name.data(), length * sizeof(WCHAR));
    target[length] = 0;
}

// The target of /proc/<id>/exe, without the mark of a deleted file; false with errno set.
bool ReadExecutablePath(DWORD processId, std::string& path) {
    char buffer[PATH_MAX];
    const std::string link = "/proc/" + std::to_string(processId) + "/exe";
    const ssize_t length = readlink(link.c_str(), buffer, sizeof buffer - 1);
    if (length <= 0) {
        return false;
    }
    path.assign(buffer, static_cast<std::size_t>(length));
    constexpr std::string_view DELETED = " (deleted)";
    if (path.size() > DELETED.size() && path.ends_with(DELETED)) {
        path.resize(path.size() - DELETED.size());
    }
    return true;
}

std::string ReadProcFile(DWORD processId, const char* name) {
    std::ifstream file("/proc/" + std::to_string(processId) + "/" + name);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

// The name of the executable's file; the kernel's short name when the executable cannot be read.
std::string ReadExecutableName(DWORD processId) {
    std::string path;
    if (ReadExecutablePath(processId, path)) {
        return std::string(n_Platform::GetLinuxName(path));
    }
    std::string name = ReadProcFile(processId, "comm");
    while (!name.empty() && name.back() == '\n') {
        name.pop_back();
    }
    return name;
}

// The parent's id and the thread count, the fields 4 and 20 of /proc/<id>/stat (after the name).
bool ReadProcessEntry(DWORD processId, PROCESSENTRY32W& entry) {
    const std::string stat = ReadProcFile(processId, "stat");
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return false;
    }
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    std::vector<std::string> values;
    while (values.size() < 18 && fields >> field) {
        values.push_back(field);
    }
    if (values.size() < 18) {
        return false;
    }
    entry = {};
    entry.dwSize = sizeof entry;
    entry.th32ProcessID = processId;
    entry.th32ParentProcessID = static_cast<DWORD>(std::strtoul(values[1].c_str(), nullptr, 10));
    entry.cntThreads = static_cast<DWORD>(std::strtoul(values[17].c_str(), nullptr, 10));
    entry.pcPriClassBase = 8;
    CopyName(entry.szExeFile, n_Platform::ToUtf16(ReadExecutableName(processId)));
    return true;
}

void ListProcesses(c_SnapshotObject& snapshot) {
    DIR* folder = opendir("/proc");
    if (folder == nullptr) {
        return;
    }
    for (const dirent* item = readdir(folder); item != nullptr; item = readdir(folder)) {
        char* end = nullptr;
        const unsigned long id = std::strtoul(item->d_name, &end, 10);
        PROCESSENTRY32W entry;
        if (*end == 0 && id != 0 && id <= INT_MAX && ReadProcessEntry(static_cast<DWORD>(id), entry)) {
            snapshot.m_Processes.Add(entry);
        }
    }
    closedir(folder);
}

// The executable is the process's one module.
bool ListModules(DWORD processId, c_SnapshotObject& snapshot) {
    std::string path;
    if (!ReadExecutablePath(processId, path)) {
        return n_Platform::FailWith(false,
                                    errno == EACCES || errno == EPERM ? ERROR_ACCESS_DENIED : ERROR_INVALID_PARAMETER);
    }
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    entry.th32ModuleID = 1;
    entry.th32ProcessID = processId;
    entry.GlblcntUsage = 0xFFFF;
    entry.ProccntUsage = 0xFFFF;
    CopyName(entry.szModule, n_Platform::ToUtf16(n_Platform::GetLinuxName(path)));
    CopyName(entry.szExePath, n_Platform::ToDrivePath(path));
    snapshot.m_Modules.Add(entry);
    return true;
}

std::shared_ptr<c_SnapshotObject> LookupSnapshot(HANDLE handle) {
    return n_Platform::LookupHandleAs<c_SnapshotObject>(handle);
}

} // namespace

HANDLE WINAPI CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
    auto snapshot = std::make_shared<c_SnapshotObject>();
    if ((flags & TH32CS_SNAPPROCESS) != 0) {
        ListProcesses(*snapshot);
    }
    const DWORD moduleProcess = processId == 0 ? static_cast<DWORD>(getpid()) : processId;
    if ((flags & (TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32)) != 0 && !ListModules(moduleProcess, *snapshot)) {
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = n_Platform::InsertHandle(std::move(snapshot));
    return handle == nullptr ? INVALID_HANDLE_VALUE : handle;
}

BOOL WINAPI Process32FirstW(HANDLE handle, LPPROCESSENTRY32W entry) {
    std::shared_ptr<c_SnapshotObject> snapshot = LookupSnapshot(handle);
    return snapshot == nullptr ? FALSE : snapshot->m_Processes.Give(entry, true);
}

BOOL WINAPI Process32NextW(HANDLE handle, LPPROCESSENTRY32W entry) {
    std::shared_ptr<c_SnapshotObject> snapshot = LookupSnapshot(handle);
    return snapshot == nullptr ? FALSE : snapshot->m_Processes.Give(entry, false);
}

BOOL WINAPI Module32FirstW(HANDLE handle, LPMODULEENTRY32W entry) {
    std::shared_ptr<c_SnapshotObject> snapshot = LookupSnapshot(handle);
    return snapshot == nullptr ? FALSE : snapshot->m_Modules.Give(entry, true);
}

BOOL WINAPI Module32NextW(HANDLE handle, LPMODULEENTRY32W entry) {
    std::shared_ptr<c_SnapshotObject> snapshot = LookupSnapshot(handle);
    return snapshot == nullptr ? FALSE : snapshot->m_Modules.Give(entry, false);
}
