#pragma once
// The drive map: the Linux folder that each drive letter stands for.
//
// By default C: is the user's home folder and Z: is "/". The environment variable PLATFORM_DRIVES
// replaces the whole map with entries such as "C=/tmp/t/c;D=/tmp/t/d": a letter, '=', an absolute
// folder, the entries separated by ';'; malformed entries are left out. The variable is read at the
// first use and again by Reload, so a test can give itself its own drives.

#include "platform/files/PathGrammar.h"

#include <mutex>
#include <string>
#include <vector>

namespace n_Platform {

inline constexpr char DRIVE_MAP_VARIABLE[] = "PLATFORM_DRIVES";

// The user's home folder: HOME when it is absolute, else the account's, else "/".
std::string FindHomeFolder();

class c_DriveMap {
public:
    static c_DriveMap& Get();

    void Reload();
    // The drive's Linux folder, without a trailing '/' (empty for "/"); false for an unmapped letter.
    bool FindFolder(char16_t letter, std::string& folder);
    // Turns a POSIX path into the form of the drive with the deepest folder that holds it; a path
    // that no drive holds stays as it is.
    void MoveToDrive(s_FullPath& path);

private:
    struct s_Drive {
        char16_t m_Letter;
        std::vector<std::u16string> m_Folder;
        std::string m_LinuxFolder;
    };

    c_DriveMap();

    static std::vector<s_Drive> ReadDrives();
    static bool AddDrive(char16_t letter, std::string_view folder, std::vector<s_Drive>& drives);

    std::mutex m_Lock;
    std::vector<s_Drive> m_Drives;
};

} // namespace n_Platform
