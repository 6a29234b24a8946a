// Tests of n_OSLayer::OutputDebugString and WriteDebugLine.

#include "oslayer/system/DebugOutput.h"

#include <gtest/gtest.h>

namespace {

TEST(OutputDebugString, HandsTheUtf8TextToTheDebugChannel) {
    testing::internal::CaptureStderr();
    n_OSLayer::OutputDebugString("Gr\xC3\xBC\xC3\x9F"
                                 "e aus dem Installer\r\n");
    n_OSLayer::OutputDebugString(c_StringView("cut\0here", 8));
    n_OSLayer::OutputDebugString("");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Gr\xC3\xBC\xC3\x9F"
                                                      "e aus dem Installer\ncut\n\n");
}

// Each call is one line of the debug channel: the text, then the line break on its own.
TEST(WriteDebugLine, WritesTheTextThenTheLineBreak) {
    testing::internal::CaptureStderr();
    WriteDebugLine("one");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "one\n\n");
}

} // namespace
