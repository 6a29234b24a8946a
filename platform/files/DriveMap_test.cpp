// Tests of the drive map: the default map, PLATFORM_DRIVES, and the drive that holds a Linux path.

#include "platform/files/DriveMap.h"

#include "platform/files/DrivePaths.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/WideText.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::string FolderOf(char16_t letter) {
    std::string folder;
    return n_Platform::c_DriveMap::Get().FindFolder(letter, folder) ? folder : "<unmapped>";
}

TEST(DriveMap, ShowsLinuxPathsUnderTheDeepestDrive) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    c_TemporaryDrives::SetMap("C=" + drives.GetC() + ";E=" + drives.GetC() + "/e;Z=/");
    const struct {
        std::string m_Linux;
        const char* m_Drive;
    } cases[] = {
        {drives.GetC() + "/x", "C:\\x"},   {drives.GetC() + "/e/f", "E:\\f"}, {drives.GetC() + "/e", "E:\\"},
        {drives.GetC() + "/ex", "C:\\ex"}, {"/usr/bin", "Z:\\usr\\bin"},      {"/", "Z:\\"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(Narrow(n_Platform::ToDrivePath(row.m_Linux)), row.m_Drive) << row.m_Linux;
    }
}

TEST(DriveMap, DefaultMapIsHomeAsCAndRootAsZ) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome == nullptr ? "" : oldHome;
    setenv("HOME", drives.GetD().c_str(), 1);
    unsetenv(n_Platform::DRIVE_MAP_VARIABLE);
    n_Platform::ReloadDriveMap();
    std::string linuxPath;
    EXPECT_TRUE(n_Platform::ToLinuxPath(u"C:\\notes.txt", linuxPath));
    EXPECT_EQ(linuxPath, drives.GetD() + "/notes.txt");
    EXPECT_TRUE(n_Platform::ToLinuxPath(u"Z:\\tmp", linuxPath));
    EXPECT_EQ(linuxPath, "/tmp");
    EXPECT_EQ(Narrow(n_Platform::ToDrivePath(drives.GetD() + "/x")), "C:\\x");
    EXPECT_EQ(Narrow(n_Platform::ToDrivePath("/etc")), "Z:\\etc");
    if (oldHome == nullptr) {
        unsetenv("HOME");
    } else {
        setenv("HOME", savedHome.c_str(), 1);
    }
}

TEST(DriveMap, MapIgnoresMalformedEntries) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    c_TemporaryDrives::SetMap("C=relative;1=/tmp;;D=" + drives.GetD());
    std::string linuxPath;
    EXPECT_FALSE(n_Platform::ToLinuxPath(u"C:\\x", linuxPath));
    EXPECT_TRUE(n_Platform::ToLinuxPath(u"D:\\x", linuxPath));
    EXPECT_EQ(linuxPath, drives.GetD() + "/x");
}

TEST(DriveMap, FoldersByLetterInEitherCase) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    c_TemporaryDrives::SetMap("c=" + drives.GetC() + "//sub/../;D=/");
    EXPECT_EQ(FolderOf(u'C'), drives.GetC()) << "a folder is kept in its resolved form";
    EXPECT_EQ(FolderOf(u'c'), drives.GetC());
    EXPECT_EQ(FolderOf(u'D'), "") << "the root is the empty folder";
    EXPECT_EQ(FolderOf(u'E'), "<unmapped>");
}

} // namespace
