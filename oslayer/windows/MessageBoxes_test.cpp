// Tests of the n_OSLayer message boxes, answered through the dialog test driver.

#include "oslayer/windows/MessageBoxes.h"

#include "platform/user/testing/c_DialogDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

namespace {

using n_Platform::c_DialogDriver;

// How the user ends a box: a button, or a key when m_Key is set.
struct s_UserAnswer {
    int m_Button = 0;
    WPARAM m_Key = 0;
};

// Runs the call here while another thread answers its box; the box as the user saw it.
c_DialogDriver::s_MessageBoxView RunAnswered(c_DialogDriver& driver, const std::function<void()>& call,
                                             const s_UserAnswer& answer) {
    c_DialogDriver::s_MessageBoxView seen;
    std::thread user([&] {
        const std::optional<c_DialogDriver::s_MessageBoxView> box = driver.WaitForMessageBox();
        ASSERT_TRUE(box.has_value());
        seen = *box;
        EXPECT_TRUE(answer.m_Key != 0 ? driver.PressMessageBoxKey(answer.m_Key) : driver.Answer(answer.m_Button));
    });
    call();
    user.join();
    return seen;
}

TEST(MessageBoxes, EachVariantShowsItsButtonsAndReadsTheAnswer) {
    typedef std::function<int(const c_StringView&, const c_StringView&)> t_Variant;
    const t_Variant ok = [](const c_StringView& caption, const c_StringView& text) {
        n_OSLayer::MessageBoxOK(nullptr, caption, text);
        return 0;
    };
    const t_Variant yesNo = [](const c_StringView& caption, const c_StringView& text) {
        return static_cast<int>(n_OSLayer::MessageBoxYesNo(nullptr, caption, text));
    };
    const t_Variant yesNoDefaultNo = [](const c_StringView& caption, const c_StringView& text) {
        return static_cast<int>(n_OSLayer::MessageBoxYesNoDefaultNo(nullptr, caption, text));
    };
    const t_Variant yesNoCancel = [](const c_StringView& caption, const c_StringView& text) {
        return n_OSLayer::MessageBoxYesNoCancel(nullptr, caption, text);
    };
    const t_Variant okCancel = [](const c_StringView& caption, const c_StringView& text) {
        return static_cast<int>(n_OSLayer::MessageBoxOKCancel(nullptr, caption, text));
    };
    struct s_Case {
        const char* m_p_Name;
        t_Variant m_Variant;
        s_UserAnswer m_Answer;
        UINT m_Type;
        int m_Result;
    } const cases[] = {
        {"OK", ok, {IDOK}, MB_OK, 0},
        {"OK closed with Escape", ok, {0, VK_ESCAPE}, MB_OK, 0},
        {"YesNo answered Yes", yesNo, {IDYES}, MB_YESNO, 1},
        {"YesNo answered No", yesNo, {IDNO}, MB_YESNO, 0},
        {"YesNo with Enter takes Yes", yesNo, {0, VK_RETURN}, MB_YESNO, 1},
        {"YesNoDefaultNo answered Yes", yesNoDefaultNo, {IDYES}, MB_YESNO | MB_DEFBUTTON2, 1},
        {"YesNoDefaultNo with Enter takes No", yesNoDefaultNo, {0, VK_RETURN}, MB_YESNO | MB_DEFBUTTON2, 0},
        {"YesNoCancel answered Yes", yesNoCancel, {IDYES}, MB_YESNOCANCEL, 0},
        {"YesNoCancel answered No", yesNoCancel, {IDNO}, MB_YESNOCANCEL, 1},
        {"YesNoCancel answered Cancel", yesNoCancel, {IDCANCEL}, MB_YESNOCANCEL, 2},
        {"YesNoCancel closed with Escape", yesNoCancel, {0, VK_ESCAPE}, MB_YESNOCANCEL, 2},
        {"OKCancel answered OK", okCancel, {IDOK}, MB_OKCANCEL, 1},
        {"OKCancel answered Cancel", okCancel, {IDCANCEL}, MB_OKCANCEL, 0},
        {"OKCancel closed with Escape", okCancel, {0, VK_ESCAPE}, MB_OKCANCEL, 0},
    };
    c_DialogDriver driver;
    for (const s_Case& row : cases) {
        int result = -1;
        const c_DialogDriver::s_MessageBoxView box = RunAnswered(
            driver, [&] { result = row.m_Variant("Caption \xE2\x82\xAC", "Question?  Really."); }, row.m_Answer);
        EXPECT_EQ(box.m_Caption, u"Caption \u20AC") << row.m_p_Name;
        EXPECT_EQ(box.m_Text, u"Question?  Really.") << row.m_p_Name;
        EXPECT_EQ(box.m_Type, row.m_Type) << row.m_p_Name;
        EXPECT_EQ(result, row.m_Result) << row.m_p_Name;
    }
}

TEST(MessageBoxes, MessageBoxGivesTheButtonAndTakesTheCaptionFirst) {
    c_DialogDriver driver;
    int result = 0;
    const c_DialogDriver::s_MessageBoxView box = RunAnswered(
        driver, [&] { result = n_OSLayer::MessageBox(nullptr, "First", "Second", MB_RETRYCANCEL); }, {IDRETRY});
    EXPECT_EQ(box.m_Caption, u"First");
    EXPECT_EQ(box.m_Text, u"Second");
    EXPECT_EQ(result, IDRETRY);
}

TEST(MessageBoxes, AFailedBoxCountsAsNoAnswer) {
    const HWND gone = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x7FFF0001));
    EXPECT_EQ(n_OSLayer::MessageBox(nullptr, "Caption", "Text", MB_TYPEMASK), 0);
    EXPECT_EQ(n_OSLayer::MessageBoxYesNoCancel(gone, "Caption", "Text"), 2);
    EXPECT_FALSE(n_OSLayer::MessageBoxYesNo(gone, "Caption", "Text"));
    EXPECT_FALSE(n_OSLayer::MessageBoxOKCancel(gone, "Caption", "Text"));
}

} // namespace
