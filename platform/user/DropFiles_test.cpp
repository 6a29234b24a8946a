// Tests of DragQueryFileW.

#include "platform/testing/TestDropFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The head of a list at offset 20, narrow or wide.
std::string Head(bool wide, DWORD offset = 20) {
    DROPFILES head = {};
    head.pFiles = offset;
    head.fWide = wide ? TRUE : FALSE;
    return std::string(reinterpret_cast<const char*>(&head), sizeof head);
}

TEST(DragQueryFileW, CountsLengthsAndCopies) {
    HGLOBAL block = MakeTestDropFiles({u"C:\\a.txt", u"C:\\Folder\\b\u00E4.txt"});
    HDROP drop = static_cast<HDROP>(block);
    EXPECT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileW(drop, 1, nullptr, 0), 16u);
    char16_t buffer[17];
    EXPECT_EQ(DragQueryFileW(drop, 1, buffer, 17), 16u);
    EXPECT_EQ(std::u16string(buffer), u"C:\\Folder\\b\u00E4.txt");
    EXPECT_EQ(DragQueryFileW(drop, 0, buffer, 5), 4u);
    EXPECT_EQ(std::u16string(buffer), u"C:\\a");
    EXPECT_EQ(DragQueryFileW(drop, 2, buffer, 17), 0u);
    GlobalFree(block);
}

TEST(DragQueryFileW, ReadsOnlyWithinTheBlock) {
    struct s_Case {
        const char* m_Name;
        std::string m_Bytes;
        UINT m_Count;
    } const cases[] = {
        {"narrow names", Head(false) + std::string("a\0b\xE4\0\0", 6), 2},
        {"last name without its NUL", Head(false) + std::string("a\0bc", 4), 1},
        {"list without the closing NUL", Head(true) + std::string("a\0\0\0", 4), 1},
        {"odd byte at the end", Head(true) + std::string("a\0b", 3), 0},
        {"offset inside the head", Head(false, 4) + std::string("a\0\0", 3), 0},
        {"offset past the block", Head(false, 4000) + std::string("a\0\0", 3), 0},
        {"short head", std::string("\x14\0\0\0", 4), 0},
        {"empty list", Head(true) + std::string("\0\0", 2), 0},
    };
    for (const s_Case& row : cases) {
        HGLOBAL block = MakeTestBlock(row.m_Bytes);
        EXPECT_EQ(DragQueryFileW(static_cast<HDROP>(block), 0xFFFFFFFF, nullptr, 0), row.m_Count) << row.m_Name;
        GlobalFree(block);
    }
    HGLOBAL narrow = MakeTestBlock(Head(false) + std::string("a\0b\x80\0\0", 6));
    char16_t buffer[4];
    DragQueryFileW(static_cast<HDROP>(narrow), 1, buffer, 4);
    EXPECT_EQ(std::u16string(buffer), u"b\u20AC");
    GlobalFree(narrow);
    EXPECT_EQ(DragQueryFileW(reinterpret_cast<HDROP>(0x9999), 0xFFFFFFFF, nullptr, 0), 0u);
}

} // namespace
