// Tests of the executable names and the execute bits they get.

#include "platform/files/ExecutableNames.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(ExecutableNames, EndInExeInAnyCase) {
    const struct {
        const char* m_Name;
        bool m_Executable;
    } cases[] = {
        {"DovrikChart_64.exe", true}, {"SETUP.EXE", true},      {"a.eXe", true},  {".exe", true}, {"exe", false},
        {"a.exe.tmp", false},         {"a.exe.partial", false}, {"a_exe", false},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(n_Platform::IsExecutableName(row.m_Name), row.m_Executable) << row.m_Name;
    }
}

TEST(ExecutableNames, TheUmaskDecidesTheExecuteBits) {
    const mode_t oldMask = umask(077);
    EXPECT_EQ(n_Platform::GetAllowedExecuteBits(), static_cast<mode_t>(S_IXUSR));
    umask(002);
    EXPECT_EQ(n_Platform::GetAllowedExecuteBits(), static_cast<mode_t>(S_IXUSR | S_IXGRP | S_IXOTH));
    umask(oldMask);
}

} // namespace
