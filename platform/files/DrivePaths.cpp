// The drive map and the translation of Windows paths to Linux paths and back.

#include "platform/files/DrivePaths.h"

#include "platform/files/PathText.h"
#include "platform/kernel/LastError.h"

#include <climits>
#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

typedef std::vector<std::u16string> t_Components;

enum class t_RootKind { DRIVE, UNC, POSIX };

// A full path: its root ("C:" for a drive, "\\server\share" for UNC, empty for POSIX) and the
// components below it, "." and ".." already resolved.
struct s_FullPath {
    t_RootKind m_Kind = t_RootKind::POSIX;
    std::u16string m_Root;
    t_Components m_Components;
    bool m_Trailing = false;
};

struct s_Drive {
    char16_t m_Letter;
    t_Components m_Folder;
    std::string m_LinuxFolder; // without a trailing '/'; empty for "/"
};

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

char16_t UpperLetter(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool IsDriveLetter(char16_t c) {
    const char16_t upper = UpperLetter(c);
    return upper >= u'A' && upper <= u'Z';
}

// Adds the components of a text, resolving "." and ".." (which stops at the root).
void AppendComponents(std::u16string_view text, s_FullPath& path) {
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSeparator(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !IsSeparator(text[i])) {
            ++i;
        }
        const std::u16string_view part = text.substr(start, i - start);
        if (part.empty() || part == u".") {
            continue;
        }
        if (part == u"..") {
            if (!path.m_Components.empty()) {
                path.m_Components.pop_back();
            }
            continue;
        }
        path.m_Components.emplace_back(part);
    }
    if (!text.empty()) {
        path.m_Trailing = IsSeparator(text.back());
    }
}

std::string JoinLinux(const t_Components& components) {
    std::string text;
    for (const std::u16string& component : components) {
        text += '/';
        text += n_Platform::ToUtf8(component);
    }
    return text;
}

class c_DriveMap {
public:
    static c_DriveMap& Get() {
        static c_DriveMap* map = new c_DriveMap;
        return *map;
    }

    void Reload() {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Drives = ReadDrives();
    }

    bool FindFolder(char16_t letter, std::string& folder) {
        std::lock_guard<std::mutex> lock(m_Lock);
        for (const s_Drive& drive : m_Drives) {
            if (drive.m_Letter == UpperLetter(letter)) {
                folder = drive.m_LinuxFolder;
                return true;
            }
        }
        return false;
    }

    // Turns a POSIX path into the form of the drive with the deepest folder that holds it.
    void MoveToDrive(s_FullPath& path) {
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
        path.m_Kind = t_RootKind::DRIVE;
        path.m_Root = {best->m_Letter, u':'};
        path.m_Components.erase(path.m_Components.begin(),
                                path.m_Components.begin() + static_cast<std::ptrdiff_t>(best->m_Folder.size()));
    }

private:
    c_DriveMap() : m_Drives(ReadDrives()) {}

