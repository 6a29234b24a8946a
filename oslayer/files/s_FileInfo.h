#pragma once
// s_FileInfo: one directory entry as the file utilities keep it.

#include "strings/c_String.h"
#include "strings/c_StringView.h"
#include "textutil/c_DateTime.h"

#include <windows.h>

#include <cstdint>

struct s_FileInfo {
    s_FileInfo() = default;
    // The name and attributes, the three times in local time with their microseconds, and the size
    // from its two halves.
    s_FileInfo(const c_StringView& name, const WIN32_FIND_DATAW& data);

    c_String m_Name;
    std::uint32_t m_Attributes = 0;
    c_DateTime m_Created;
    c_DateTime m_Accessed;
    c_DateTime m_Modified;
    std::int64_t m_Size = 0;
};

// The 64-bit value of a FILETIME.
inline std::uint64_t FileTimeValue(const FILETIME& time) {
    return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}
