#pragma once
// The Shell Link binary file format ([MS-SHLLINK]): what a .lnk file says, written and read back.
//
// What we write, all numbers little-endian:
//   file        = header link-info? string-data terminal-block
//   header      = u32 76, the shell link class id (16 bytes), u32 link flags, u32 target attributes,
//                 u64 creation, u64 access, u64 write time, u32 target size, i32 icon index,
//                 u32 show command, u16 hot key 0, 10 reserved zero bytes
//   link-info   = u32 size, u32 header size 0x24, u32 flags 1 (volume id and local base path),
//                 u32 offsets of: volume id, local base path, network link (0), common path suffix,
//                 local base path in UTF-16, common path suffix in UTF-16; then the volume id
//                 (u32 size 0x11, u32 drive type 3, u32 serial 0, u32 label offset 0x10, label ""),
//                 the local base path in Windows-1252 with its NUL, the empty suffix, the local base
//                 path in UTF-16 with its NUL and the empty suffix in UTF-16
//   string-data = each text set, in this order: description, working folder, arguments, icon
//                 location; each a u16 count of UTF-16 units and the units, without a NUL
//   terminal    = u32 0
// The reader takes any file of that grammar and also skips a target id list, reads 8-bit string
// data, a link info without its UTF-16 fields and a relative path; it ignores the extra data blocks.
// It never reads outside the bytes it is given.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace n_Platform {

struct s_ShellLinkData {
    std::u16string m_Target;
    std::u16string m_Description;
    std::u16string m_WorkingDirectory;
    std::u16string m_Arguments;
    std::u16string m_IconLocation;
    std::int32_t m_IconIndex = 0;
    std::uint32_t m_ShowCommand = SW_SHOWNORMAL;
    // The target's, when it was set.
    std::uint32_t m_FileAttributes = 0;
    FILETIME m_Creation = {};
    FILETIME m_LastAccess = {};
    FILETIME m_LastWrite = {};
    std::uint32_t m_FileSize = 0;
};

// The longest text that the string data and our link info can hold.
inline constexpr std::size_t LONGEST_LINK_TEXT = 0xFFFF;

// The file's bytes. Texts longer than LONGEST_LINK_TEXT are the caller's to refuse.
std::string WriteShellLink(const s_ShellLinkData& link);

// False for bytes that are not a shell link or that end inside one of its parts.
bool ReadShellLink(std::string_view bytes, s_ShellLinkData& link);

} // namespace n_Platform
