// Tests of the n_OSLayer clipboard calls.

#include "oslayer/windows/ClipboardCalls.h"

#include "oslayer/system/MemoryCalls.h"

#include "platform/testing/TestDropFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

void ClearClipboard() {
    ASSERT_TRUE(n_OSLayer::OpenClipboard());
    n_OSLayer::EmptyClipboard();
    n_OSLayer::CloseClipboard();
}

c_String ReadText() {
    n_OSLayer::OpenClipboard();
    c_String text = n_OSLayer::GetClipboardText();
    n_OSLayer::CloseClipboard();
    return text;
}

TEST(ClipboardCalls, AppendBuildsOnTheCurrentText) {
    ClearClipboard();
    n_OSLayer::AppendClipboardText("text", ", ");
    EXPECT_STREQ(ReadText().GetChars(), ", text");
    n_OSLayer::AppendClipboardText("more \xE2\x82\xAC", "|");
    EXPECT_STREQ(ReadText().GetChars(), ", text|more \xE2\x82\xAC");
    EXPECT_TRUE(n_OSLayer::SetClipboardText("new"));
    EXPECT_STREQ(ReadText().GetChars(), "new");
    EXPECT_TRUE(n_OSLayer::SetClipboardText(""));
    EXPECT_TRUE(n_OSLayer::IsClipboardTextAvailable());
    EXPECT_STREQ(ReadText().GetChars(), "");
}

TEST(ClipboardCalls, TextIsCutAtItsNulOrTheBlocksEnd) {
    struct s_Case {
        const char* m_Name;
        std::u16string m_Units;
        const char* m_Text;
    } const cases[] = {
        {"NUL inside", std::u16string(u"ab\0cd\0", 6), "ab"},
        {"no NUL: the last unit is taken for it", std::u16string(u"abc", 3), "ab"},
        {"empty block", std::u16string(), ""},
        {"one unit: the room of the NUL", std::u16string(u"a", 1), ""},
    };
    for (const s_Case& row : cases) {
        ASSERT_TRUE(n_OSLayer::OpenClipboard());
        n_OSLayer::EmptyClipboard();
        HGLOBAL block = n_OSLayer::CopyToGlobalMemory(row.m_Units.data(), row.m_Units.size() * 2);
        n_OSLayer::SetClipboardHandle(CF_BITMAP, block);
        EXPECT_STREQ(n_OSLayer::GetClipboardText().GetChars(), row.m_Text) << row.m_Name;
        n_OSLayer::CloseClipboard();
    }
    ClearClipboard();
    EXPECT_STREQ(ReadText().GetChars(), "");
}

TEST(ClipboardCalls, FilesAndFormats) {
    ASSERT_TRUE(n_OSLayer::OpenClipboard());
    n_OSLayer::EmptyClipboard();
    EXPECT_TRUE(n_OSLayer::GetClipboardFiles().empty());
    EXPECT_TRUE(n_OSLayer::GetClipboardFormats().empty());
    SetClipboardData(CF_HDROP, MakeTestDropFiles({u"C:\\a.txt", u"D:\\\u00E4"}));
    SetClipboardData(CF_BITMAP, reinterpret_cast<HANDLE>(0x5000));
    const std::uint32_t own = n_OSLayer::RegisterClipboardFormat("ClipboardCalls \xC3\xA4");
    SetClipboardData(own, n_OSLayer::CopyToGlobalMemory("x", 1));
    const std::vector<c_String> files = n_OSLayer::GetClipboardFiles();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_STREQ(files[0].GetChars(), "C:\\a.txt");
    EXPECT_STREQ(files[1].GetChars(), "D:\\\xC3\xA4");
    EXPECT_EQ(n_OSLayer::GetClipboardFormats(), (std::vector<std::uint32_t>{CF_HDROP, CF_BITMAP, own}));
    EXPECT_TRUE(n_OSLayer::IsClipboardFileListAvailable());
    EXPECT_TRUE(n_OSLayer::IsClipboardBitmapAvailable());
    EXPECT_FALSE(n_OSLayer::IsClipboardTextAvailable());
    EXPECT_EQ(n_OSLayer::RegisterClipboardFormat("clipboardcalls \xC3\xA4"), own);
    n_OSLayer::EmptyClipboard();
    n_OSLayer::CloseClipboard();
}

TEST(ClipboardCalls, NothingChangesWhileAnotherThreadHasItOpen) {
    ASSERT_TRUE(n_OSLayer::SetClipboardText("kept"));
    ASSERT_TRUE(n_OSLayer::OpenClipboard());
    const std::uint32_t sequence = n_OSLayer::GetClipboardSequenceNumber();
    std::thread other([] {
        EXPECT_FALSE(n_OSLayer::SetClipboardText("lost"));
        n_OSLayer::AppendClipboardText("lost", " ");
    });
    other.join();
    EXPECT_EQ(n_OSLayer::GetClipboardSequenceNumber(), sequence);
    EXPECT_STREQ(n_OSLayer::GetClipboardText().GetChars(), "kept");
    n_OSLayer::CloseClipboard();
}

} // namespace
