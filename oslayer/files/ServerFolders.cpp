// The server data folder and the computer's server name.

#include "oslayer/files/ServerFolders.h"

#include "oslayer/files/FileCalls.h"
#include "oslayer/files/PathCalls.h"
#include "oslayer/files/WholeFiles.h"

#include "strings/c_StringView.h"

c_String JoinTwoStrings(const c_StringView& first, const c_StringView& second) {
    return Concat({first, second});
}

c_String GetServerDataFilePath(const c_StringView& fileName) {
    return FindServerDataFilePath(n_OSLayer::GetProgramFolder(), fileName);
}

c_String FindServerDataFilePath(const c_StringView& programFolder, const c_StringView& fileName) {
    const c_StringViewNoCase folder(programFolder.begin(), programFolder.GetLength());
    for (const char* marker : {"\\DovrikChartServer\\", "\\DovrikChartServer_Trading\\"}) {
        const int found = folder.ReverseFind(marker);
        if (found >= 0) {
            return JoinTwoStrings(programFolder.Left(found + c_StringView(marker).GetLength()), fileName);
        }
    }
    return c_String();
}

c_String GetComputerServerName() {
    return ReadComputerServerName(n_OSLayer::GetProgramFolder());
}

c_String ReadComputerServerName(const c_StringView& programFolder) {
    const c_String path = FindServerDataFilePath(programFolder, "ComputerServerName.txt");
    if (!n_OSLayer::FileExists(path)) {
        return c_String();
    }
    c_String name = ReadFileText(path);
    name.Trim();
    return name;
}
