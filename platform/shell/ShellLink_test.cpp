// Tests of the shell link object: creation through COM, reference counts, the texts, and the .lnk
// file saved and loaded through the file calls.

#include "platform/testing/ShellHooks.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestFiles.h"
#include "platform/testing/WideText.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <thread>

namespace {

using n_Platform::e_ShellCall;

class ShellLink : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Drives.IsReady());
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        WriteTestFile(m_Drives.GetC() + "/App.exe", "#!/bin/sh\n");
    }
    void TearDown() override { CoUninitialize(); }

    static IShellLinkW* MakeLink() {
        void* object = nullptr;
        EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, &object), S_OK);
        return static_cast<IShellLinkW*>(object);
    }

    static HRESULT Save(IShellLinkW* link, const char16_t* path) {
        void* object = nullptr;
        EXPECT_EQ(link->QueryInterface(IID_IPersistFile, &object), S_OK);
        IPersistFile* file = static_cast<IPersistFile*>(object);
        const HRESULT result = file->Save(path, TRUE);
        file->Release();
        return result;
    }

    static HRESULT Load(IShellLinkW* link, const char16_t* path) {
        void* object = nullptr;
        EXPECT_EQ(link->QueryInterface(IID_IPersistFile, &object), S_OK);
        IPersistFile* file = static_cast<IPersistFile*>(object);
        const HRESULT result = file->Load(path, 0);
        file->Release();
        return result;
    }

    c_TemporaryDrives m_Drives;
};

// The texts of a link as its getters give them.
struct s_Texts {
    std::string m_Path;
    std::string m_Description;
    std::string m_WorkingDirectory;
    std::string m_Arguments;
    std::string m_IconLocation;
    int m_IconIndex;
};

s_Texts ReadTexts(IShellLinkW* link) {
    char16_t buffer[MAX_PATH];
    s_Texts texts;
    link->GetPath(buffer, MAX_PATH, nullptr, 0);
    texts.m_Path = Narrow(buffer);
    link->GetDescription(buffer, MAX_PATH);
    texts.m_Description = Narrow(buffer);
    link->GetWorkingDirectory(buffer, MAX_PATH);
    texts.m_WorkingDirectory = Narrow(buffer);
    link->GetArguments(buffer, MAX_PATH);
    texts.m_Arguments = Narrow(buffer);
    link->GetIconLocation(buffer, MAX_PATH, &texts.m_IconIndex);
    texts.m_IconLocation = Narrow(buffer);
    return texts;
}

TEST_F(ShellLink, SavedFileLoadsBackWithEveryText) {
    IShellLinkW* link = MakeLink();
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->SetPath(u"C:\\App.exe"), S_OK);
    EXPECT_EQ(link->SetDescription(u"App (C__Program Files_\u00C4pp)"), S_OK);
    EXPECT_EQ(link->SetWorkingDirectory(u"D:\\Work"), S_OK);
    EXPECT_EQ(link->SetArguments(u"-new-tab \"https://example.invalid/\""), S_OK);
    EXPECT_EQ(link->SetIconLocation(u"C:\\Icons\\app.ico", 3), S_OK);
    EXPECT_EQ(Save(link, u"C:\\App.lnk"), S_OK);
    link->Release();

    IShellLinkW* loaded = MakeLink();
    EXPECT_EQ(Load(loaded, u"C:\\App.lnk"), S_OK);
    const s_Texts texts = ReadTexts(loaded);
    EXPECT_EQ(texts.m_Path, "C:\\App.exe");
    EXPECT_EQ(texts.m_Description, "App (C__Program Files_\xC3\x84pp)");
    EXPECT_EQ(texts.m_WorkingDirectory, "D:\\Work");
    EXPECT_EQ(texts.m_Arguments, "-new-tab \"https://example.invalid/\"");
    EXPECT_EQ(texts.m_IconLocation, "C:\\Icons\\app.ico");
    EXPECT_EQ(texts.m_IconIndex, 3);
    WIN32_FIND_DATAW data;
    char16_t path[MAX_PATH];
    EXPECT_EQ(loaded->GetPath(path, MAX_PATH, &data, 0), S_OK);
    EXPECT_EQ(Narrow(data.cFileName), "App.exe");
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(data.nFileSizeLow, 10u);
    loaded->Release();
}

