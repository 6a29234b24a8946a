#pragma once
// The grammar of Windows paths: which form a path text has, its components with "." and ".."
// resolved, and the full path written back. Pure text: no drive map and no current folder.
//
//   path      = [long-prefix] (unc | drive | posix | rooted | relative)
//   long-prefix = "\\?\"           (then "UNC\" introduces a UNC path)
//   unc       = sep sep server sep share [sep components]
//   drive     = letter ":" [components]       (relative to the drive's current folder unless
//                                              the components start with a separator)
//   posix     = "/" components
//   rooted    = "\" components                (the root of the current drive)
//   relative  = components                    (joins the current folder)
//   sep       = "\" | "/"                     (repeated separators collapse)

#include <string>
#include <string_view>
#include <vector>

namespace n_Platform {

enum class e_RootKind { DRIVE, UNC, POSIX };

// A full path: its root ("C:" for a drive, "\\server\share" for UNC, empty for POSIX) and the
// components below it, "." and ".." already resolved.
struct s_FullPath {
    e_RootKind m_Kind = e_RootKind::POSIX;
    std::u16string m_Root;
    std::vector<std::u16string> m_Components;
    bool m_Trailing = false;
};

enum class e_PathForm { UNC, DRIVE, POSIX, ROOTED, RELATIVE };

// A path's form, its drive letter (DRIVE only), and the text after its root: after "X:" for a
// drive, after the two separators or "\\?\UNC\" for UNC, the whole text otherwise.
struct s_PathSyntax {
    e_PathForm m_Form = e_PathForm::RELATIVE;
    char16_t m_Letter = 0;
    std::u16string_view m_Rest;
};

bool IsSeparator(char16_t c);
char16_t UpperLetter(char16_t c);
bool IsDriveLetter(char16_t c);

// False for a path that is empty once its long-path prefix is gone.
bool ReadPathSyntax(std::u16string_view text, s_PathSyntax& syntax);

// Adds the components of a text, resolving "." and ".." (which stops at the root); a text ending in
// a separator marks the path as trailing.
void AppendComponents(std::u16string_view text, s_FullPath& path);

// "server\share\rest": the root takes the server and the share, the rest gives the components.
s_FullPath ReadUncPath(std::u16string_view text);

// "/a/b" for the components a and b, in UTF-8; empty for none.
std::string JoinLinux(const std::vector<std::u16string>& components);

// The root, then the components with "\" ("/" for POSIX); a root alone ends with its separator
// (but a UNC root does not), and a trailing path keeps its final separator.
std::u16string FormatFullPath(const s_FullPath& path);

} // namespace n_Platform
