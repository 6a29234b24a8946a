// Tests of the single-instance mutex, with other processes of this program.

#include "oslayer/system/SingleInstance.h"

#include "oslayer/files/PathCalls.h"

#include "platform/files/DrivePaths.h"
#include "platform/testing/ChildTestProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr const char* CHILD_VARIABLE = "OSLAYER_TEST_SINGLE_INSTANCE";

TEST(SingleInstance, MutexNameFromThePath) {
    struct s_Case {
        const char* m_Path;
        const char* m_Name;
    } const cases[] = {
        {"C:\\Apps\\X_64.exe", "C--Apps-X-exe"},          {"C:\\Apps\\X.exe", "C--Apps-X-exe"},
        {"C:\\x_64dir\\a.exe", "C--xdir-a-exe"},          {"D:\\My Apps/b.c.exe", "D--My-Apps-b-c-exe"},
        {"C:\\Apps\\X_ARM64.exe", "C--Apps-X_ARM64-exe"},
    };
    for (const s_Case& row : cases) {
        EXPECT_STREQ(MakeSingleInstanceMutexName(row.m_Path).GetChars(), row.m_Name) << row.m_Path;
    }
}

TEST(SingleInstance, NameKeepsTheProgramPathsLength) {
    const c_String path = n_OSLayer::GetModuleFileName();
    const c_String name = GetSingleInstanceMutexName();
    EXPECT_EQ(name.GetLength(), path.GetLength());
    EXPECT_EQ(name.FindFirstOf({'\\', '/', ':', '.', ' '}), -1) << name.GetChars();
}

TEST(SingleInstance, SecondProcessSeesTheFirstUntilItEnds) {
    const std::string filter = "SingleInstanceChild.ReportsAnotherInstance";
    c_ChildTestProcess first(filter, CHILD_VARIABLE, "hold");
    ASSERT_TRUE(first.WaitForLine("ANOTHER 0"));
    {
        c_ChildTestProcess second(filter, CHILD_VARIABLE, "leave");
        EXPECT_TRUE(second.WaitForLine("ANOTHER 1"));
    }
    first.Finish();
    c_ChildTestProcess third(filter, CHILD_VARIABLE, "leave");
    EXPECT_TRUE(third.WaitForLine("ANOTHER 0"));
}

// Each program path has an instance of its own, so tests and builds given their own module paths run
// side by side.
TEST(SingleInstance, ProcessesWithOtherModulePathsDoNotSeeEachOther) {
    const std::string filter = "SingleInstanceChild.ReportsAnotherInstance";
    setenv(n_Platform::MODULE_PATH_VARIABLE, "/tmp/single-instance-first/Installer.exe", 1);
    c_ChildTestProcess first(filter, CHILD_VARIABLE, "hold");
    ASSERT_TRUE(first.WaitForLine("ANOTHER 0"));
    setenv(n_Platform::MODULE_PATH_VARIABLE, "/tmp/single-instance-second/Installer.exe", 1);
    c_ChildTestProcess second(filter, CHILD_VARIABLE, "leave");
    unsetenv(n_Platform::MODULE_PATH_VARIABLE);
    EXPECT_TRUE(second.WaitForLine("ANOTHER 0"));
}

// The child side of the tests above; skipped when run on its own.
TEST(SingleInstanceChild, ReportsAnotherInstance) {
    const char* mode = std::getenv(CHILD_VARIABLE);
    if (mode == nullptr) {
        GTEST_SKIP() << "runs only as the child of the SingleInstance tests";
    }
    TellParent(IsAnotherInstanceRunning() ? "ANOTHER 1" : "ANOTHER 0");
    if (std::string(mode) == "hold") {
        WaitForParentToFinish();
    }
}

} // namespace
