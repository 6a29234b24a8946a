// Tests of n_OSLayer::c_COMSharedPointer: one reference owned and released once, made by creation or
// by a query on another holder, empty after a failure, moved, swapped and compared.

#include "oslayer/shell/c_COMSharedPointer.h"

#include "oslayer/shell/c_COMInitializer.h"
#include "platform/testing/ShellHooks.h"

#include <gtest/gtest.h>

namespace {

using n_OSLayer::c_COMSharedPointer;

class COMSharedPointer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_COM.IsInitialized()); }

    n_OSLayer::c_COMInitializer m_COM;
};

// The references the object has, seen by adding one and taking it back.
ULONG CountReferences(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

TEST_F(COMSharedPointer, OwnsOneReferenceAndReleasesItOnce) {
    IShellLinkW* raw = nullptr;
    {
        const c_COMSharedPointer<IShellLinkW> link(CLSID_ShellLink);
        ASSERT_TRUE(link.IsSet());
        raw = link.Get();
        EXPECT_EQ(raw->AddRef(), 2u);
        {
            const c_COMSharedPointer<IPersistFile> file(link);
            ASSERT_TRUE(file.IsSet());
            EXPECT_EQ(CountReferences(raw), 3u) << "the query holds its own reference";
        }
        EXPECT_EQ(CountReferences(raw), 2u);
    }
    EXPECT_EQ(raw->Release(), 0u) << "the holder gave back exactly one";
}

TEST_F(COMSharedPointer, FailuresLeaveItEmpty) {
    const GUID otherClass = {0x00021402, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    const c_COMSharedPointer<IShellLinkW> noClass(otherClass);
    EXPECT_TRUE(noClass.IsEmpty());
    {
        const c_InjectedShellFault fault(n_Platform::e_ShellCall::CO_CREATE_INSTANCE, E_OUTOFMEMORY);
        const c_COMSharedPointer<IShellLinkW> failed(CLSID_ShellLink);
        EXPECT_TRUE(failed.IsEmpty());
    }
    const c_COMSharedPointer<IPersistFile> fromEmpty(noClass);
    EXPECT_TRUE(fromEmpty.IsEmpty());
    const c_COMSharedPointer<IShellLinkW> link(CLSID_ShellLink);
    {
        const c_InjectedShellFault fault(n_Platform::e_ShellCall::QUERY_PERSIST_FILE, E_NOINTERFACE);
        const c_COMSharedPointer<IPersistFile> refused(link);
        EXPECT_TRUE(refused.IsEmpty());
    }
    EXPECT_EQ(CountReferences(link.Get()), 1u) << "a refused query holds nothing";
    const c_COMSharedPointer<IShellLinkW> empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_FALSE(empty.IsSet());
}

TEST_F(COMSharedPointer, MovesSwapsAndCompares) {
    c_COMSharedPointer<IShellLinkW> first(CLSID_ShellLink);
    c_COMSharedPointer<IShellLinkW> second(CLSID_ShellLink);
    IShellLinkW* firstRaw = first.Get();
    const c_COMSharedPointer<IShellLinkW> moved(std::move(first));
    EXPECT_TRUE(first.IsEmpty());
    EXPECT_EQ(moved.Get(), firstRaw);
    EXPECT_EQ(CountReferences(firstRaw), 1u) << "moving adds no reference";
    IShellLinkW* secondRaw = second.Get();
    second.Swap(first);
    EXPECT_TRUE(second.IsEmpty());
    EXPECT_EQ(first.Get(), secondRaw);
    const bool firstBelow = firstRaw < secondRaw;
    EXPECT_EQ(moved < first, firstBelow);
    EXPECT_EQ(moved > first, !firstBelow);
    EXPECT_EQ(moved <= first, firstBelow);
    EXPECT_EQ(moved >= first, !firstBelow);
    EXPECT_TRUE(moved != first);
    EXPECT_TRUE(second == c_COMSharedPointer<IShellLinkW>());
    EXPECT_TRUE(moved >= moved);
}

} // namespace
