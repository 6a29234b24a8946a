// Tests of the n_OSLayer path wrappers: path parts, full paths, the program's path, the current folder
// and the environment.

#include "oslayer/files/PathCalls.h"

#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

TEST(PathParts, SplitAtTheLastSeparator) {
    const struct {
        const char* m_Path;
        const char* m_Folder;
        const char* m_Name;
    } cases[] = {
        {"C:\\a\\b.txt", "C:\\a\\", "b.txt"}, {"C:/a/b.txt", "C:/a/", "b.txt"}, {"C:file.txt", "C:", "file.txt"},
        {"file.txt", "", "file.txt"},         {"C:\\a\\", "C:\\a\\", ""},       {"", "", ""},
        {"a\\b/c:d", "a\\b/c:", "d"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(ToStd(n_OSLayer::GetFolderPart(row.m_Path)), row.m_Folder) << row.m_Path;
        EXPECT_EQ(ToStd(n_OSLayer::GetFileNamePart(row.m_Path)), row.m_Name) << row.m_Path;
    }
}

TEST(PathCalls, FullPathsAndTheCurrentFolder) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    EXPECT_EQ(ToStd(n_OSLayer::GetFullPathName("a\\..\\b\\c.txt")), "C:\\b\\c.txt");
    EXPECT_EQ(ToStd(n_OSLayer::GetFullPathName(c_StringView((std::string(300, 'x')).c_str()))),
              "C:\\" + std::string(300, 'x'));
    EXPECT_TRUE(n_OSLayer::SetCurrentDirectory("D:\\"));
    EXPECT_EQ(ToStd(n_OSLayer::GetFullPathName("x")), "D:\\x");
    EXPECT_FALSE(n_OSLayer::SetCurrentDirectory("D:\\missing"));
}

TEST(PathCalls, EnvironmentVariables) {
    setenv("OSLAYER_TEST_VARIABLE", std::string(100, 'v').c_str(), 1);
    EXPECT_EQ(ToStd(n_OSLayer::GetEnvironmentVariable("OSLAYER_TEST_VARIABLE")), std::string(100, 'v'));
    unsetenv("OSLAYER_TEST_VARIABLE");
    EXPECT_EQ(ToStd(n_OSLayer::GetEnvironmentVariable("OSLAYER_TEST_VARIABLE")), "");
}

std::string LinuxExecutable() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return std::string(path, length > 0 ? static_cast<std::size_t>(length) : 0);
}

TEST(PathCalls, ProgramPathAndFolder) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    c_TemporaryDrives::SetMap("Z=/");
    std::string expected = "Z:" + LinuxExecutable();
    for (char& c : expected) {
        c = c == '/' ? '\\' : c;
    }
    EXPECT_EQ(ToStd(n_OSLayer::GetModuleFileName()), expected);
    EXPECT_EQ(ToStd(n_OSLayer::GetProgramFolder()), expected.substr(0, expected.rfind('\\') + 1));
}

constexpr char CHILD_EXPECTED_PATH[] = "OSLAYER_TEST_EXPECTED_MODULE_PATH";

// The executable linked into a folder deep enough that its path passes 256 and 512 characters,
// started to check its own name; the child side is below.
TEST(PathCalls, ModuleFileNameLongerThanTheFirstBuffers) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    std::string linuxFolder = drives.GetC();
    std::string windowsFolder = "C:";
    for (int level = 0; level < 6; ++level) {
        const std::string name(100, static_cast<char>('a' + level));
        linuxFolder += "/" + name;
        windowsFolder += "\\" + name;
        ASSERT_EQ(mkdir(linuxFolder.c_str(), 0755), 0);
    }
    const std::string copy = linuxFolder + "/tests.exe";
    if (link(LinuxExecutable().c_str(), copy.c_str()) != 0) {
        std::filesystem::copy_file(LinuxExecutable(), copy);
        ASSERT_TRUE(MakeTestFileExecutable(copy));
    }
    setenv(CHILD_EXPECTED_PATH, (windowsFolder + "\\tests.exe").c_str(), 1);
    char filter[] = "--gtest_filter=ModuleFileNameChild.*";
    char* arguments[] = {const_cast<char*>(copy.c_str()), filter, nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, copy.c_str(), nullptr, nullptr, arguments, environ), 0);
    unsetenv(CHILD_EXPECTED_PATH);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(ModuleFileNameChild, GivesTheWholeLongPath) {
    const char* expected = std::getenv(CHILD_EXPECTED_PATH);
    if (expected == nullptr) {
        GTEST_SKIP() << "runs only as the child of ModuleFileNameLongerThanTheFirstBuffers";
    }
    EXPECT_GT(std::string(expected).size(), 600u);
    EXPECT_EQ(ToStd(n_OSLayer::GetModuleFileName()), expected);
}

TEST(PathCalls, KnownFoldersAreUnderTheTestsDrivesWithASeparator) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    const struct {
        c_String (*m_Get)();
        const char* m_Folder;
    } cases[] = {
        {&n_OSLayer::GetDesktopFolder, "C:\\Desktop\\"},
        {&n_OSLayer::GetCommonProgramsFolder, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\"},
        {&n_OSLayer::GetSystemFolder, "C:\\Windows\\System32\\"},
        {&n_OSLayer::GetProgramFilesFolder, "C:\\Program Files\\"},
        {&n_OSLayer::GetProgramFilesX86Folder, "C:\\Program Files (x86)\\"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(ToStd(row.m_Get()), row.m_Folder);
    }
    c_TemporaryDrives::SetMap("D=" + drives.GetD());
    EXPECT_EQ(ToStd(n_OSLayer::GetProgramFilesFolder()), "") << "without a C: drive";
}

} // namespace
