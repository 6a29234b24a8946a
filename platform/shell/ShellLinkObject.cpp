// The shell link object: texts kept as set, the target made full, the file written and read whole.

#include "platform/shell/ShellLinkObject.h"

#include "platform/files/DrivePaths.h"
#include "platform/files/PathText.h"
#include "platform/shell/ShellFaults.h"
#include "platform/shell/ShellLinkFile.h"

#include <shlobj.h>

#include <algorithm>
#include <atomic>

const CLSID CLSID_ShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IShellLinkW = {0x000214F9, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

using n_Platform::e_ShellCall;

// A shortcut file is a few hundred bytes; five texts of the longest kind stay below this.
constexpr DWORD LONGEST_LINK_FILE = 1 << 20;

HRESULT FaultOf(e_ShellCall call) {
    return n_Platform::GetShellFault(call);
}

HRESULT LastErrorResult() {
    return HRESULT_FROM_WIN32(GetLastError());
}

HRESULT SetText(std::u16string& field, LPCWSTR text) {
    const std::u16string_view value = n_Platform::ReadArgument(text);
    if (value.size() > n_Platform::LONGEST_LINK_TEXT) {
        return E_INVALIDARG;
    }
    field = value;
    return S_OK;
}

HRESULT CopyText(const std::u16string& text, LPWSTR buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return E_INVALIDARG;
    }
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    std::copy_n(text.begin(), count, buffer);
    buffer[count] = u'\0';
    return S_OK;
}

