#pragma once
// Shortcut files (.lnk) made through the shell link object, and what is read back from one.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <objbase.h>
#include <shlobj.h>

// Saves a shortcut to DestinationPathAndFileName as ShortcutPath + ShortcutName + ".lnk", described
// by ShortcutName, with the icon of iconPath (index 0) unless that is empty. COM is initialised for
// the call. Every failure is logged with the line of its step, and the call ends there; success logs
// nothing. An existing shortcut is replaced.
void CreateShortcut(const c_String& DestinationPathAndFileName, const c_String& ShortcutPath,
                    const c_String& ShortcutName, const c_String& iconPath);

// folder + name + ".lnk", joined as they are: the folder ends with its separator.
c_String MakeShortcutFileName(const c_StringView& folder, const c_StringView& name);

// The link's target in UTF-8, as GetPath gives it in 256 units (at most 255 of text).
c_String GetShortcutTargetPath(IShellLinkW* link);

// The Windows error text of the result's low 16 bits.
c_String GetHRESULTErrorText(HRESULT result);
