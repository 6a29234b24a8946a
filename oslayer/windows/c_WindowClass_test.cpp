// Tests of c_WindowClass and c_WindowClassId.

#include "oslayer/windows/c_WindowClass.h"

#include "oslayer/windows/WindowCreation.h"

#include <gtest/gtest.h>

namespace {

bool IsRegistered(const c_StringView& name) {
    WNDCLASSW description;
    return n_OSLayer::GetWindowClassInfo(GetModuleHandleW(nullptr), name, &description);
}

TEST(c_WindowClass, RegistersOnceAndUnregistersWhenDestroyed) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    {
        c_WindowClass holder;
        EXPECT_FALSE(holder);
        ASSERT_TRUE(holder.Register("HolderOnce", instance, DefWindowProcW));
        const ATOM atom = holder.GetAtom();
        EXPECT_TRUE(holder.Register("HolderTwice", instance, DefWindowProcW));
        EXPECT_EQ(holder.GetAtom(), atom);
        EXPECT_FALSE(IsRegistered("HolderTwice"));
        const HWND window = holder.CreateWindow("Made by the holder", WS_DISABLED);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(n_OSLayer::GetWindowClassName(window), "HolderOnce");
        DestroyWindow(window);
    }
    EXPECT_FALSE(IsRegistered("HolderOnce"));
}

TEST(c_WindowClass, MovesLeaveTheSourceEmptyAndAssignmentsSwap) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    c_WindowClass kept;
    {
        c_WindowClass source;
        ASSERT_TRUE(source.Register("HolderMoved", instance, DefWindowProcW));
        c_WindowClass moved(std::move(source));
        EXPECT_FALSE(source); // NOLINT(bugprone-use-after-move): the moved-from state is under test
        source.Unregister();
        EXPECT_TRUE(IsRegistered("HolderMoved"));
        kept = std::move(moved);
        EXPECT_FALSE(moved); // NOLINT(bugprone-use-after-move)
    }
    EXPECT_TRUE(IsRegistered("HolderMoved"));
    EXPECT_EQ(kept.GetInstance(), instance);
    kept.Unregister();
    EXPECT_FALSE(kept);
    EXPECT_FALSE(IsRegistered("HolderMoved"));
}

TEST(c_WindowClass, AFailedRegistrationLeavesTheHolderEmpty) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    c_WindowClass first;
    ASSERT_TRUE(first.Register("HolderTaken", instance, DefWindowProcW));
    c_WindowClass second;
    EXPECT_FALSE(second.Register("HolderTaken", instance, DefWindowProcW));
    EXPECT_FALSE(second);
    EXPECT_EQ(second.GetInstance(), nullptr);
}

TEST(c_WindowClassId, PassesAtomsAndNamesUnchanged) {
    const WCHAR* name = u"ById";
    EXPECT_EQ(c_WindowClassId(name).Get(), name);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(c_WindowClassId(ATOM(0xC123)).Get()), 0xC123u);
}

} // namespace
