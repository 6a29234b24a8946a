// Tests of the n_OSLayer focus and capture wrappers on the controls of a sample dialog.

#include "oslayer/windows/InputFocus.h"

#include "oslayer/testing/c_SampleControlsDialog.h"

#include <gtest/gtest.h>

namespace {

typedef c_SampleControlsDialog c_Sample;

TEST(InputFocus, FocusAndCaptureMoveBetweenControlsAndNameThePreviousOne) {
    c_Sample sample;
    const HWND edit = sample.GetItem(c_Sample::EDIT);
    const HWND combo = sample.GetItem(c_Sample::COMBO);
    n_OSLayer::SetFocus(edit);
    EXPECT_EQ(n_OSLayer::GetFocus(), edit);
    EXPECT_EQ(n_OSLayer::SetFocus(combo), edit);
    EXPECT_EQ(n_OSLayer::GetFocus(), combo);
    n_OSLayer::ReleaseCapture();
    EXPECT_EQ(n_OSLayer::SetCapture(edit), nullptr);
    EXPECT_EQ(n_OSLayer::SetCapture(combo), edit);
    EXPECT_EQ(GetCapture(), combo);
    EXPECT_TRUE(n_OSLayer::ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
}

} // namespace