TEST_F(ShellLink, SaveReplacesAnExistingFileAndFailsWithTheFileError) {
    WriteTestFile(m_Drives.GetC() + "/App.lnk", std::string(4096, 'x'));
    IShellLinkW* link = MakeLink();
    EXPECT_EQ(link->SetPath(u"C:\\App.exe"), S_OK);
    EXPECT_EQ(Save(link, u"C:\\App.lnk"), S_OK);
    EXPECT_LT(ReadTestFile(m_Drives.GetC() + "/App.lnk").size(), 4096u) << "the old bytes are gone";
    EXPECT_EQ(Save(link, u"C:\\Missing\\App.lnk"), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    ASSERT_TRUE(MakeTestPathReadOnly(m_Drives.GetC() + "/App.lnk"));
    EXPECT_EQ(Save(link, u"C:\\App.lnk"), E_ACCESSDENIED);
    link->Release();
}

TEST_F(ShellLink, LoadRefusesWhatIsNotAShortcut) {
    WriteTestFile(m_Drives.GetC() + "/text.lnk", "not a shortcut");
    WriteTestFile(m_Drives.GetC() + "/huge.lnk", std::string((1 << 20) + 1, '\0'));
    const struct {
        const char16_t* m_Path;
        HRESULT m_Result;
    } cases[] = {
        {u"C:\\missing.lnk", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {u"C:\\text.lnk", E_FAIL},
        {u"C:\\huge.lnk", E_FAIL},
        {nullptr, E_INVALIDARG},
    };
    IShellLinkW* link = MakeLink();
    EXPECT_EQ(link->SetDescription(u"kept"), S_OK);
    for (const auto& row : cases) {
        EXPECT_EQ(Load(link, row.m_Path), row.m_Result) << (row.m_Path == nullptr ? "null" : Narrow(row.m_Path));
    }
    EXPECT_EQ(ReadTexts(link).m_Description, "kept") << "a failed load changes nothing";
    link->Release();
}

TEST_F(ShellLink, SetPathMakesTheTargetFullAndTellsAMissingOne) {
    const struct {
        const char16_t* m_Path;
        HRESULT m_Result;
        const char* m_Stored;
    } cases[] = {
        {u"C:\\App.exe", S_OK, "C:\\App.exe"},        {u"App.exe", S_OK, "C:\\App.exe"},
        {u"C:/Apps/../App.exe", S_OK, "C:\\App.exe"}, {u"D:\\Missing.exe", S_FALSE, "D:\\Missing.exe"},
        {u"", E_INVALIDARG, "D:\\Missing.exe"},       {nullptr, E_INVALIDARG, "D:\\Missing.exe"},
    };
    IShellLinkW* link = MakeLink();
    char16_t buffer[MAX_PATH];
    EXPECT_EQ(link->GetPath(buffer, MAX_PATH, nullptr, 0), S_FALSE) << "no target yet";
    EXPECT_EQ(Narrow(buffer), "");
    for (const auto& row : cases) {
        EXPECT_EQ(link->SetPath(row.m_Path), row.m_Result) << row.m_Stored;
        EXPECT_EQ(ReadTexts(link).m_Path, row.m_Stored);
    }
    link->Release();
}

TEST_F(ShellLink, GettersCutTheTextToTheBuffer) {
    IShellLinkW* link = MakeLink();
    EXPECT_EQ(link->SetDescription(u"abcdef"), S_OK);
    char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(link->GetDescription(buffer, 4), S_OK);
    EXPECT_EQ(Narrow(buffer), "abc");
    EXPECT_EQ(link->GetDescription(buffer, 0), E_INVALIDARG);
    EXPECT_EQ(link->GetDescription(nullptr, 4), E_INVALIDARG);
    int index = 0;
    EXPECT_EQ(link->GetIconLocation(buffer, 4, nullptr), E_INVALIDARG);
    EXPECT_EQ(link->GetIconLocation(buffer, 4, &index), S_OK);
    EXPECT_EQ(link->SetArguments(std::u16string(0x10000, u'a').c_str()), E_INVALIDARG) << "longer than a file holds";
    EXPECT_EQ(link->SetArguments(std::u16string(0xFFFF, u'a').c_str()), S_OK);
    link->Release();
}

TEST_F(ShellLink, CountsReferencesAcrossItsInterfaces) {
    IShellLinkW* link = MakeLink();
    EXPECT_EQ(link->AddRef(), 2u);
    void* file = nullptr;
    ASSERT_EQ(link->QueryInterface(IID_IPersistFile, &file), S_OK);
    void* unknown = nullptr;
    ASSERT_EQ(static_cast<IPersistFile*>(file)->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, static_cast<void*>(link)) << "one identity";
    EXPECT_EQ(static_cast<IUnknown*>(unknown)->Release(), 3u);
    EXPECT_EQ(static_cast<IPersistFile*>(file)->Release(), 2u);
    const GUID other = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    void* none = &file;
    EXPECT_EQ(link->QueryInterface(other, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(link->QueryInterface(IID_IPersistFile, nullptr), E_POINTER);
    EXPECT_EQ(link->Release(), 1u);
    EXPECT_EQ(link->Release(), 0u);
}

TEST_F(ShellLink, CreationKnowsOnlyTheShellLinkClassInProcess) {
    const GUID otherId = {0x00021402, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    IShellLinkW* outer = MakeLink();
    const struct {
        const char* m_Name;
        const CLSID* m_Class;
        IUnknown* m_Outer;
        DWORD m_Context;
        const IID* m_Interface;
        HRESULT m_Result;
    } cases[] = {
        {"the persist-file interface", &CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, &IID_IPersistFile, S_OK},
        {"another class", &otherId, nullptr, CLSCTX_INPROC_SERVER, &IID_IShellLinkW, REGDB_E_CLASSNOTREG},
        {"an outer object", &CLSID_ShellLink, outer, CLSCTX_INPROC_SERVER, &IID_IShellLinkW, CLASS_E_NOAGGREGATION},
        {"out of process", &CLSID_ShellLink, nullptr, 0x4, &IID_IShellLinkW, REGDB_E_CLASSNOTREG},
        {"an interface it lacks", &CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, &otherId, E_NOINTERFACE},
    };
    for (const auto& row : cases) {
        void* object = &outer;
        EXPECT_EQ(CoCreateInstance(*row.m_Class, row.m_Outer, row.m_Context, *row.m_Interface, &object), row.m_Result)
            << row.m_Name;
        EXPECT_EQ(object == nullptr, FAILED(row.m_Result)) << row.m_Name;
        if (object != nullptr) {
            static_cast<IUnknown*>(object)->Release();
        }
    }
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, nullptr), E_POINTER);
    outer->Release();
}

TEST(COMStartup, CountsPerThread) {
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    HRESULT other = E_FAIL;
    std::thread([&] {
        other = CoInitialize(nullptr);
        CoUninitialize();
    }).join();
    EXPECT_EQ(other, S_OK) << "another thread starts its own count";
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE) << "one initialisation is still open";
    CoUninitialize();
    CoUninitialize();
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, &object),
              CO_E_NOTINITIALIZED);
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "a stray uninitialise does not go below zero";
    CoUninitialize();
}

