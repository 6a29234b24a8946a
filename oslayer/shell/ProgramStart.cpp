// StartProgram and OpenURL.

#include "oslayer/shell/ProgramStart.h"

#include "oslayer/files/PathCalls.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/system/ProcessCalls.h"

bool StartProgram(const c_StringView& path, const c_StringView& parameters, const c_StringView& folder,
                  bool logParameters) {
    c_String message;
    const bool started = n_OSLayer::CreateProcess(path, parameters, folder, &message, logParameters);
    LogMessage(message);
    return started;
}

bool StartProgram(const c_StringView& path, const c_StringView& parameters, const c_StringView& folder) {
    return StartProgram(path, parameters, folder, true);
}

c_String MakeBrowserParameters(const c_StringView& url) {
    return Concat({"-new-tab \"", url, "\""});
}

void OpenURL(const c_StringView& url, const c_StringView& browserPath) {
    if (browserPath.IsEmpty()) {
        n_OSLayer::ShellExecuteEx(url);
        return;
    }
    StartProgram(browserPath, MakeBrowserParameters(url), n_OSLayer::GetFolderPart(browserPath), true);
}
