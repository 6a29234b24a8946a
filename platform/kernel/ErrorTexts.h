#pragma once
// The system message table: the English text of every Windows error number that the layer sets.

#include <windows.h>

#include <span>

namespace n_Platform {

// One entry of a message table.
struct s_SystemMessage {
    DWORD m_Error;
    const WCHAR* m_p_Text;
};

// The text of error in table, or null.
const WCHAR* FindMessageIn(std::span<const s_SystemMessage> table, DWORD error);

// The text, ending in "\r\n", or null for a number that the table does not hold.
const WCHAR* FindSystemMessage(DWORD error);

} // namespace n_Platform
