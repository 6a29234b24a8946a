// Tests of the names that are never replaced once they exist.

#include "installer/OverwritableFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(OverwritableFiles, ProtectsTheUsersSettingsAndData) {
    const struct {
        const char* m_Name;
        bool m_Overwritable;
    } cases[] = {
        {"DovrikChart_64.exe", true},
        {"Readme.txt", true},
        {"Dovrik4.config", false},
        {"Data\\DOVRIK4.CONFIG", false},
        {"Other4.config", false},
        {"layout.TwConfig", false},
        {"Chart.cht", false},
        {"Mine.StdyCollct", false},
        {"Clean Chart.StdyCollct", true},
        {"Data/clean chart.stdycollct", true},
        {"C:Clean Chart.StdyCollct", true},
        {"Old Clean Chart.StdyCollct", false},
        {"ES.dly", false},
        {"Feed.QVID", false},
        {"Settings.cfg", false},
        {"App.config", false},
        {"cfg", true},
        {"Settings.cfg.bak", true},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(IsOverwritableFile(row.m_Name), row.m_Overwritable) << row.m_Name;
    }
}

} // namespace
