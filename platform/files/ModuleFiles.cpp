// The executable's file name in drive form, and the library calls of a process with one module.

#include "platform/files/DrivePaths.h"
#include "platform/files/PathText.h"
#include "platform/kernel/LastError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace {

bool IsExecutableModule(HMODULE module) {
    return module == nullptr || module == GetModuleHandleW(nullptr);
}

// The executable's path, or the one PLATFORM_MODULE_PATH gives this process: tests that run in
// parallel give each process a program path of its own, and with it its own files and names.
bool ReadModulePath(std::u16string& path) {
    if (const char* given = std::getenv(n_Platform::MODULE_PATH_VARIABLE); given != nullptr && *given != 0) {
        path = given[0] == '/' ? n_Platform::ToDrivePath(given) : n_Platform::ToUtf16(given);
        return true;
    }
    char linuxPath[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", linuxPath, sizeof linuxPath - 1);
    if (length <= 0) {
        return n_Platform::FailWithErrno(false, errno);
    }
    path = n_Platform::ToDrivePath(std::string_view(linuxPath, static_cast<std::size_t>(length)));
    return true;
}

} // namespace

DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    if (!IsExecutableModule(module)) {
        return n_Platform::FailWith<DWORD>(0, ERROR_MOD_NOT_FOUND);
    }
    std::u16string path;
    if (!ReadModulePath(path)) {
        return 0;
    }
    if (size == 0) {
        return n_Platform::FailWith<DWORD>(0, ERROR_INSUFFICIENT_BUFFER);
    }
    if (path.size() < size) {
        std::memcpy(buffer, path.data(), path.size() * sizeof(WCHAR));
        buffer[path.size()] = 0;
        SetLastError(ERROR_SUCCESS);
        return static_cast<DWORD>(path.size());
    }
    std::memcpy(buffer, path.data(), (size - 1) * sizeof(WCHAR));
    buffer[size - 1] = 0;
    return n_Platform::FailWith(size, ERROR_INSUFFICIENT_BUFFER);
}

HMODULE WINAPI LoadLibraryW(LPCWSTR) {
    return n_Platform::FailWith<HMODULE>(nullptr, ERROR_MOD_NOT_FOUND);
}

BOOL WINAPI FreeLibrary(HMODULE module) {
    if (module == nullptr || !IsExecutableModule(module)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_HANDLE);
    }
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name) {
    if (module == nullptr || !IsExecutableModule(module)) {
        return n_Platform::FailWith<FARPROC>(nullptr, ERROR_INVALID_HANDLE);
    }
    void* executable = dlopen(nullptr, RTLD_LAZY);
    void* symbol = executable != nullptr && name != nullptr ? dlsym(executable, name) : nullptr;
    if (executable != nullptr) {
        dlclose(executable);
    }
    if (symbol == nullptr) {
        return n_Platform::FailWith<FARPROC>(nullptr, ERROR_PROC_NOT_FOUND);
    }
    return reinterpret_cast<FARPROC>(symbol);
}
