// Tests of c_TextOutput.

#include "oslayer/system/c_TextOutput.h"

#include <gtest/gtest.h>

namespace {

TEST(c_TextOutput, PrefixesItsNameAndPassesTheRestOn) {
    c_String seen;
    bool seenFlag = false;
    std::int32_t seenNumber = 0;
    c_TextOutput output("Threads", [&](const c_StringView& text, bool flag, std::int32_t number) {
        seen = text;
        seenFlag = flag;
        seenNumber = number;
    });
    output.Output("line", true, 3);
    EXPECT_EQ(seen, "Threads | line");
    EXPECT_TRUE(seenFlag);
    EXPECT_EQ(seenNumber, 3);
    c_TextOutput silent("Nobody", nullptr);
    silent.Output("line", false, 0);
}

} // namespace
