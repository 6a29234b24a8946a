// The translation of Windows paths to Linux paths and back: the path grammar resolved against the
// current folder and the drive map.

#include "platform/files/DrivePaths.h"

#include "platform/files/PathText.h"
#include "platform/kernel/LastError.h"

#include <climits>
#include <unistd.h>

namespace {

using n_Platform::e_PathForm;
using n_Platform::e_RootKind;
using n_Platform::s_FullPath;

s_FullPath PosixPath(std::u16string_view text) {
    s_FullPath path;
    n_Platform::AppendComponents(text, path);
    n_Platform::c_DriveMap::Get().MoveToDrive(path);
    return path;
}

s_FullPath CurrentFolder() {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) == nullptr) {
        return s_FullPath();
    }
    return PosixPath(n_Platform::ToUtf16(buffer));
}

// "C:rest": from C:\ when rest starts with a separator or the current folder is elsewhere.
s_FullPath DrivePath(char16_t letter, std::u16string_view rest) {
    s_FullPath path;
    if (rest.empty() || !n_Platform::IsSeparator(rest[0])) {
        s_FullPath current = CurrentFolder();
        if (current.m_Kind == e_RootKind::DRIVE &&
            n_Platform::UpperLetter(current.m_Root[0]) == n_Platform::UpperLetter(letter)) {
            path = current;
        }
    }
    path.m_Kind = e_RootKind::DRIVE;
    path.m_Root = {letter, u':'};
    n_Platform::AppendComponents(rest, path);
    return path;
}

// A rooted path starts at the root of the current drive, a relative one at the current folder.
s_FullPath FromCurrentFolder(std::u16string_view text, bool rooted) {
    s_FullPath path = CurrentFolder();
    if (rooted) {
        path.m_Components.clear();
    }
    n_Platform::AppendComponents(text, path);
    return path;
}

bool ParseFullPath(std::u16string_view text, s_FullPath& path) {
    n_Platform::s_PathSyntax syntax;
    if (!n_Platform::ReadPathSyntax(text, syntax)) {
        return n_Platform::FailWith(false, ERROR_PATH_NOT_FOUND);
    }
    switch (syntax.m_Form) {
        case e_PathForm::UNC:
            path = n_Platform::ReadUncPath(syntax.m_Rest);
            break;
        case e_PathForm::DRIVE:
            path = DrivePath(syntax.m_Letter, syntax.m_Rest);
            break;
        case e_PathForm::POSIX:
            path = PosixPath(syntax.m_Rest);
            break;
        case e_PathForm::ROOTED:
        case e_PathForm::RELATIVE:
            path = FromCurrentFolder(syntax.m_Rest, syntax.m_Form == e_PathForm::ROOTED);
            break;
    }
    return true;
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
    if (parsed.m_Kind == e_RootKind::UNC) {
        return FailWith(false, ERROR_BAD_NETPATH);
    }
    std::string folder;
    if (parsed.m_Kind == e_RootKind::DRIVE && !c_DriveMap::Get().FindFolder(parsed.m_Root[0], folder)) {
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
