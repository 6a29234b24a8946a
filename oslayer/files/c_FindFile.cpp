// n_OSLayer::c_FindFile over FindFirstFileW, FindNextFileW and FindClose.

#include "oslayer/files/c_FindFile.h"

#include "oslayer/system/TextConversion.h"

namespace n_OSLayer {

c_FindFile::c_FindFile(const c_StringView& pattern) {
    HANDLE handle = FindFirstFileW(UTF8ToWide(pattern).begin(), &m_Entry);
    m_Handle = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

c_FindFile::~c_FindFile() {
    if (m_Handle != nullptr) {
        FindClose(m_Handle);
    }
}

bool c_FindFile::FindNext() {
    if (m_Handle == nullptr) {
        return false;
    }
    if (!FindNextFileW(m_Handle, &m_Entry)) {
        m_Entry = {};
        return false;
    }
    return true;
}

c_String c_FindFile::GetFileName() const {
    return WideToUTF8(c_WStringView(m_Entry.cFileName, MAX_PATH, true));
}

} // namespace n_OSLayer
