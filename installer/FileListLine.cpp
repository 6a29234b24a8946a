// FileListLine: the list-line parser and its safety checks.

#include "installer/FileListLine.h"

#include "oslayer/files/PathNames.h"
#include "textutil/TextSplit.h"

#include <vector>

namespace {

bool ContainsControlCharacter(const c_StringView& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

c_String NormalizeFolder(const c_StringView& field) {
    c_String folder(field.Trimmed('\\').Trimmed('/'));
    folder.Replace('\\', '/');
    return folder;
}

} // namespace

bool ParseFileListLine(const c_StringView& line, s_FileListLine& out) {
    const int equals = line.Find("=");
    if (equals < 0) {
        return false;
    }
    out.m_Name = c_String(line.Left(equals));
    out.m_Folder.Clear();
    out.m_MD5.Clear();
    const std::vector<c_StringView> fields = Split(line.Mid(equals + 1, line.GetLength()), '|');
    if (fields.empty() || fields.size() > 3) {
        return true;
    }
    out.m_Folder = NormalizeFolder(fields[0]);
    if (fields.size() >= 2) {
        out.m_MD5 = c_String(fields[1].Trimmed());
    }
    return true;
}

bool IsSafeFileName(const c_StringView& name) {
    return !name.IsEmpty() && name != "." && name != ".." && !ContainsInvalidFileNameCharacter(name) &&
           !ContainsControlCharacter(name);
}

bool IsSafeFolder(const c_StringView& folder) {
    if (folder.IsEmpty()) {
        return true;
    }
    for (const c_StringView& component : Split(folder, '/')) {
        if (!IsSafeFileName(component)) {
            return false;
        }
    }
    return true;
}

bool IsSafeFileListLine(const s_FileListLine& line) {
    return IsSafeFileName(line.m_Name) && IsSafeFolder(line.m_Folder);
}
