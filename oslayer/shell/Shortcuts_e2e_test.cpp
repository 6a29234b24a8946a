// End-to-end test of CreateShortcut against an independent reader: lnkinfo (liblnk-utils) reads the
// shortcut and reports the target, the description and the icon location that we set, as our own
// reader does.

#include "oslayer/shell/Shortcuts.h"

#include "oslayer/testing/ShortcutReading.h"
#include "oslayer/testing/c_LogRecorder.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>

namespace {

// lnkinfo's "name : value" lines, by name.
std::map<std::string, std::string> RunLnkinfo(const std::string& linuxPath) {
    std::map<std::string, std::string> fields;
    FILE* output = popen(("lnkinfo '" + linuxPath + "' 2>&1").c_str(), "r");
    if (output == nullptr) {
        return fields;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, output) != nullptr) {
        const std::string text(line);
        const std::size_t colon = text.find(": ");
        if (colon == std::string::npos) {
            continue;
        }
        const std::size_t nameStart = text.find_first_not_of('\t');
        const std::size_t nameEnd = text.find_last_not_of(" \t", colon - 1);
        fields[text.substr(nameStart, nameEnd + 1 - nameStart)] = text.substr(colon + 2, text.size() - colon - 3);
    }
    pclose(output);
    return fields;
}

TEST(ShortcutsWithLnkinfo, ReportsTheTargetDescriptionAndIcon) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    std::filesystem::create_directory(drives.GetC() + "/Apps");
    WriteTestFile(drives.GetC() + "/Apps/App_64.exe", "#!/bin/sh\n");
    c_LogRecorder log;
    const struct { const char* m_Icon; } cases[] = {{"C:\\Apps\\app.ico"}, {""}};
    for (const auto& row : cases) {
        CreateShortcut("C:\\Apps\\App_64.exe", "C:\\", "App_64 (C__Apps)", row.m_Icon);
        EXPECT_EQ(log.TakeLines(), std::vector<std::string>());
        std::map<std::string, std::string> fields = RunLnkinfo(drives.GetC() + "/App_64 (C__Apps).lnk");
        EXPECT_EQ(fields["Local path"], "C:\\Apps\\App_64.exe");
        EXPECT_EQ(fields["Description"], "App_64 (C__Apps)");
        EXPECT_EQ(fields.count("Icon location"), *row.m_Icon == '\0' ? 0u : 1u);
        EXPECT_EQ(fields["Icon location"], row.m_Icon);
        EXPECT_EQ(fields["Drive type"], "Fixed (3)");
        const s_ReadShortcut ours = ReadShortcut("C:\\App_64 (C__Apps).lnk");
        EXPECT_TRUE(ours.m_Loaded);
        EXPECT_EQ(ours.m_Target, fields["Local path"]) << "our own reader gives the same";
        EXPECT_EQ(ours.m_Description, fields["Description"]);
        EXPECT_EQ(ours.m_Icon, fields["Icon location"]);
    }
}

} // namespace
