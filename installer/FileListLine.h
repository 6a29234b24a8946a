#pragma once
// FileListLine: one line of a "FilesToDownload.txt" list, and the checks that keep every listed file
// inside the installation folder.
//
//   line   = name "=" value                  ; split at the first "="; the name is not trimmed
//   value  = folder [ "|" md5 [ "|" other ] ] ; no field or more than three: folder and md5 empty
//
// The MD5 is trimmed. The folder is trimmed of '\' and then of '/' at both ends, and its inner '\'
// become '/'. A list's last line may be a bare folder name (no "="): the common-files folder.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

struct s_FileListLine {
    c_String m_Name;
    c_String m_Folder;
    c_String m_MD5;
};

// False for a line without "=".
bool ParseFileListLine(const c_StringView& line, s_FileListLine& out);

// Not empty, not "." or "..", and none of \ / : * ? " < > | nor a control character.
bool IsSafeFileName(const c_StringView& name);
// Empty (the installation folder itself), or '/'-separated components that are each a safe name.
bool IsSafeFolder(const c_StringView& folder);
// The name and the folder of a parsed line are both safe.
bool IsSafeFileListLine(const s_FileListLine& line);
