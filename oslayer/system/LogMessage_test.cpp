// Tests of LogMessage and its sink.

#include "oslayer/system/LogMessage.h"

#include "strings/c_String.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<c_String> g_Lines;

void RecordLine(const c_StringView& line) {
    g_Lines.emplace_back(line);
}

TEST(LogMessage, DropsLinesWhileNoSinkIsSet) {
    g_Lines.clear();
    const t_LogSink previous = SetLogSink(nullptr);
    LogMessage("dropped");
    EXPECT_EQ(SetLogSink(RecordLine), nullptr);
    LogMessage("kept");
    EXPECT_EQ(SetLogSink(previous), RecordLine);
    LogMessage("dropped again");
    ASSERT_EQ(g_Lines.size(), 1u);
    EXPECT_EQ(g_Lines[0], "kept");
}

} // namespace
