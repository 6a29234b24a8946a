// The single-instance mutex and its name.

#include "oslayer/system/SingleInstance.h"

#include "oslayer/files/PathCalls.h"
#include "oslayer/threads/ThreadCalls.h"

#include <windows.h>

namespace {

c_String ReplaceSeparators(const c_StringView& path) {
    c_String name(path);
    name.Replace('\\', '-').Replace('/', '-').Replace(':', '-').Replace('.', '-').Replace(' ', '-');
    return name;
}

} // namespace

c_String GetSingleInstanceMutexName() {
    return ReplaceSeparators(n_OSLayer::GetModuleFileName());
}

c_String MakeSingleInstanceMutexName(const c_StringView& path) {
    c_String name = ReplaceSeparators(path);
    name.ReplaceAll("_64", "");
    return name;
}

bool IsAnotherInstanceRunning() {
    // The handle stays open on purpose: the mutex must live as long as this instance.
    n_OSLayer::CreateMutex(MakeSingleInstanceMutexName(n_OSLayer::GetModuleFileName()));
    return GetLastError() == ERROR_ALREADY_EXISTS;
}
