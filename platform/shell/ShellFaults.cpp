// The injected failures of the shell calls: one result per kind of call, read on any thread.

#include "platform/shell/ShellFaults.h"

#include <atomic>

namespace {

std::atomic<HRESULT> g_Faults[static_cast<int>(n_Platform::e_ShellCall::COUNT)];

} // namespace

namespace n_Platform {

void InjectShellFault(e_ShellCall call, HRESULT result) {
    g_Faults[static_cast<int>(call)].store(result);
}

HRESULT GetShellFault(e_ShellCall call) {
    return g_Faults[static_cast<int>(call)].load();
}

} // namespace n_Platform
