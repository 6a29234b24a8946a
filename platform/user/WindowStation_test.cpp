// Tests of the process's window station and its visible flag.

#include "platform/user/testing/c_DialogDriver.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// The flags, or -1 when the call fails.
long long ReadFlags() {
    USEROBJECTFLAGS flags = {};
    DWORD needed = 0;
    if (!GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &needed)) {
        return -1;
    }
    EXPECT_EQ(needed, sizeof flags);
    return flags.dwFlags;
}

TEST(WindowStation, IsVisibleWhileABackEndHasSomeoneAtTheWindows) {
    EXPECT_EQ(ReadFlags(), 0) << "headless";
    {
        n_Platform::c_DialogDriver driver;
        EXPECT_EQ(ReadFlags(), WSF_VISIBLE) << "a test playing the user";
    }
    EXPECT_EQ(ReadFlags(), 0);
}

TEST(WindowStation, RefusesWhatItDoesNotKnow) {
    USEROBJECTFLAGS flags = {};
    DWORD needed = 0;
    const struct {
        const char* m_Name;
        HANDLE m_Object;
        int m_Index;
        DWORD m_Length;
        DWORD m_Error;
    } cases[] = {
        {"another handle", reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x1234)), UOI_FLAGS, sizeof flags,
         ERROR_INVALID_HANDLE},
        {"another index", GetProcessWindowStation(), 2, sizeof flags, ERROR_INVALID_PARAMETER},
        {"a short buffer", GetProcessWindowStation(), UOI_FLAGS, sizeof flags - 1, ERROR_INSUFFICIENT_BUFFER},
    };
    for (const auto& row : cases) {
        SetLastError(0);
        EXPECT_FALSE(GetUserObjectInformationW(row.m_Object, row.m_Index, &flags, row.m_Length, &needed)) << row.m_Name;
        EXPECT_EQ(GetLastError(), row.m_Error) << row.m_Name;
    }
}

} // namespace
