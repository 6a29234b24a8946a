// CreateShortcut and the texts around shortcut files.

#include "oslayer/shell/Shortcuts.h"

#include "oslayer/shell/c_COMInitializer.h"
#include "oslayer/shell/c_COMSharedPointer.h"
#include "oslayer/system/ErrorText.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/system/TextConversion.h"

namespace {

constexpr int TARGET_PATH_UNITS = 256;

// Steps 3 to 8 of a shortcut: the log line of the step that failed, or null once it is saved. The
// persist-file holder goes before the shell link holder.
const char* SaveShortcut(const c_String& destination, const c_String& folder, const c_String& name,
                         const c_String& iconPath) {
    n_OSLayer::c_COMSharedPointer<IShellLinkW> link(CLSID_ShellLink);
    if (link.IsEmpty()) {
        return "CreateShortcut: CoCreateInstance error";
    }
    if (link->SetPath(n_OSLayer::UTF8ToWide(destination).begin()) != S_OK) {
        return "CreateShortcut: SetPath error";
    }
    if (FAILED(link->SetDescription(n_OSLayer::UTF8ToWide(name).begin()))) {
        return "CreateShortcut: SetDescription error";
    }
    if (!iconPath.IsEmpty() && FAILED(link->SetIconLocation(n_OSLayer::UTF8ToWide(iconPath).begin(), 0))) {
        return "CreateShortcut: SetIconLocation error";
    }
    n_OSLayer::c_COMSharedPointer<IPersistFile> file(link);
    if (file.IsEmpty()) {
        return "CreateShortcut: QueryInterface error";
    }
    if (FAILED(file->Save(n_OSLayer::UTF8ToWide(MakeShortcutFileName(folder, name)).begin(), TRUE))) {
        return "CreateShortcut: Save error";
    }
    return nullptr;
}

} // namespace

void CreateShortcut(const c_String& DestinationPathAndFileName, const c_String& ShortcutPath,
                    const c_String& ShortcutName, const c_String& iconPath) {
    if (DestinationPathAndFileName.IsEmpty() || ShortcutPath.IsEmpty() || ShortcutName.IsEmpty()) {
        LogMessage("CreateShortcut: DestinationPathAndFileName/ShortcutPath/ShortcutName is empty");
        return;
    }
    const n_OSLayer::c_COMInitializer com;
    if (!com.IsInitialized()) {
        LogMessage("CreateShortcut: CoInitialize error");
        return;
    }
    const char* failure = SaveShortcut(DestinationPathAndFileName, ShortcutPath, ShortcutName, iconPath);
    if (failure != nullptr) {
        LogMessage(failure);
    }
}

c_String MakeShortcutFileName(const c_StringView& folder, const c_StringView& name) {
    return Concat({folder, name, ".lnk"});
}

c_String GetShortcutTargetPath(IShellLinkW* link) {
    WCHAR path[TARGET_PATH_UNITS] = {};
    link->GetPath(path, TARGET_PATH_UNITS, nullptr, 0);
    return n_OSLayer::WideToUTF8(c_WStringView(path, TARGET_PATH_UNITS, true));
}

c_String GetHRESULTErrorText(HRESULT result) {
    return n_OSLayer::GetWindowsErrorText(static_cast<std::uint32_t>(HRESULT_CODE(result)));
}
