#pragma once
// Test helper: what a saved shortcut says, read back through our own shell link object.

#include "oslayer/shell/Shortcuts.h"
#include "oslayer/shell/c_COMInitializer.h"
#include "oslayer/shell/c_COMSharedPointer.h"
#include "oslayer/system/TextConversion.h"
#include "textutil/testing/TestText.h"

#include <string>

struct s_ReadShortcut {
    bool m_Loaded = false;
    std::string m_Target;
    std::string m_Description;
    std::string m_Icon;
};

inline s_ReadShortcut ReadShortcut(const char* path) {
    const n_OSLayer::c_COMInitializer com;
    const n_OSLayer::c_COMSharedPointer<IShellLinkW> link(CLSID_ShellLink);
    const n_OSLayer::c_COMSharedPointer<IPersistFile> file(link);
    s_ReadShortcut read;
    read.m_Loaded = file.IsSet() && file->Load(n_OSLayer::UTF8ToWide(path).begin(), 0) == S_OK;
    read.m_Target = ToStd(GetShortcutTargetPath(link.Get()));
    WCHAR text[MAX_PATH];
    link->GetDescription(text, MAX_PATH);
    read.m_Description = ToStd(n_OSLayer::WideToUTF8(text));
    int index = -1;
    link->GetIconLocation(text, MAX_PATH, &index);
    read.m_Icon = ToStd(n_OSLayer::WideToUTF8(text));
    return read;
}
