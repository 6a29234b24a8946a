// Tests of c_Handle.

#include "oslayer/threads/c_Handle.h"

#include <gtest/gtest.h>

namespace {

HANDLE MakeEvent() {
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

bool IsOpen(HANDLE handle) {
    return WaitForSingleObject(handle, 0) != WAIT_FAILED;
}

struct s_NoHandleCase {
    const char* m_Name;
    HANDLE m_Handle;
};

TEST(c_Handle, NoHandleValuesAreNeverClosed) {
    const s_NoHandleCase cases[] = {{"zero", nullptr}, {"INVALID_HANDLE_VALUE", INVALID_HANDLE_VALUE}};
    for (const s_NoHandleCase& row : cases) {
        c_Handle holder(row.m_Handle);
        EXPECT_FALSE(holder.IsValid()) << row.m_Name;
        SetLastError(ERROR_SUCCESS);
        holder.Close();
        EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << row.m_Name << ": no system call";
        EXPECT_EQ(holder.Get(), nullptr) << row.m_Name;
    }
}

TEST(c_Handle, ClosesWhatItHolds) {
    const HANDLE first = MakeEvent();
    const HANDLE second = MakeEvent();
    {
        c_Handle holder(first);
        EXPECT_TRUE(holder.IsValid());
        holder = second;
        EXPECT_FALSE(IsOpen(first));
        holder = second;
        EXPECT_TRUE(IsOpen(second));
    }
    EXPECT_FALSE(IsOpen(second));
}

TEST(c_Handle, SwapMovesOwnership) {
    const HANDLE event = MakeEvent();
    c_Handle empty;
    {
        c_Handle owner(event);
        owner.Swap(empty);
        EXPECT_EQ(owner.Get(), nullptr);
    }
    EXPECT_TRUE(IsOpen(event));
    EXPECT_EQ(empty.Get(), event);
}

} // namespace
