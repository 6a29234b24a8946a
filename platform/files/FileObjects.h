#pragma once
// File handles: the open file behind a handle, and the sharing that the process's handles grant.
//
// Every handle with data access is listed under its file (device and inode) with its access and its
// sharing mode. A new handle, a delete or a move is refused with ERROR_SHARING_VIOLATION when it
// would take an access that an open handle does not share, or when an open handle takes one that the
// new handle would not share, as Windows decides it. Handles of other processes are not seen.

#include "platform/kernel/HandleTable.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace n_Platform {

struct s_FileKey {
    std::uint64_t m_Device = 0;
    std::uint64_t m_Inode = 0;
};

// Access bits laid out as the FILE_SHARE_ bits, so that one mask checks the other.
constexpr DWORD SHARED_ACCESS_READ = FILE_SHARE_READ;
constexpr DWORD SHARED_ACCESS_WRITE = FILE_SHARE_WRITE;
constexpr DWORD SHARED_ACCESS_DELETE = FILE_SHARE_DELETE;

// The data access that a CreateFileW access mask asks for, in the bits above.
DWORD ReduceAccess(DWORD desiredAccess);

class c_SharingTable {
public:
    static c_SharingTable& Get();

    // Held around each check and the change it allows, so that two threads cannot both pass.
    std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(m_Lock); }

    // Under the lock.
    bool Permits(const s_FileKey& key, DWORD access, DWORD shareMode) const;
    void Add(const s_FileKey& key, DWORD access, DWORD shareMode);
    void Remove(const s_FileKey& key, DWORD access, DWORD shareMode);

private:
    struct s_Open {
        DWORD m_Access;
        DWORD m_ShareMode;
    };

    c_SharingTable() = default;

    std::mutex m_Lock;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::vector<s_Open>> m_Opens;
};

class c_FileObject : public c_KernelObject {
public:
    // Made under the sharing table's lock. Takes the descriptor; a file opened with data access is in
    // the sharing table, and leaves it when the object dies.
    c_FileObject(int descriptor, const s_FileKey& key, DWORD access, DWORD shareMode, bool overlapped, bool regular,
                 std::string linuxPath);
    ~c_FileObject() override;

    bool CanRead() const { return (m_Access & SHARED_ACCESS_READ) != 0; }
    bool CanWrite() const { return (m_Access & SHARED_ACCESS_WRITE) != 0; }

    const int m_Descriptor;
    const s_FileKey m_Key;
    const DWORD m_Access;
    const DWORD m_ShareMode;
    const bool m_Overlapped;
    const bool m_Regular;
    const std::string m_LinuxPath;
};

// The file behind a handle, or null with ERROR_INVALID_HANDLE.
std::shared_ptr<c_FileObject> LookupFile(HANDLE handle);

} // namespace n_Platform
