#pragma once
// The handle table: every kernel object that the program holds is reached through a checked entry.
//
// A handle is an entry index and that entry's generation; closing the handle moves the entry on to
// its next generation, so a stale handle, a made-up one or one of another kind fails with
// ERROR_INVALID_HANDLE instead of reaching some other object. An object lives while a handle or
// the layer itself (a running thread, a wait in progress) still holds it.

#include <windows.h>

#include <memory>

namespace n_Platform {

class c_KernelObject {
public:
    virtual ~c_KernelObject() = default;

    // Called when the object's handle is closed, while others may still hold the object.
    virtual void OnHandleClosed() {}
};

// A new handle to the object, or null with ERROR_NO_SYSTEM_RESOURCES when the table is full.
HANDLE InsertHandle(std::shared_ptr<c_KernelObject> object);

// The object behind a handle, or null with ERROR_INVALID_HANDLE.
std::shared_ptr<c_KernelObject> LookupHandle(HANDLE handle);

// The same, also failing when the object is not a T.
template <typename T> std::shared_ptr<T> LookupHandleAs(HANDLE handle) {
    std::shared_ptr<T> object = std::dynamic_pointer_cast<T>(LookupHandle(handle));
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return object;
}

} // namespace n_Platform