    static bool Holds(const t_Components& folder, const t_Components& components) {
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

    static bool AddDrive(char16_t letter, std::string_view folder, std::vector<s_Drive>& drives) {
        if (!IsDriveLetter(letter) || folder.empty() || folder[0] != '/') {
            return false;
        }
        s_FullPath path;
        AppendComponents(n_Platform::ToUtf16(folder), path);
        drives.push_back({UpperLetter(letter), path.m_Components, JoinLinux(path.m_Components)});
        return true;
    }

    static std::string HomeFolder() {
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

    static std::vector<s_Drive> ReadDrives() {
        std::vector<s_Drive> drives;
        const char* text = std::getenv(n_Platform::DRIVE_MAP_VARIABLE);
        if (text == nullptr) {
            AddDrive(u'C', HomeFolder(), drives);
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

    std::mutex m_Lock;
    std::vector<s_Drive> m_Drives;
};

s_FullPath PosixPath(std::u16string_view text) {
    s_FullPath path;
    AppendComponents(text, path);
    c_DriveMap::Get().MoveToDrive(path);
    return path;
}

s_FullPath CurrentFolder() {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) == nullptr) {
        return s_FullPath();
    }
    return PosixPath(n_Platform::ToUtf16(buffer));
}

std::u16string_view WithoutLongPathPrefix(std::u16string_view path, bool& unc) {
    unc = false;
    if (path.substr(0, 4) != u"\\\\?\\") {
        return path;
    }
    path.remove_prefix(4);
    if (path.size() >= 4 && UpperLetter(path[0]) == u'U' && UpperLetter(path[1]) == u'N' &&
        UpperLetter(path[2]) == u'C' && IsSeparator(path[3])) {
        unc = true;
        path.remove_prefix(4);
    }
    return path;
}

// "server\share\rest": the root takes the server and the share, the rest gives the components.
s_FullPath UncPath(std::u16string_view text) {
    s_FullPath path;
    path.m_Kind = t_RootKind::UNC;
    path.m_Root = u"\\\\";
    for (int part = 0; part < 2 && !text.empty(); ++part) {
        std::size_t end = 0;
        while (end < text.size() && !IsSeparator(text[end])) {
            ++end;
        }
        path.m_Root += (part == 1 ? u"\\" : u"");
        path.m_Root += text.substr(0, end);
        text.remove_prefix(end < text.size() ? end + 1 : end);
    }
    AppendComponents(text, path);
    return path;
}

// "C:rest": from C:\ when rest starts with a separator or the current folder is elsewhere.
s_FullPath DrivePath(char16_t letter, std::u16string_view rest) {
    s_FullPath path;
    if (rest.empty() || !IsSeparator(rest[0])) {
        s_FullPath current = CurrentFolder();
        if (current.m_Kind == t_RootKind::DRIVE && UpperLetter(current.m_Root[0]) == UpperLetter(letter)) {
            path = current;
        }
    }
    path.m_Kind = t_RootKind::DRIVE;
    path.m_Root = {letter, u':'};
    AppendComponents(rest, path);
    return path;
}

bool ParseFullPath(std::u16string_view text, s_FullPath& path) {
    bool unc = false;
    text = WithoutLongPathPrefix(text, unc);
    if (text.empty()) {
        return n_Platform::FailWith(false, ERROR_PATH_NOT_FOUND);
    }
    if (unc) {
        path = UncPath(text);
    } else if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
        path = UncPath(text.substr(2));
    } else if (text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == u':') {
        path = DrivePath(text[0], text.substr(2));
    } else if (text[0] == u'/') {
        path = PosixPath(text);
    } else {
        path = CurrentFolder();
        if (text[0] == u'\\') {
            path.m_Components.clear();
        }
        AppendComponents(text, path);
    }
    return true;
}

std::u16string FormatFullPath(const s_FullPath& path) {
    const char16_t separator = path.m_Kind == t_RootKind::POSIX ? u'/' : u'\\';
    std::u16string text = path.m_Root;
    for (const std::u16string& component : path.m_Components) {
        text += separator;
        text += component;
    }
    if (path.m_Components.empty() ? path.m_Kind != t_RootKind::UNC : path.m_Trailing) {
        text += separator;
    }
    return text;
}

} // namespace

namespace n_Platform {

void ReloadDriveMap() {
    c_DriveMap::Get().Reload();
}

bool MakeFullPath(std::u16string_view path, std::u16string& full) {
    s_FullPath parsed;
    if (!ParseFullPath(path, parsed)) {
        return false;
    }
    full = FormatFullPath(parsed);
    return true;
}

bool ToLinuxPath(std::u16string_view path, std::string& linuxPath) {
    s_FullPath parsed;
    if (!ParseFullPath(path, parsed)) {
        return false;
    }
    if (parsed.m_Kind == t_RootKind::UNC) {
        return FailWith(false, ERROR_BAD_NETPATH);
    }
    std::string folder;
    if (parsed.m_Kind == t_RootKind::DRIVE && !c_DriveMap::Get().FindFolder(parsed.m_Root[0], folder)) {
        return FailWith(false, ERROR_PATH_NOT_FOUND);
    }
    linuxPath = folder + JoinLinux(parsed.m_Components);
    if (linuxPath.empty() || (parsed.m_Trailing && !parsed.m_Components.empty())) {
        linuxPath += '/';
    }
    return true;
}

bool ToLinuxPath(LPCWSTR path, std::string& linuxPath) {
    return ToLinuxPath(ReadArgument(path), linuxPath);
}

std::u16string ToDrivePath(std::string_view linuxPath) {
    return FormatFullPath(PosixPath(ToUtf16(linuxPath)));
}

} // namespace n_Platform
