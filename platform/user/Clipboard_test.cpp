// Tests of the process's clipboard.

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

HGLOBAL MakeBlock(SIZE_T bytes) {
    return GlobalAlloc(GMEM_MOVEABLE, bytes);
}

// Opens and empties the clipboard for the test and closes it after.
class Clipboard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenClipboard(nullptr));
        ASSERT_TRUE(EmptyClipboard());
    }
    void TearDown() override { CloseClipboard(); }
};

TEST_F(Clipboard, FormatsListInTheOrderTheyWereSet) {
    HGLOBAL text = MakeBlock(2);
    HANDLE bitmap = reinterpret_cast<HANDLE>(0x5000);
    const UINT own = RegisterClipboardFormatW(u"Clipboard_test format");
    EXPECT_GE(own, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormatW(u"CLIPBOARD_TEST FORMAT"), own);
    EXPECT_NE(RegisterClipboardFormatW(u"Clipboard_test other"), own);
    EXPECT_EQ(RegisterWindowMessageW(u"clipboard_test Format"), own);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, text), text);
    EXPECT_EQ(SetClipboardData(CF_BITMAP, bitmap), bitmap);
    EXPECT_EQ(SetClipboardData(own, MakeBlock(1)) != nullptr, true);
    EXPECT_EQ(CountClipboardFormats(), 3);
    EXPECT_EQ(EnumClipboardFormats(0), static_cast<UINT>(CF_UNICODETEXT));
    EXPECT_EQ(EnumClipboardFormats(CF_UNICODETEXT), static_cast<UINT>(CF_BITMAP));
    EXPECT_EQ(EnumClipboardFormats(CF_BITMAP), own);
    EXPECT_EQ(EnumClipboardFormats(own), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), text);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP));
    EXPECT_EQ(GetClipboardData(CF_HDROP), nullptr);
}

TEST_F(Clipboard, ReplacedAndEmptiedBlocksAreFreed) {
    HGLOBAL first = MakeBlock(2);
    HGLOBAL second = MakeBlock(2);
    const DWORD before = GetClipboardSequenceNumber();
    SetClipboardData(CF_UNICODETEXT, first);
    SetClipboardData(CF_UNICODETEXT, second);
    EXPECT_EQ(CountClipboardFormats(), 1);
    EXPECT_EQ(GlobalSize(first), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EmptyClipboard();
    EXPECT_EQ(GlobalSize(second), 0u);
    EXPECT_EQ(CountClipboardFormats(), 0);
    EXPECT_EQ(GetClipboardSequenceNumber(), before + 3);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST_F(Clipboard, OneThreadHasItOpen) {
    std::thread other([] {
        EXPECT_FALSE(OpenClipboard(nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        EXPECT_FALSE(EmptyClipboard());
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
        EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);
        EXPECT_FALSE(CloseClipboard());
    });
    other.join();
    EXPECT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, MakeBlock(2)), nullptr);
    EXPECT_EQ(EnumClipboardFormats(0), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(0x7777)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_TRUE(OpenClipboard(nullptr));
}

TEST(RegisterClipboardFormatW, RefusesEmptyNames) {
    EXPECT_EQ(RegisterClipboardFormatW(u""), 0u);
    EXPECT_EQ(RegisterClipboardFormatW(nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
