// The process's table of object names and the claims of names across processes.

#include "platform/kernel/NamedObjects.h"

#include "platform/kernel/LastError.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace {

struct s_NameTable {
    std::mutex m_Lock;
    std::unordered_map<std::u16string, std::weak_ptr<n_Platform::c_KernelObject>> m_Objects;
};

// Never destroyed: objects may die while the process exits.
s_NameTable& GetNameTable() {
    static s_NameTable* table = new s_NameTable;
    return *table;
}

// FNV-1a over the UTF-16 units; names of any length fit the socket address this way.
std::uint64_t HashName(const std::u16string& name) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char16_t unit : name) {
        hash = (hash ^ unit) * 1099511628211ull;
    }
    return hash;
}

} // namespace

namespace n_Platform {

c_ObjectName::~c_ObjectName() {
    s_NameTable& table = GetNameTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    const auto found = table.m_Objects.find(m_Name);
    // A later object of the same name may have taken the entry over; that one is still alive.
    if (found != table.m_Objects.end() && found->second.expired()) {
        table.m_Objects.erase(found);
    }
}

c_SystemNameClaim::~c_SystemNameClaim() {
    if (m_Socket >= 0) {
        close(m_Socket);
    }
}

int c_SystemNameClaim::Claim(const std::u16string& name) {
    m_Socket = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_Socket < 0) {
        return errno;
    }
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    // An abstract address starts with a NUL byte; its length is given, not terminated.
    const int length = std::snprintf(address.sun_path + 1, sizeof address.sun_path - 1, "win32-object/%u/%016llx",
                                     static_cast<unsigned>(getuid()), static_cast<unsigned long long>(HashName(name)));
    const socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (bind(m_Socket, reinterpret_cast<const sockaddr*>(&address), size) != 0) {
        const int error = errno;
        close(m_Socket);
        m_Socket = -1;
        return error;
    }
    return 0;
}

void c_SystemNameClaim::TakeOver(c_SystemNameClaim& other) {
    std::swap(m_Socket, other.m_Socket);
}

std::shared_ptr<c_KernelObject> OpenOrCreateNamedObject(const std::u16string& name,
                                                        const std::function<std::shared_ptr<c_KernelObject>()>& create,
                                                        bool& existed) {
    s_NameTable& table = GetNameTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    std::weak_ptr<c_KernelObject>& entry = table.m_Objects[name];
    std::shared_ptr<c_KernelObject> object = entry.lock();
    existed = object != nullptr;
    if (object == nullptr) {
        object = create();
        if (object == nullptr) {
            table.m_Objects.erase(name);
            return nullptr;
        }
        entry = object;
    }
    return object;
}

std::u16string ReadObjectName(LPCWSTR name) {
    return name == nullptr ? std::u16string() : std::u16string(name);
}

HANDLE InsertCreatedObject(std::shared_ptr<c_KernelObject> object, bool existed) {
    HANDLE handle = InsertHandle(std::move(object));
    if (handle != nullptr) {
        SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    }
    return handle;
}

} // namespace n_Platform
