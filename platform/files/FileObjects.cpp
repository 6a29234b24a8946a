// File objects and the sharing table of the process's open files.

#include "platform/files/FileObjects.h"

#include <unistd.h>

namespace n_Platform {

DWORD ReduceAccess(DWORD desiredAccess) {
    DWORD access = 0;
    if ((desiredAccess & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA)) != 0) {
        access |= SHARED_ACCESS_READ;
    }
    if ((desiredAccess & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA)) != 0) {
        access |= SHARED_ACCESS_WRITE;
    }
    if ((desiredAccess & (GENERIC_ALL | DELETE)) != 0) {
        access |= SHARED_ACCESS_DELETE;
    }
    return access;
}

c_SharingTable& c_SharingTable::Get() {
    // Never destroyed: handles may be closed while the process exits.
    static c_SharingTable* table = new c_SharingTable;
    return *table;
}

bool c_SharingTable::Permits(const s_FileKey& key, DWORD access, DWORD shareMode) const {
    const auto found = m_Opens.find({key.m_Device, key.m_Inode});
    if (access == 0 || found == m_Opens.end()) {
        return true;
    }
    for (const s_Open& open : found->second) {
        if ((access & ~open.m_ShareMode) != 0 || (open.m_Access & ~shareMode) != 0) {
            return false;
        }
    }
    return true;
}

void c_SharingTable::Add(const s_FileKey& key, DWORD access, DWORD shareMode) {
    if (access != 0) {
        m_Opens[{key.m_Device, key.m_Inode}].push_back({access, shareMode});
    }
}

void c_SharingTable::Remove(const s_FileKey& key, DWORD access, DWORD shareMode) {
    const auto found = m_Opens.find({key.m_Device, key.m_Inode});
    if (access == 0 || found == m_Opens.end()) {
        return;
    }
    std::vector<s_Open>& opens = found->second;
    for (auto open = opens.begin(); open != opens.end(); ++open) {
        if (open->m_Access == access && open->m_ShareMode == shareMode) {
            opens.erase(open);
            break;
        }
    }
    if (opens.empty()) {
        m_Opens.erase(found);
    }
}

c_FileObject::c_FileObject(int descriptor, const s_FileKey& key, DWORD access, DWORD shareMode, bool overlapped,
                           bool regular, std::string linuxPath)
    : m_Descriptor(descriptor), m_Key(key), m_Access(access), m_ShareMode(shareMode & 7), m_Overlapped(overlapped),
      m_Regular(regular), m_LinuxPath(std::move(linuxPath)) {
    c_SharingTable::Get().Add(m_Key, m_Access, m_ShareMode);
}

c_FileObject::~c_FileObject() {
    {
        c_SharingTable& table = c_SharingTable::Get();
        std::unique_lock<std::mutex> lock = table.Lock();
        table.Remove(m_Key, m_Access, m_ShareMode);
    }
    close(m_Descriptor);
}

std::shared_ptr<c_FileObject> LookupFile(HANDLE handle) {
    return LookupHandleAs<c_FileObject>(handle);
}

} // namespace n_Platform
