// The drive map, read from PLATFORM_DRIVES or made of the home folder and the root.

#include "platform/files/DriveMap.h"

#include "platform/files/PathText.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {

bool Holds(const std::vector<std::u16string>& folder, const std::vector<std::u16string>& components) {
    if (folder.size() > components.size()) {
        return false;
    }
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if (folder[i] != components[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

namespace n_Platform {

std::string FindHomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    passwd entry;
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
        found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return "/";
}

c_DriveMap& c_DriveMap::Get() {
    // Never destroyed: paths are translated until the last thread ends.
    static c_DriveMap* map = new c_DriveMap;
    return *map;
}

c_DriveMap::c_DriveMap() : m_Drives(ReadDrives()) {}

void c_DriveMap::Reload() {
    std::vector<s_Drive> drives = ReadDrives();
    std::lock_guard<std::mutex> lock(m_Lock);
    m_Drives.swap(drives);
}

bool c_DriveMap::FindFolder(char16_t letter, std::string& folder) {
    std::lock_guard<std::mutex> lock(m_Lock);
    for (const s_Drive& drive : m_Drives) {
        if (drive.m_Letter == UpperLetter(letter)) {
            folder = drive.m_LinuxFolder;
            return true;
        }
    }
    return false;
}

void c_DriveMap::MoveToDrive(s_FullPath& path) {
    std::lock_guard<std::mutex> lock(m_Lock);
    const s_Drive* best = nullptr;
    for (const s_Drive& drive : m_Drives) {
        if (Holds(drive.m_Folder, path.m_Components) &&
            (best == nullptr || drive.m_Folder.size() > best->m_Folder.size())) {
            best = &drive;
        }
    }
    if (best == nullptr) {
        return;
    }
    path.m_Kind = e_RootKind::DRIVE;
    path.m_Root = {best->m_Letter, u':'};
    path.m_Components.erase(path.m_Components.begin(),
                            path.m_Components.begin() + static_cast<std::ptrdiff_t>(best->m_Folder.size()));
}

bool c_DriveMap::AddDrive(char16_t letter, std::string_view folder, std::vector<s_Drive>& drives) {
    if (!IsDriveLetter(letter) || folder.empty() || folder[0] != '/') {
        return false;
    }
    s_FullPath path;
    AppendComponents(ToUtf16(folder), path);
    drives.push_back({UpperLetter(letter), path.m_Components, JoinLinux(path.m_Components)});
    return true;
}

std::vector<c_DriveMap::s_Drive> c_DriveMap::ReadDrives() {
    std::vector<s_Drive> drives;
    const char* text = std::getenv(DRIVE_MAP_VARIABLE);
    if (text == nullptr) {
        AddDrive(u'C', FindHomeFolder(), drives);
        AddDrive(u'Z', "/", drives);
        return drives;
    }
    std::string_view rest(text);
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        const std::string_view entry = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (entry.size() >= 3 && entry[1] == '=') {
            AddDrive(static_cast<char16_t>(static_cast<unsigned char>(entry[0])), entry.substr(2), drives);
        }
    }
    return drives;
}

} // namespace n_Platform
