#pragma once
// Names of kernel objects: one table per process, compared with case, as on Windows.
//
// A named object keeps a c_ObjectName member, which takes the name out of the table when the
// object dies. A c_SystemNameClaim makes a name known to the other processes of the same user: it
// is an abstract Unix socket bound to an address made from the name, which the kernel releases
// when the process ends, however it ends, and which leaves nothing behind on disk.

#include "platform/kernel/HandleTable.h"

#include <functional>
#include <string>

namespace n_Platform {

class c_ObjectName {
public:
    explicit c_ObjectName(std::u16string name) : m_Name(std::move(name)) {}
    ~c_ObjectName();
    c_ObjectName(const c_ObjectName&) = delete;
    c_ObjectName& operator=(const c_ObjectName&) = delete;

private:
    std::u16string m_Name;
};

class c_SystemNameClaim {
public:
    c_SystemNameClaim() = default;
    ~c_SystemNameClaim();
    c_SystemNameClaim(const c_SystemNameClaim&) = delete;
    c_SystemNameClaim& operator=(const c_SystemNameClaim&) = delete;

    // 0 when this process now holds the name; EADDRINUSE when another process holds it; another
    // errno value when the claim could not be tried.
    int Claim(const std::u16string& name);
    // Takes the other claim's name; the other holds none afterwards.
    void TakeOver(c_SystemNameClaim& other);

private:
    int m_Socket = -1;
};

// The live object of that name, or the one that create makes (null to fail, with the last error
// set), registered under the name. existed tells which. create runs under the table's lock.
std::shared_ptr<c_KernelObject> OpenOrCreateNamedObject(const std::u16string& name,
                                                        const std::function<std::shared_ptr<c_KernelObject>()>& create,
                                                        bool& existed);

// The name as a string; empty for a null pointer.
std::u16string ReadObjectName(LPCWSTR name);

// Puts a new object into the handle table with the last error that creation reports: 0, or
// ERROR_ALREADY_EXISTS when the name was already taken.
HANDLE InsertCreatedObject(std::shared_ptr<c_KernelObject> object, bool existed);

} // namespace n_Platform
