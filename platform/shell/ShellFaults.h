#pragma once
// Test hook of the shell: makes chosen COM and shell link calls fail with a chosen result, so that
// tests reach the failure paths of the code above without a broken system.

#include <objbase.h>

namespace n_Platform {

enum class e_ShellCall {
    CO_INITIALIZE,
    CO_CREATE_INSTANCE,
    SET_PATH,
    SET_DESCRIPTION,
    SET_ICON_LOCATION,
    QUERY_PERSIST_FILE,
    SAVE,
    COUNT
};

// Every later call of that kind fails with the result, until the result is set back to S_OK.
void InjectShellFault(e_ShellCall call, HRESULT result);
// The result that the call must fail with, or S_OK.
HRESULT GetShellFault(e_ShellCall call);

} // namespace n_Platform
