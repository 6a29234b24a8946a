#pragma once
// The system message table: the English text of every Windows error number that the layer sets.

#include <windows.h>

namespace n_Platform {

// The text, ending in "\r\n", or null for a number that the table does not hold.
const WCHAR* FindSystemMessage(DWORD error);

} // namespace n_Platform