// An object asked for and what the asking gave back.
struct s_Made {
    HRESULT m_Result = E_FAIL;
    void* m_Object = nullptr;
};

s_Made MakeObject() {
    s_Made made;
    made.m_Result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, &made.m_Object);
    return made;
}

HRESULT ReleaseMade(const s_Made& made) {
    if (made.m_Object != nullptr) {
        static_cast<IUnknown*>(made.m_Object)->Release();
    }
    return made.m_Result;
}

TEST_F(ShellLink, InjectedFaultsFailTheirCalls) {
    IShellLinkW* link = MakeLink();
    const struct {
        e_ShellCall m_Call;
        HRESULT (*m_Make)(IShellLinkW*);
    } cases[] = {
        {e_ShellCall::CO_INITIALIZE,
         [](IShellLinkW*) {
             const HRESULT result = CoInitialize(nullptr);
             if (SUCCEEDED(result)) {
                 CoUninitialize();
             }
             return result;
         }},
        {e_ShellCall::CO_CREATE_INSTANCE, [](IShellLinkW*) { return ReleaseMade(MakeObject()); }},
        {e_ShellCall::SET_PATH, [](IShellLinkW* l) { return l->SetPath(u"C:\\App.exe"); }},
        {e_ShellCall::SET_DESCRIPTION, [](IShellLinkW* l) { return l->SetDescription(u"x"); }},
        {e_ShellCall::SET_ICON_LOCATION, [](IShellLinkW* l) { return l->SetIconLocation(u"x", 0); }},
        {e_ShellCall::QUERY_PERSIST_FILE,
         [](IShellLinkW* l) {
             s_Made made;
             made.m_Result = l->QueryInterface(IID_IPersistFile, &made.m_Object);
             return ReleaseMade(made);
         }},
        {e_ShellCall::SAVE, [](IShellLinkW* l) { return Save(l, u"C:\\App.lnk"); }},
    };
    for (const auto& row : cases) {
        {
            c_InjectedShellFault fault(row.m_Call, E_ACCESSDENIED);
            EXPECT_EQ(row.m_Make(link), E_ACCESSDENIED) << static_cast<int>(row.m_Call);
        }
        const HRESULT healed = row.m_Make(link);
        EXPECT_TRUE(SUCCEEDED(healed)) << static_cast<int>(row.m_Call);
    }
    link->Release();
}

} // namespace
