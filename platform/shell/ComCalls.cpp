// COM start-up counted per thread, objects by class id, and task memory.

#include "platform/shell/ShellFaults.h"
#include "platform/shell/ShellLinkObject.h"

#include <shlobj.h>

#include <cstdlib>

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

// How often the thread has initialised COM and not yet uninitialised it.
thread_local unsigned g_InitializeCount = 0;

} // namespace

HRESULT WINAPI CoInitialize(LPVOID) {
    const HRESULT fault = n_Platform::GetShellFault(n_Platform::e_ShellCall::CO_INITIALIZE);
    if (fault != S_OK) {
        return fault;
    }
    return g_InitializeCount++ == 0 ? S_OK : S_FALSE;
}

void WINAPI CoUninitialize() {
    if (g_InitializeCount > 0) {
        --g_InitializeCount;
    }
}

HRESULT WINAPI CoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID id, LPVOID* object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    const HRESULT fault = n_Platform::GetShellFault(n_Platform::e_ShellCall::CO_CREATE_INSTANCE);
    if (fault != S_OK) {
        return fault;
    }
    if (g_InitializeCount == 0) {
        return CO_E_NOTINITIALIZED;
    }
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    if (classId != CLSID_ShellLink || (context & CLSCTX_INPROC_SERVER) == 0) {
        return REGDB_E_CLASSNOTREG;
    }
    return n_Platform::CreateShellLink(id, object);
}

LPVOID WINAPI CoTaskMemAlloc(SIZE_T size) {
    return std::malloc(size);
}

void WINAPI CoTaskMemFree(LPVOID block) {
    std::free(block);
}
