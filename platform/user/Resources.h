#pragma once
// The registered resources, found by id.

#include <windows.h>

namespace n_Platform {

// Null with ERROR_RESOURCE_NAME_NOT_FOUND for a name that is not a registered id.
const s_DialogTemplate* FindDialogTemplate(LPCWSTR name);

} // namespace n_Platform
