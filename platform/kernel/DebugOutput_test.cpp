// Tests of OutputDebugStringW: one line on standard error per call.

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(OutputDebugStringW, WritesOneLinePerCall) {
    testing::internal::CaptureStderr();
    OutputDebugStringW(u"first\r\n");
    OutputDebugStringW(u"two\nlines\r\n\n");
    OutputDebugStringW(u"Gr\u00FC\u00DFe");
    OutputDebugStringW(nullptr);
    OutputDebugStringW(u"");
    OutputDebugStringW(u"last");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "first\ntwo lines\nGr\xC3\xBC\xC3\x9F"
                                                      "e\n\nlast\n");
}

} // namespace
