// Event objects: CreateEventW, SetEvent and ResetEvent.

#include "platform/kernel/LastError.h"
#include "platform/kernel/NamedObjects.h"
#include "platform/kernel/WaitableObject.h"

namespace {

class c_EventObject : public n_Platform::c_WaitableObject {
public:
    c_EventObject(bool manualReset, bool signaled, std::u16string name)
        : m_ManualReset(manualReset), m_Signaled(signaled), m_Name(std::move(name)) {}

    bool IsSignaledFor(DWORD) const override { return m_Signaled; }
    void Acquire(DWORD) override { m_Signaled = m_Signaled && m_ManualReset; }

    void SetSignaled(bool signaled) {
        std::lock_guard<std::mutex> lock(n_Platform::GetKernelLock());
        m_Signaled = signaled;
        if (signaled) {
            SatisfyWaiters();
        }
    }

private:
    bool m_ManualReset;
    bool m_Signaled;
    n_Platform::c_ObjectName m_Name;
};

BOOL SetEventState(HANDLE handle, bool signaled) {
    std::shared_ptr<c_EventObject> event = n_Platform::LookupHandleAs<c_EventObject>(handle);
    if (event == nullptr) {
        return FALSE;
    }
    event->SetSignaled(signaled);
    return TRUE;
}

} // namespace

HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR name) {
    std::u16string objectName = n_Platform::ReadObjectName(name);
    const auto create = [&] {
        return std::make_shared<c_EventObject>(manualReset != FALSE, initialState != FALSE, objectName);
    };
    if (objectName.empty()) {
        return n_Platform::InsertCreatedObject(create(), false);
    }
    bool existed = false;
    std::shared_ptr<n_Platform::c_KernelObject> object =
        n_Platform::OpenOrCreateNamedObject(objectName, create, existed);
    // A name taken by an object of another kind cannot be opened as an event.
    if (std::dynamic_pointer_cast<c_EventObject>(object) == nullptr) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_INVALID_HANDLE);
    }
    return n_Platform::InsertCreatedObject(std::move(object), existed);
}

BOOL WINAPI SetEvent(HANDLE event) {
    return SetEventState(event, true);
}

BOOL WINAPI ResetEvent(HANDLE event) {
    return SetEventState(event, false);
}
