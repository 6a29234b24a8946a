// Tests of the message-box caption provider.

#include "oslayer/windows/MessageBoxCaption.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MessageBoxCaption, ProviderNamesTheCaptionUntilReplaced) {
    EXPECT_STREQ(GetMessageBoxCaption("text", 1, 2).GetChars(), "");
    SetMessageBoxCaptionProvider([](const c_StringView& text, std::uintptr_t first, std::uintptr_t second) {
        return c_String(
            (std::string(text.begin(), text.end()) + " " + std::to_string(first) + " " + std::to_string(second))
                .c_str());
    });
    EXPECT_STREQ(GetMessageBoxCaption("Question", 3, 4).GetChars(), "Question 3 4");
    SetMessageBoxCaptionProvider(
        [](const c_StringView&, std::uintptr_t, std::uintptr_t) { return c_String("Dovrik Chart Installer"); });
    EXPECT_STREQ(GetMessageBoxCaption("Question", 3, 4).GetChars(), "Dovrik Chart Installer");
    SetMessageBoxCaptionProvider(t_MessageBoxCaptionProvider());
    EXPECT_STREQ(GetMessageBoxCaption("Question", 3, 4).GetChars(), "");
}

} // namespace
