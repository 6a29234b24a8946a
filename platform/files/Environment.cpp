// The environment variables of the process.

#include "platform/files/PathText.h"
#include "platform/kernel/LastError.h"

#include <cstdlib>

DWORD WINAPI GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size) {
    const char* value = std::getenv(n_Platform::ToUtf8(n_Platform::ReadArgument(name)).c_str());
    if (value == nullptr) {
        return n_Platform::FailWith<DWORD>(0, ERROR_ENVVAR_NOT_FOUND);
    }
    return n_Platform::CopyTextResult(n_Platform::ToUtf16(value), buffer, size);
}
