// CreateProcessW and the handles of processes.

#include "platform/files/CommandLine.h"
#include "platform/files/DrivePaths.h"
#include "platform/files/FileStatus.h"
#include "platform/files/PathText.h"
#include "platform/files/ProcessObjects.h"
#include "platform/kernel/LastError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool IsRegularFile(const std::string& linuxPath) {
    struct stat status;
    return stat(linuxPath.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// The path as given, then with ".exe" when its name has no extension, as Windows adds it.
bool FindCandidate(const std::string& base, std::string& program) {
    const bool bare = n_Platform::GetLinuxName(base).find('.') == std::string_view::npos;
    for (const std::string& candidate : {base, bare ? base + ".exe" : std::string()}) {
        if (!candidate.empty() && IsRegularFile(candidate)) {
            program = candidate;
            return true;
        }
    }
    return false;
}

// A path names its file; a bare name is looked for in the current folder and then in PATH. The
// result is absolute, since the child changes its folder before it starts the program.
bool FindProgram(std::u16string_view name, std::string& program) {
    if (name.find_first_of(u"\\/:") != std::u16string_view::npos) {
        std::string linuxPath;
        return n_Platform::ToLinuxPath(name, linuxPath) &&
               (FindCandidate(linuxPath, program) || n_Platform::FailWithPathErrno(false, ENOENT, linuxPath));
    }
    const std::string bareName = n_Platform::ToUtf8(name);
    char current[PATH_MAX];
    if (getcwd(current, sizeof current) != nullptr && FindCandidate(std::string(current) + "/" + bareName, program)) {
        return true;
    }
    const char* searchPath = std::getenv("PATH");
    std::string_view folders = searchPath == nullptr ? "" : searchPath;
    while (!folders.empty()) {
        const std::size_t end = folders.find(':');
        const std::string_view folder = folders.substr(0, end);
        if (!folder.empty() && folder[0] == '/' && FindCandidate(std::string(folder) + "/" + bareName, program)) {
            return true;
        }
        folders = end == std::string_view::npos ? std::string_view() : folders.substr(end + 1);
    }
    return n_Platform::FailWith(false, ERROR_FILE_NOT_FOUND);
}

// A Windows image cannot run here; Linux tells apart the rest.
bool CheckImage(const std::string& program) {
    const int descriptor = open(program.c_str(), O_RDONLY | O_CLOEXEC);
    char start[2] = {};
    const bool read = descriptor >= 0 && ::read(descriptor, start, sizeof start) == sizeof start;
    if (descriptor >= 0) {
        close(descriptor);
    }
    if (read && start[0] == 'M' && start[1] == 'Z') {
        return n_Platform::FailWith(false, ERROR_BAD_EXE_FORMAT);
    }
    return true;
}

bool FindFolder(LPCWSTR currentDirectory, std::string& folder) {
    if (currentDirectory == nullptr || currentDirectory[0] == 0) {
        return true;
    }
    struct stat status;
    if (!n_Platform::ToLinuxPath(currentDirectory, folder)) {
        return false;
    }
    if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        return n_Platform::FailWith(false, ERROR_DIRECTORY);
    }
    return true;
}

// "name=value" texts, each ended by a NUL, the block by a second one.
template <typename T> std::vector<std::string> ReadEnvironmentBlock(const T* block) {
    std::vector<std::string> texts;
    while (*block != 0) {
        const std::basic_string_view<T> text(block);
        if constexpr (sizeof(T) == 1) {
            texts.emplace_back(text);
        } else {
            texts.push_back(n_Platform::ToUtf8(text));
        }
        block += text.size() + 1;
    }
    return texts;
}

std::vector<std::string> ReadEnvironment(LPVOID environment, DWORD flags) {
    if (environment == nullptr) {
        return {};
    }
    if ((flags & CREATE_UNICODE_ENVIRONMENT) != 0) {
        return ReadEnvironmentBlock(static_cast<const char16_t*>(environment));
    }
    return ReadEnvironmentBlock(static_cast<const char*>(environment));
}

bool InsertProcessHandles(const std::shared_ptr<n_Platform::c_ProcessObject>& process,
                          LPPROCESS_INFORMATION information) {
    HANDLE processHandle = n_Platform::InsertHandle(process);
    HANDLE threadHandle = processHandle == nullptr ? nullptr : n_Platform::InsertHandle(process);
    if (threadHandle == nullptr) {
        if (processHandle != nullptr) {
            CloseHandle(processHandle);
        }
        return n_Platform::FailWith(false, ERROR_NO_SYSTEM_RESOURCES);
    }
    information->hProcess = processHandle;
    information->hThread = threadHandle;
    information->dwProcessId = static_cast<DWORD>(process->m_Id);
    information->dwThreadId = static_cast<DWORD>(process->m_Id);
    return true;
}

} // namespace

BOOL WINAPI CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                           BOOL, DWORD creationFlags, LPVOID environment, LPCWSTR currentDirectory, LPSTARTUPINFOW,
                           LPPROCESS_INFORMATION processInformation) {
    const std::vector<std::u16string> pieces = n_Platform::SplitCommandLine(n_Platform::ReadArgument(commandLine));
    const std::u16string_view name = applicationName != nullptr
                                         ? std::u16string_view(applicationName)
                                         : (pieces.empty() ? std::u16string_view() : std::u16string_view(pieces[0]));
    if (name.empty() || processInformation == nullptr) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    std::string program;
    std::string folder;
    if (!FindProgram(name, program) || !CheckImage(program) || !FindFolder(currentDirectory, folder)) {
        return FALSE;
    }
    std::vector<std::string> arguments;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        arguments.push_back(n_Platform::ToUtf8(pieces[i]));
    }
    pid_t id = 0;
    if (!n_Platform::SpawnProgram(program, arguments, folder, ReadEnvironment(environment, creationFlags), id)) {
        return FALSE;
    }
    std::shared_ptr<n_Platform::c_ProcessObject> process = n_Platform::WatchChild(id);
    if (process == nullptr || !InsertProcessHandles(process, processInformation)) {
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WINAPI GetExitCodeProcess(HANDLE handle, LPDWORD exitCode) {
    std::shared_ptr<n_Platform::c_ProcessObject> process =
        n_Platform::LookupHandleAs<n_Platform::c_ProcessObject>(handle);
    if (process == nullptr) {
        return FALSE;
    }
    *exitCode = process->GetExitCode();
    return TRUE;
}

HANDLE WINAPI OpenProcess(DWORD, BOOL, DWORD processId) {
    if (processId == 0 || processId > INT_MAX) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_INVALID_PARAMETER);
    }
    std::shared_ptr<n_Platform::c_ProcessObject> process = n_Platform::WatchProcess(static_cast<pid_t>(processId));
    return process == nullptr ? nullptr : n_Platform::InsertHandle(std::move(process));
}

DWORD WINAPI GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}
