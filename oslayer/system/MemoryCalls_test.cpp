// Tests of the n_OSLayer memory blocks.

#include "oslayer/system/MemoryCalls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::u16string ReadGlobalText(HGLOBAL block) {
    const auto* units = static_cast<const char16_t*>(n_OSLayer::GlobalLock(block));
    std::u16string text(units, n_OSLayer::GlobalSize(block) / 2);
    n_OSLayer::GlobalUnlock(block);
    return text;
}

TEST(CreateGlobalText, HoldsTheUTF16TextAndItsNul) {
    struct s_Case {
        const char* m_Text;
        std::u16string m_Units;
    } const cases[] = {
        {"", std::u16string(1, u'\0')},
        {"ab", std::u16string(u"ab\0", 3)},
        {"\xC3\xA4\xE2\x82\xAC", std::u16string(u"\u00E4\u20AC\0", 3)},
    };
    for (const s_Case& row : cases) {
        HGLOBAL block = n_OSLayer::CreateGlobalText(row.m_Text);
        ASSERT_NE(block, nullptr) << row.m_Text;
        EXPECT_EQ(ReadGlobalText(block), row.m_Units) << row.m_Text;
        EXPECT_EQ(n_OSLayer::GlobalFree(block), nullptr);
    }
}

TEST(CopyToGlobalMemory, CopiesTheBytesIntoAMovableBlock) {
    HGLOBAL block = n_OSLayer::CopyToGlobalMemory("xyz", 3);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(n_OSLayer::GlobalSize(block), 3u);
    void* bytes = n_OSLayer::GlobalLock(block);
    EXPECT_NE(bytes, static_cast<void*>(block));
    EXPECT_EQ(std::memcmp(bytes, "xyz", 3), 0);
    // Unlocked once by the copy: this lock is the only one.
    EXPECT_FALSE(n_OSLayer::GlobalUnlock(block));
    n_OSLayer::GlobalFree(block);
    HGLOBAL empty = n_OSLayer::CopyToGlobalMemory(nullptr, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(n_OSLayer::GlobalSize(empty), 0u);
    n_OSLayer::GlobalFree(empty);
}

TEST(LocalAlloc, GivesZeroedBlocks) {
    auto* bytes = static_cast<unsigned char*>(n_OSLayer::LocalAlloc(16));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0] | bytes[15], 0);
    EXPECT_EQ(n_OSLayer::LocalFree(bytes), nullptr);
}

TEST(MemoryMulDiv, Rounds) {
    EXPECT_EQ(n_OSLayer::MulDiv(3, 1, 2), 2);
    EXPECT_EQ(n_OSLayer::MulDiv(3, 1, 0), -1);
}

TEST(FileMapping, NamesInUTF8) {
    HANDLE created =
        n_OSLayer::CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 32, "Mapping \xC3\xA4");
    ASSERT_NE(created, nullptr);
    HANDLE opened = n_OSLayer::OpenFileMapping(FILE_MAP_READ, false, "Mapping \xC3\xA4");
    EXPECT_NE(opened, nullptr);
    EXPECT_EQ(n_OSLayer::OpenFileMapping(FILE_MAP_READ, false, "Mapping a"), nullptr);
    CloseHandle(opened);
    CloseHandle(created);
}

} // namespace
