#pragma once
// Test helper: a program that records how it was started. It is a shell script named ".exe",
// written through the layer (which gives it the execute bit), that writes its arguments, one a
// line, and then its current folder into record.txt beside itself.

#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestFiles.h"

#include <windows.h>

#include <cstdio>
#include <string>

class c_RecordingProgram {
public:
    // path: where the program goes (its folder must exist); linuxFolder: that folder on Linux.
    c_RecordingProgram(const char16_t* path, const std::string& linuxFolder)
        : m_RecordPath(linuxFolder + "/record.txt") {
        static constexpr char SCRIPT[] = "#!/bin/sh\n"
                                         "out=\"$(dirname \"$0\")/record.new\"\n"
                                         "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out\"\n"
                                         "pwd >> \"$out\"\n"
                                         "mv \"$out\" \"$(dirname \"$0\")/record.txt\"\n";
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        DWORD written = 0;
        m_Ready = file != INVALID_HANDLE_VALUE && WriteFile(file, SCRIPT, sizeof SCRIPT - 1, &written, nullptr) &&
                  written == sizeof SCRIPT - 1;
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
    }

    bool IsReady() const { return m_Ready; }
    const std::string& GetRecordPath() const { return m_RecordPath; }

    // The record once it is there, which is then removed for the next start; empty after the wait.
    std::string WaitForRecord() const {
        if (!n_Platform::WaitUntil([&] { return TestFileExists(m_RecordPath); })) {
            return std::string();
        }
        const std::string record = ReadTestFile(m_RecordPath);
        std::remove(m_RecordPath.c_str());
        return record;
    }

private:
    std::string m_RecordPath;
    bool m_Ready = false;
};
