// Mutex objects: CreateMutexW and ReleaseMutex.
//
// A named mutex claims its name across processes when it is made. When another process holds the
// name, the call reports ERROR_ALREADY_EXISTS and gives a mutex of this process under that name:
// the name is shared, the lock is not.

#include "platform/kernel/LastError.h"
#include "platform/kernel/NamedObjects.h"
#include "platform/kernel/WaitableObject.h"

#include <cerrno>

namespace {

class c_MutexObject : public n_Platform::c_WaitableObject {
public:
    explicit c_MutexObject(std::u16string name) : m_Name(std::move(name)) {}

    bool IsSignaledFor(DWORD threadId) const override { return m_Owner == 0 || m_Owner == threadId; }
    void Acquire(DWORD threadId) override {
        m_Owner = threadId;
        ++m_Recursion;
    }

    bool Release(DWORD threadId) {
        std::lock_guard<std::mutex> lock(n_Platform::GetKernelLock());
        if (m_Owner != threadId) {
            return false;
        }
        if (--m_Recursion == 0) {
            m_Owner = 0;
            SatisfyWaiters();
        }
        return true;
    }

    n_Platform::c_SystemNameClaim& GetClaim() { return m_Claim; }

private:
    DWORD m_Owner = 0;
    int m_Recursion = 0;
    n_Platform::c_ObjectName m_Name;
    n_Platform::c_SystemNameClaim m_Claim;
};

// A new mutex, owned by owner (0: by nobody) before anyone else can reach it.
std::shared_ptr<c_MutexObject> MakeMutex(const std::u16string& name, DWORD owner) {
    auto mutex = std::make_shared<c_MutexObject>(name);
    if (owner != 0) {
        mutex->Acquire(owner);
    }
    return mutex;
}

// A new mutex under the name; the first owner is granted only when this process could claim the
// name. claimedElsewhere tells that another process holds it.
std::shared_ptr<c_MutexObject> MakeNamedMutex(const std::u16string& name, DWORD owner, bool& claimedElsewhere) {
    n_Platform::c_SystemNameClaim claim;
    const int error = claim.Claim(name);
    claimedElsewhere = error == EADDRINUSE;
    if (error != 0 && !claimedElsewhere) {
        return n_Platform::FailWithErrno<std::shared_ptr<c_MutexObject>>(nullptr, error);
    }
    std::shared_ptr<c_MutexObject> mutex = MakeMutex(name, claimedElsewhere ? 0 : owner);
    mutex->GetClaim().TakeOver(claim);
    return mutex;
}

} // namespace

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCWSTR name) {
    const std::u16string objectName = n_Platform::ReadObjectName(name);
    const DWORD owner = initialOwner != FALSE ? GetCurrentThreadId() : 0;
    if (objectName.empty()) {
        return n_Platform::InsertCreatedObject(MakeMutex(objectName, owner), false);
    }
    bool existed = false;
    bool claimedElsewhere = false;
    std::shared_ptr<n_Platform::c_KernelObject> object = n_Platform::OpenOrCreateNamedObject(
        objectName, [&] { return MakeNamedMutex(objectName, owner, claimedElsewhere); }, existed);
    if (object == nullptr) {
        return nullptr;
    }
    if (std::dynamic_pointer_cast<c_MutexObject>(object) == nullptr) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_INVALID_HANDLE);
    }
    return n_Platform::InsertCreatedObject(std::move(object), existed || claimedElsewhere);
}

BOOL WINAPI ReleaseMutex(HANDLE handle) {
    std::shared_ptr<c_MutexObject> mutex = n_Platform::LookupHandleAs<c_MutexObject>(handle);
    if (mutex == nullptr) {
        return FALSE;
    }
    if (!mutex->Release(GetCurrentThreadId())) {
        return n_Platform::FailWith(FALSE, ERROR_NOT_OWNER);
    }
    return TRUE;
}
