// Tests of the process and module snapshots.

#include "platform/testing/WideText.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>
#include <windows.h>

#include <climits>
#include <unistd.h>

namespace {

std::string OwnExecutableName() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string text(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    return text.substr(text.rfind('/') + 1);
}

TEST(ProcessSnapshots, ListTheRunningProcessesWithTheirExecutables) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    bool foundSelf = false;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        ++count;
        if (entry.th32ProcessID == GetCurrentProcessId()) {
            foundSelf = true;
            EXPECT_EQ(Narrow(entry.szExeFile), OwnExecutableName());
            EXPECT_EQ(entry.th32ParentProcessID, static_cast<DWORD>(getppid()));
            EXPECT_GE(entry.cntThreads, 1u);
        }
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(foundSelf);
    EXPECT_GT(count, 1);
    EXPECT_TRUE(Process32FirstW(snapshot, &entry)) << "First starts the walk again";
    entry.dwSize = 8;
    EXPECT_FALSE(Process32NextW(snapshot, &entry));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_LENGTH));
    EXPECT_TRUE(CloseHandle(snapshot));
}

TEST(ProcessSnapshots, ModuleSnapshotHoldsTheExecutable) {
    for (DWORD process : {DWORD(0), GetCurrentProcessId()}) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
        ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
        MODULEENTRY32W module = {};
        module.dwSize = sizeof module;
        ASSERT_TRUE(Module32FirstW(snapshot, &module));
        WCHAR ownPath[MAX_PATH];
        ASSERT_GT(GetModuleFileNameW(nullptr, ownPath, MAX_PATH), 0u);
        EXPECT_EQ(Narrow(module.szExePath), Narrow(ownPath));
        EXPECT_EQ(Narrow(module.szModule), OwnExecutableName());
        EXPECT_EQ(module.th32ProcessID, GetCurrentProcessId());
        EXPECT_FALSE(Module32NextW(snapshot, &module));
        CloseHandle(snapshot);
    }
    EXPECT_EQ(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0x7FFFFFF0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
