// Tests of the message boxes captioned by the process-wide provider.

#include "oslayer/windows/CaptionedMessageBoxes.h"

#include "oslayer/windows/MessageBoxCaption.h"

#include "platform/user/testing/c_DialogDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

namespace {

using n_Platform::c_DialogDriver;

class CaptionedMessageBoxes : public ::testing::Test {
protected:
    void TearDown() override { SetMessageBoxCaptionProvider(t_MessageBoxCaptionProvider()); }

    // Runs the call here while another thread answers its box; the box as the user saw it.
    c_DialogDriver::s_MessageBoxView RunAnswered(const std::function<void()>& call, int answer) {
        c_DialogDriver::s_MessageBoxView seen;
        std::thread user([&] {
            const std::optional<c_DialogDriver::s_MessageBoxView> box = m_Driver.WaitForMessageBox();
            ASSERT_TRUE(box.has_value());
            seen = *box;
            EXPECT_TRUE(m_Driver.Answer(answer));
        });
        call();
        user.join();
        return seen;
    }

    c_DialogDriver m_Driver;
};

typedef std::function<int(const c_StringView&, std::uintptr_t, std::uintptr_t)> t_Shower;

struct s_Case {
    const char* m_p_Name;
    t_Shower m_Show;
    int m_Answer;
    UINT m_Type;
    int m_Result;
};

const s_Case g_Cases[] = {
    {"OK gives the button",
     [](const c_StringView& text, std::uintptr_t first, std::uintptr_t second) {
         return ShowMessageBoxOK(nullptr, text, first, second);
     },
     IDOK, MB_OK, IDOK},
    {"YesNo answered Yes",
     [](const c_StringView& text, std::uintptr_t first, std::uintptr_t second) {
         return static_cast<int>(ShowMessageBoxYesNo(nullptr, text, first, second));
     },
     IDYES, MB_YESNO, 1},
    {"YesNoCancel answered No",
     [](const c_StringView& text, std::uintptr_t first, std::uintptr_t second) {
         return ShowMessageBoxYesNoCancel(nullptr, text, first, second);
     },
     IDNO, MB_YESNOCANCEL, 1},
    {"YesNoCancel answered Cancel",
     [](const c_StringView& text, std::uintptr_t first, std::uintptr_t second) {
         return ShowMessageBoxYesNoCancel(nullptr, text, first, second);
     },
     IDCANCEL, MB_YESNOCANCEL, 2},
    {"OKCancel answered OK",
     [](const c_StringView& text, std::uintptr_t first, std::uintptr_t second) {
         return static_cast<int>(ShowMessageBoxOKCancel(nullptr, text, first, second));
     },
     IDOK, MB_OKCANCEL, 1},
};

TEST_F(CaptionedMessageBoxes, TheProviderNamesEachBoxFromItsTextAndValues) {
    SetMessageBoxCaptionProvider([](const c_StringView& text, std::uintptr_t first, std::uintptr_t second) {
        return c_String(
            (std::string(text.begin(), text.end()) + " " + std::to_string(first) + "/" + std::to_string(second))
                .c_str());
    });
    for (const s_Case& row : g_Cases) {
        int result = -1;
        const c_DialogDriver::s_MessageBoxView box =
            RunAnswered([&] { result = row.m_Show("Continue?", 7, 9); }, row.m_Answer);
        EXPECT_EQ(box.m_Caption, u"Continue? 7/9") << row.m_p_Name;
        EXPECT_EQ(box.m_Text, u"Continue?") << row.m_p_Name;
        EXPECT_EQ(box.m_Type, row.m_Type) << row.m_p_Name;
        EXPECT_EQ(result, row.m_Result) << row.m_p_Name;
    }
}

TEST_F(CaptionedMessageBoxes, WithoutAProviderTheCaptionIsEmpty) {
    for (const s_Case& row : g_Cases) {
        const c_DialogDriver::s_MessageBoxView box = RunAnswered([&] { row.m_Show("Continue?", 1, 2); }, row.m_Answer);
        EXPECT_EQ(box.m_Caption, u"") << row.m_p_Name;
    }
}

} // namespace
