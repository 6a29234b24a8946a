// Process objects, their watcher threads and posix_spawn.

#include "platform/files/ProcessObjects.h"

#include "platform/kernel/LastError.h"

#include <cerrno>
#include <csignal>
#include <functional>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

DWORD ExitCodeOf(int status) {
    if (WIFEXITED(status)) {
        return static_cast<DWORD>(WEXITSTATUS(status));
    }
    return WIFSIGNALED(status) ? static_cast<DWORD>(128 + WTERMSIG(status)) : 0;
}

std::vector<char*> MakeList(const std::vector<std::string>& texts) {
    std::vector<char*> list;
    for (const std::string& text : texts) {
        list.push_back(const_cast<char*>(text.c_str()));
    }
    list.push_back(nullptr);
    return list;
}

class c_SpawnSettings {
public:
    c_SpawnSettings() {
        posix_spawn_file_actions_init(&m_Actions);
        posix_spawnattr_init(&m_Attributes);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&m_Attributes, &signals);
        sigfillset(&signals);
        posix_spawnattr_setsigdefault(&m_Attributes, &signals);
        posix_spawnattr_setflags(&m_Attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~c_SpawnSettings() {
        posix_spawnattr_destroy(&m_Attributes);
        posix_spawn_file_actions_destroy(&m_Actions);
    }
    c_SpawnSettings(const c_SpawnSettings&) = delete;
    c_SpawnSettings& operator=(const c_SpawnSettings&) = delete;

    bool SetFolder(const std::string& folder) {
        return folder.empty() || posix_spawn_file_actions_addchdir_np(&m_Actions, folder.c_str()) == 0;
    }
    int Spawn(pid_t& id, const std::string& program, char* const* arguments, char* const* environment) {
        return posix_spawn(&id, program.c_str(), &m_Actions, &m_Attributes, arguments, environment);
    }

private:
    posix_spawn_file_actions_t m_Actions;
    posix_spawnattr_t m_Attributes;
};

// Runs the watch on a thread of its own; null with ERROR_NO_SYSTEM_RESOURCES when none can start.
std::shared_ptr<n_Platform::c_ProcessObject> StartWatcher(std::shared_ptr<n_Platform::c_ProcessObject> process,
                                                          std::function<DWORD()> waitForEnd) {
    try {
        std::thread([process, waitForEnd] { process->End(waitForEnd()); }).detach();
    } catch (const std::system_error&) {
        return n_Platform::FailWith<std::shared_ptr<n_Platform::c_ProcessObject>>(nullptr, ERROR_NO_SYSTEM_RESOURCES);
    }
    return process;
}

} // namespace

namespace n_Platform {

DWORD c_ProcessObject::GetExitCode() {
    std::lock_guard<std::mutex> lock(GetKernelLock());
    return m_ExitCode;
}

void c_ProcessObject::End(DWORD exitCode) {
    std::lock_guard<std::mutex> lock(GetKernelLock());
    m_ExitCode = exitCode;
    m_Ended = true;
    SatisfyWaiters();
}

bool SpawnProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
                  const std::vector<std::string>& environment, pid_t& id) {
    std::vector<std::string> texts = {program};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    const std::vector<char*> argumentList = MakeList(texts);
    const std::vector<char*> environmentList = MakeList(environment);
    c_SpawnSettings settings;
    if (!settings.SetFolder(folder)) {
        return FailWith(false, ERROR_NOT_ENOUGH_MEMORY);
    }
    const int error =
        settings.Spawn(id, program, argumentList.data(), environment.empty() ? environ : environmentList.data());
    return error == 0 || FailWithErrno(false, error);
}

std::shared_ptr<c_ProcessObject> WatchChild(pid_t id) {
    return StartWatcher(std::make_shared<c_ProcessObject>(id), [id] {
        int status = 0;
        while (waitpid(id, &status, 0) < 0 && errno == EINTR) {
        }
        return ExitCodeOf(status);
    });
}

std::shared_ptr<c_ProcessObject> WatchProcess(pid_t id) {
    const int descriptor = static_cast<int>(syscall(SYS_pidfd_open, id, 0));
    if (descriptor < 0) {
        return FailWith<std::shared_ptr<c_ProcessObject>>(nullptr, ERROR_INVALID_PARAMETER);
    }
    std::shared_ptr<c_ProcessObject> process = StartWatcher(std::make_shared<c_ProcessObject>(id), [descriptor] {
        pollfd ended = {descriptor, POLLIN, 0};
        while (poll(&ended, 1, -1) < 0 && errno == EINTR) {
        }
        close(descriptor);
        return DWORD(0);
    });
    if (process == nullptr) {
        close(descriptor);
    }
    return process;
}

} // namespace n_Platform
