// n_OSLayer process wrappers over CreateProcessW, the shell and the toolhelp snapshots.

#include "oslayer/system/ProcessCalls.h"

#include "oslayer/files/PathCalls.h"
#include "oslayer/system/ErrorText.h"
#include "oslayer/system/TextConversion.h"
#include "oslayer/threads/c_Handle.h"

#include <shellapi.h>
#include <tlhelp32.h>

namespace {

// The folder of the start: the given one or the program's, without blanks around it and without
// one trailing "\".
c_StringView ChooseFolder(const c_StringView& path, const c_StringView& folder) {
    c_StringView chosen = (folder.IsEmpty() ? n_OSLayer::GetFolderPart(path) : folder).Trimmed();
    return chosen.RemoveSuffix('\\');
}

bool StartProcess(const c_StringView& path, const c_StringView& parameters, const c_StringView& folder) {
    c_WString commandLine = n_OSLayer::UTF8ToWide(Concat({"\"", path, "\" ", parameters}));
    const c_WString wideFolder = n_OSLayer::UTF8ToWide(folder);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, wideFolder.begin(),
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool IsSameTextNoCase(const c_StringView& a, const c_StringView& b) {
    return a.GetLength() == b.GetLength() && a.Equals(b, false);
}

} // namespace

namespace n_OSLayer {

bool CreateProcess(const c_StringView& path, const c_StringView& parameters, const c_StringView& folder,
                   c_String* message, bool logParameters) {
    const c_StringView chosenFolder = ChooseFolder(path, folder);
    const bool started = StartProcess(path, parameters, chosenFolder);
    const std::uint32_t error = ::GetLastError();
    if (message == nullptr) {
        return started;
    }
    if (!started) {
        *message = Concat({"Error creating process ", path, ".  ", GetWindowsErrorText(error)});
    } else if (logParameters) {
        *message =
            Concat({"Created process ", path, ".  Current folder: ", chosenFolder, ".  Parameters: ", parameters});
    } else {
        *message = Concat({"Created process ", path, ".  Current folder: ", chosenFolder});
    }
    return started;
}

bool ShellExecute(const c_StringView& file, const c_StringView& parameters, const c_StringView& folder, bool edit) {
    const HINSTANCE result = ShellExecuteW(nullptr, edit ? u"edit" : u"open", UTF8ToWide(file).begin(),
                                           UTF8ToWide(parameters).begin(), UTF8ToWide(folder).begin(), SW_SHOWNORMAL);
    return reinterpret_cast<ULONG_PTR>(result) > 32;
}

void ShellExecuteEx(const c_StringView& file) {
    const c_WString wideFile = UTF8ToWide(file);
    SHELLEXECUTEINFOW information = {};
    information.cbSize = sizeof information;
    information.fMask = SEE_MASK_NO_CONSOLE;
    information.lpVerb = u"open";
    information.lpFile = wideFile.begin();
    information.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&information);
}

std::uint32_t GetProgramProcessId(const c_StringView& path) {
    if (path.IsEmpty()) {
        return 0;
    }
    const c_StringView fileName = GetFileNamePart(path);
    c_Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot.IsValid() && Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (IsSameTextNoCase(WideToUTF8(entry.szExeFile), fileName) &&
            IsSameTextNoCase(GetProcessImagePath(entry.th32ProcessID), path)) {
            return entry.th32ProcessID;
        }
    }
    return 0;
}

bool IsProgramRunning(const c_StringView& path) {
    return GetProgramProcessId(path) != 0;
}

c_String GetProcessImagePath(std::uint32_t processId) {
    c_Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    if (!snapshot.IsValid() || !Module32FirstW(snapshot.Get(), &module)) {
        return c_String();
    }
    return WideToUTF8(module.szExePath);
}

HANDLE OpenProcess(std::uint32_t access, bool inheritHandle, std::uint32_t processId) {
    return ::OpenProcess(access, inheritHandle ? TRUE : FALSE, processId);
}

std::uint32_t GetCurrentProcessId() {
    return ::GetCurrentProcessId();
}

} // namespace n_OSLayer