bool WriteWhole(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// At most LONGEST_LINK_FILE bytes; a longer file is not a shortcut.
HRESULT ReadWhole(HANDLE file, std::string& bytes) {
    bytes.resize(LONGEST_LINK_FILE + 1);
    DWORD total = 0;
    DWORD read = 0;
    do {
        if (!ReadFile(file, bytes.data() + total, static_cast<DWORD>(bytes.size()) - total, &read, nullptr)) {
            return LastErrorResult();
        }
        total += read;
    } while (read != 0 && total < bytes.size());
    bytes.resize(total);
    return total > LONGEST_LINK_FILE ? E_FAIL : S_OK;
}

class c_ShellLink final : public IShellLinkW, public IPersistFile {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (id == IID_IUnknown || id == IID_IShellLinkW) {
            *object = static_cast<IShellLinkW*>(this);
        } else if (id == IID_IPersistFile) {
            const HRESULT fault = FaultOf(e_ShellCall::QUERY_PERSIST_FILE);
            if (fault != S_OK) {
                return fault;
            }
            *object = static_cast<IPersistFile*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_References; }

    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_References;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetPath(LPWSTR file, int size, WIN32_FIND_DATAW* data, DWORD) override {
        const HRESULT copied = CopyText(m_Link.m_Target, file, size);
        if (copied != S_OK) {
            return copied;
        }
        if (data != nullptr) {
            FillFindData(*data);
        }
        return m_Link.m_Target.empty() ? S_FALSE : S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetDescription(LPWSTR name, int size) override {
        return CopyText(m_Link.m_Description, name, size);
    }

    HRESULT STDMETHODCALLTYPE SetDescription(LPCWSTR name) override {
        const HRESULT fault = FaultOf(e_ShellCall::SET_DESCRIPTION);
        return fault != S_OK ? fault : SetText(m_Link.m_Description, name);
    }

    HRESULT STDMETHODCALLTYPE GetWorkingDirectory(LPWSTR folder, int size) override {
        return CopyText(m_Link.m_WorkingDirectory, folder, size);
    }

    HRESULT STDMETHODCALLTYPE SetWorkingDirectory(LPCWSTR folder) override {
        return SetText(m_Link.m_WorkingDirectory, folder);
    }

    HRESULT STDMETHODCALLTYPE GetArguments(LPWSTR arguments, int size) override {
        return CopyText(m_Link.m_Arguments, arguments, size);
    }

    HRESULT STDMETHODCALLTYPE SetArguments(LPCWSTR arguments) override {
        return SetText(m_Link.m_Arguments, arguments);
    }

    HRESULT STDMETHODCALLTYPE GetIconLocation(LPWSTR iconPath, int size, int* index) override {
        if (index == nullptr) {
            return E_INVALIDARG;
        }
        *index = m_Link.m_IconIndex;
        return CopyText(m_Link.m_IconLocation, iconPath, size);
    }

    HRESULT STDMETHODCALLTYPE SetIconLocation(LPCWSTR iconPath, int index) override {
        const HRESULT fault = FaultOf(e_ShellCall::SET_ICON_LOCATION);
        if (fault != S_OK) {
            return fault;
        }
        m_Link.m_IconIndex = index;
        return SetText(m_Link.m_IconLocation, iconPath);
    }

    HRESULT STDMETHODCALLTYPE SetPath(LPCWSTR file) override;
    HRESULT STDMETHODCALLTYPE Load(LPCOLESTR fileName, DWORD mode) override;
    HRESULT STDMETHODCALLTYPE Save(LPCOLESTR fileName, BOOL remember) override;

private:
    ~c_ShellLink() = default;

    void FillFindData(WIN32_FIND_DATAW& data) const;
    // The target's attributes, times and size, all 0 when it is not there.
    bool ReadTargetStatus();

    std::atomic<ULONG> m_References = 0;
    n_Platform::s_ShellLinkData m_Link;
};

HRESULT c_ShellLink::SetPath(LPCWSTR file) {
    const HRESULT fault = FaultOf(e_ShellCall::SET_PATH);
    if (fault != S_OK) {
        return fault;
    }
    const std::u16string_view path = n_Platform::ReadArgument(file);
    std::u16string full;
    if (path.empty() || !n_Platform::MakeFullPath(path, full) || full.size() > n_Platform::LONGEST_LINK_TEXT) {
        return E_INVALIDARG;
    }
    m_Link.m_Target = full;
    return ReadTargetStatus() ? S_OK : S_FALSE;
}

bool c_ShellLink::ReadTargetStatus() {
    WIN32_FILE_ATTRIBUTE_DATA status = {};
    const bool found = GetFileAttributesExW(m_Link.m_Target.c_str(), GetFileExInfoStandard, &status) != FALSE;
    m_Link.m_FileAttributes = status.dwFileAttributes;
    m_Link.m_Creation = status.ftCreationTime;
    m_Link.m_LastAccess = status.ftLastAccessTime;
    m_Link.m_LastWrite = status.ftLastWriteTime;
    m_Link.m_FileSize = status.nFileSizeLow;
    return found;
}

void c_ShellLink::FillFindData(WIN32_FIND_DATAW& data) const {
    data = {};
    data.dwFileAttributes = m_Link.m_FileAttributes;
    data.ftCreationTime = m_Link.m_Creation;
    data.ftLastAccessTime = m_Link.m_LastAccess;
    data.ftLastWriteTime = m_Link.m_LastWrite;
    data.nFileSizeLow = m_Link.m_FileSize;
    const std::size_t name = m_Link.m_Target.find_last_of(u"\\/:");
    const std::u16string_view fileName =
        std::u16string_view(m_Link.m_Target).substr(name == std::u16string::npos ? 0 : name + 1);
    CopyText(std::u16string(fileName), data.cFileName, MAX_PATH);
}

HRESULT c_ShellLink::Load(LPCOLESTR fileName, DWORD) {
    if (fileName == nullptr) {
        return E_INVALIDARG;
    }
    HANDLE file = CreateFileW(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return LastErrorResult();
    }
    std::string bytes;
    const HRESULT read = ReadWhole(file, bytes);
    CloseHandle(file);
    if (read != S_OK) {
        return read;
    }
    n_Platform::s_ShellLinkData link;
    if (!n_Platform::ReadShellLink(bytes, link)) {
        return E_FAIL;
    }
    m_Link = std::move(link);
    return S_OK;
}

// The object has no current file to give back, so remembering the name changes nothing.
HRESULT c_ShellLink::Save(LPCOLESTR fileName, BOOL) {
    const HRESULT fault = FaultOf(e_ShellCall::SAVE);
    if (fault != S_OK) {
        return fault;
    }
    if (fileName == nullptr) {
        return E_INVALIDARG;
    }
    HANDLE file = CreateFileW(fileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return LastErrorResult();
    }
    const bool written = WriteWhole(file, n_Platform::WriteShellLink(m_Link));
    const HRESULT result = written ? S_OK : LastErrorResult();
    CloseHandle(file);
    return result;
}

} // namespace

namespace n_Platform {

HRESULT CreateShellLink(REFIID id, void** object) {
    c_ShellLink* link = new c_ShellLink;
    link->AddRef();
    const HRESULT result = link->QueryInterface(id, object);
    link->Release();
    return result;
}

} // namespace n_Platform
