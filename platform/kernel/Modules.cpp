// Module handles: the executable is the one module of the process.

#include "platform/kernel/LastError.h"

// The linker's symbol for the start of the executable's image, which is what Windows hands out as
// the module handle of the executable.
extern "C" char __executable_start; // NOLINT(bugprone-reserved-identifier)

HMODULE WINAPI GetModuleHandleW(LPCWSTR name) {
    if (name == nullptr) {
        return reinterpret_cast<HMODULE>(&__executable_start);
    }
    return n_Platform::FailWith<HMODULE>(nullptr, ERROR_MOD_NOT_FOUND);
}
