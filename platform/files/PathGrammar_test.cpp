// Tests of the path grammar: the form of a path text, its components and its full form as text.

#include "platform/files/PathGrammar.h"

#include "platform/testing/WideText.h"

#include <gtest/gtest.h>

namespace {

const char* FormName(n_Platform::e_PathForm form) {
    switch (form) {
        case n_Platform::e_PathForm::UNC:
            return "UNC";
        case n_Platform::e_PathForm::DRIVE:
            return "drive";
        case n_Platform::e_PathForm::POSIX:
            return "POSIX";
        case n_Platform::e_PathForm::ROOTED:
            return "rooted";
        case n_Platform::e_PathForm::RELATIVE:
            return "relative";
    }
    return "?";
}

TEST(PathGrammar, FormsOfPaths) {
    const struct {
        const char* m_Path;
        const char* m_Form;
        char m_Letter;
        const char* m_Rest;
    } cases[] = {
        {"C:\\a", "drive", 'C', "\\a"},
        {"d:rel", "drive", 'd', "rel"},
        {"\\\\server\\share", "UNC", 0, "server\\share"},
        {"//server/share", "UNC", 0, "server/share"},
        {"\\\\?\\UNC\\server\\share", "UNC", 0, "server\\share"},
        {"\\\\?\\unc/server", "UNC", 0, "server"},
        {"\\\\?\\D:\\x", "drive", 'D', "\\x"},
        {"/usr/bin", "POSIX", 0, "/usr/bin"},
        {"\\top", "rooted", 0, "\\top"},
        {"rel\\x", "relative", 0, "rel\\x"},
        {"1:x", "relative", 0, "1:x"},
        {"C", "relative", 0, "C"},
    };
    for (const auto& row : cases) {
        const std::u16string path = Wide(row.m_Path);
        n_Platform::s_PathSyntax syntax;
        ASSERT_TRUE(n_Platform::ReadPathSyntax(path, syntax)) << row.m_Path;
        EXPECT_STREQ(FormName(syntax.m_Form), row.m_Form) << row.m_Path;
        EXPECT_EQ(syntax.m_Letter, static_cast<char16_t>(row.m_Letter)) << row.m_Path;
        EXPECT_EQ(Narrow(std::u16string(syntax.m_Rest)), row.m_Rest) << row.m_Path;
    }
    n_Platform::s_PathSyntax syntax;
    EXPECT_FALSE(n_Platform::ReadPathSyntax(u"", syntax));
    EXPECT_FALSE(n_Platform::ReadPathSyntax(u"\\\\?\\", syntax)) << "nothing after the long-path prefix";
}

TEST(PathGrammar, ComponentsAndTheirText) {
    const struct {
        const char* m_Name;
        n_Platform::e_RootKind m_Kind;
        const char* m_Root;
        const char* m_Text;
        const char* m_Full;
        const char* m_Linux;
    } cases[] = {
        {"separators collapse", n_Platform::e_RootKind::DRIVE, "C:", "\\a//b\\\\c", "C:\\a\\b\\c", "/a/b/c"},
        {"dots resolve", n_Platform::e_RootKind::DRIVE, "C:", "a\\.\\b\\..\\c", "C:\\a\\c", "/a/c"},
        {"dot-dot stops at the root", n_Platform::e_RootKind::DRIVE, "C:", "..\\..\\x", "C:\\x", "/x"},
        {"a trailing separator stays", n_Platform::e_RootKind::DRIVE, "C:", "a\\", "C:\\a\\", "/a"},
        {"a drive root ends with its separator", n_Platform::e_RootKind::DRIVE, "C:", "", "C:\\", ""},
        {"POSIX paths use '/'", n_Platform::e_RootKind::POSIX, "", "/usr//bin/", "/usr/bin/", "/usr/bin"},
        {"the POSIX root", n_Platform::e_RootKind::POSIX, "", "/", "/", ""},
    };
    for (const auto& row : cases) {
        n_Platform::s_FullPath path;
        path.m_Kind = row.m_Kind;
        path.m_Root = Wide(row.m_Root);
        n_Platform::AppendComponents(Wide(row.m_Text), path);
        EXPECT_EQ(Narrow(n_Platform::FormatFullPath(path)), row.m_Full) << row.m_Name;
        EXPECT_EQ(n_Platform::JoinLinux(path.m_Components), row.m_Linux) << row.m_Name;
    }
}

TEST(PathGrammar, UncRootsTakeServerAndShare) {
    const struct {
        const char* m_Text;
        const char* m_Full;
    } cases[] = {
        {"server\\share\\a\\..\\b", "\\\\server\\share\\b"},
        {"server/share", "\\\\server\\share"},
        {"server", "\\\\server"},
        {"server\\share\\dir\\", "\\\\server\\share\\dir\\"},
    };
    for (const auto& row : cases) {
        const n_Platform::s_FullPath path = n_Platform::ReadUncPath(Wide(row.m_Text));
        EXPECT_EQ(path.m_Kind, n_Platform::e_RootKind::UNC);
        EXPECT_EQ(Narrow(n_Platform::FormatFullPath(path)), row.m_Full) << row.m_Text;
    }
}

} // namespace
