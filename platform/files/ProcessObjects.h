#pragma once
// Process objects: the waitable kernel object of a process, its watcher, and the start of programs.
//
// A process object is signalled when its process ends. A child started by the layer is reaped by a
// watcher thread of its own, which reads its exit status, so no child is left a zombie; any other
// process is watched through a pidfd.

#include "platform/kernel/WaitableObject.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace n_Platform {

class c_ProcessObject : public c_WaitableObject {
public:
    explicit c_ProcessObject(pid_t id) : m_Id(id) {}

    // Under the kernel lock.
    bool IsSignaledFor(DWORD) const override { return m_Ended; }

    DWORD GetExitCode();
    void End(DWORD exitCode);

    const pid_t m_Id;

private:
    bool m_Ended = false;
    DWORD m_ExitCode = STILL_ACTIVE;
};

// Starts the program (a Linux path) with the arguments after argv[0], in the folder (the current one
// when empty), with the environment (this process's when empty), with the default signal actions
// and an empty signal mask. False with the last error set.
bool SpawnProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
                  const std::vector<std::string>& environment, pid_t& id);

// A process object for a child that SpawnProgram started, watched until it ends.
std::shared_ptr<c_ProcessObject> WatchChild(pid_t id);

// A process object for any process; null with ERROR_INVALID_PARAMETER when none has the id.
std::shared_ptr<c_ProcessObject> WatchProcess(pid_t id);

} // namespace n_Platform
