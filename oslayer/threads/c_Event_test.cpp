// Tests of c_Event.

#include "oslayer/threads/c_Event.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(c_Event, EmptyHolderFailsWithoutASystemCall) {
    c_Event event;
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(event.Set());
    EXPECT_FALSE(event.Reset());
    EXPECT_FALSE(event.IsSet());
    EXPECT_FALSE(event.Wait(INFINITE));
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

struct s_ResetCase {
    const char* m_Name;
    bool m_ManualReset;
    bool m_SetAfterWait;
};

TEST(c_Event, ManualEventsStaySetAndAutomaticOnesReset) {
    const s_ResetCase cases[] = {{"manual", true, true}, {"automatic", false, false}};
    for (const s_ResetCase& row : cases) {
        c_Event event;
        ASSERT_TRUE(event.Create(row.m_ManualReset, c_StringView())) << row.m_Name;
        EXPECT_FALSE(event.IsSet()) << row.m_Name;
        EXPECT_TRUE(event.Set()) << row.m_Name;
        EXPECT_TRUE(event.Wait(0)) << row.m_Name;
        EXPECT_EQ(event.IsSet(), row.m_SetAfterWait) << row.m_Name;
        EXPECT_TRUE(event.Reset()) << row.m_Name;
        EXPECT_FALSE(event.IsSet()) << row.m_Name;
    }
}

TEST(c_Event, CreateAgainClosesTheFirstEvent) {
    c_Event event;
    ASSERT_TRUE(event.Create(true, c_StringView()));
    const HANDLE first = event.Get();
    ASSERT_TRUE(event.Create(true, c_StringView()));
    EXPECT_NE(event.Get(), first);
    EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_FAILED);
}

TEST(c_Event, NamedEventsAreShared) {
    c_Event first;
    c_Event second;
    ASSERT_TRUE(first.Create(true, "c_Event_test \xC3\xA9v\xC3\xA8nement"));
    ASSERT_TRUE(second.Create(true, "c_Event_test \xC3\xA9v\xC3\xA8nement"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    first.Set();
    EXPECT_TRUE(second.IsSet());
}

TEST(c_Event, WaitEndsAtTheTimeOut) {
    c_Event event;
    ASSERT_TRUE(event.Create(false, c_StringView()));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(event.Wait(30));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(30));
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}

} // namespace
