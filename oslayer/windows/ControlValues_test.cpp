// Tests of numbers in control texts, on an edit of a sample dialog.

#include "oslayer/windows/ControlValues.h"

#include "oslayer/testing/c_SampleControlsDialog.h"
#include "oslayer/windows/WindowState.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

typedef c_SampleControlsDialog c_Sample;

TEST(ControlValues, SettersWriteDecimalText) {
    c_Sample sample;
    CWnd* edit = CWnd::FromHandle(sample.GetItem(c_Sample::EDIT));
    const HWND window = edit->GetSafeHwnd();
    struct s_Case {
        const char* m_p_Name;
        std::function<void()> m_Set;
        const char* m_p_Text;
    } const cases[] = {
        {"negative int", [&] { SetControlInt(edit, -5); }, "-5"},
        {"int minimum", [&] { SetControlInt(edit, std::numeric_limits<std::int32_t>::min()); }, "-2147483648"},
        {"uint32 above the int range", [&] { SetControlUInt32(edit, 4000000000u); }, "4000000000"},
        {"int64", [&] { SetControlInt64(edit, -9000000000LL); }, "-9000000000"},
        {"uint64 maximum", [&] { SetControlUInt64(edit, std::numeric_limits<std::uint64_t>::max()); },
         "18446744073709551615"},
        {"integral double without decimals", [&] { SetControlDouble(edit, 3.0); }, "3"},
        {"double in shortest form", [&] { SetControlDouble(edit, 0.1); }, "0.1"},
        {"float in single precision", [&] { SetControlFloat(edit, 0.1f); }, "0.1"},
        {"window int", [&] { SetWindowInt(window, 42); }, "42"},
        {"window int64", [&] { SetWindowInt64(window, 5000000000LL); }, "5000000000"},
        {"window double", [&] { SetWindowDouble(window, -2.5); }, "-2.5"},
    };
    for (const s_Case& row : cases) {
        row.m_Set();
        EXPECT_STREQ(n_OSLayer::GetWindowText(window).GetChars(), row.m_p_Text) << row.m_p_Name;
    }
}

TEST(ControlValues, GettersParseTheTextOrGiveTheDefaultForBlanks) {
    c_Sample sample;
    CWnd* edit = CWnd::FromHandle(sample.GetItem(c_Sample::EDIT));
    struct s_Case {
        const char* m_p_Text;
        std::int32_t m_Int;
        std::int32_t m_IntOrDefault;
        double m_Double;
        float m_FloatOrDefault;
    } const cases[] = {
        {"12abc", 12, 12, 12.0, 12.0f},
        {"  -7", -7, -7, -7.0, -7.0f},
        {"", 0, 99, 0.0, 1.5f},
        {"   ", 0, 99, 0.0, 1.5f},
        {"abc", 0, 0, 0.0, 0.0f},
        {"99999999999", std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max(),
         99999999999.0, 99999999999.0f},
        {"2.75", 2, 2, 2.75, 2.75f},
    };
    for (const s_Case& row : cases) {
        n_OSLayer::SetWindowText(edit->GetSafeHwnd(), row.m_p_Text);
        EXPECT_EQ(GetControlInt(edit), row.m_Int) << row.m_p_Text;
        EXPECT_EQ(GetControlIntOrDefault(edit, 99), row.m_IntOrDefault) << row.m_p_Text;
        EXPECT_EQ(GetControlDouble(edit), row.m_Double) << row.m_p_Text;
        double stored = -1.0;
        GetControlDouble(edit, &stored);
        EXPECT_EQ(stored, row.m_Double) << row.m_p_Text;
        EXPECT_EQ(GetControlFloat(edit), static_cast<float>(row.m_Double)) << row.m_p_Text;
        EXPECT_EQ(GetControlFloatOrDefault(edit, 1.5f), row.m_FloatOrDefault) << row.m_p_Text;
    }
}

TEST(ControlValues, ANullControlReadsNothingAndTakesNothing) {
    SetControlInt(nullptr, 5);
    EXPECT_EQ(GetControlInt(nullptr), 0);
    EXPECT_EQ(GetControlIntOrDefault(nullptr, 4), 4);
    EXPECT_EQ(GetControlDouble(nullptr), 0.0);
    GetControlDouble(nullptr, nullptr);
}

} // namespace
