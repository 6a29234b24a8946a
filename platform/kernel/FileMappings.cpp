// File mappings backed by memory: CreateFileMappingW, OpenFileMappingW and their views.
//
// A view holds the mapping's bytes alive, so a view outlives the handle, as on Windows.

#include "platform/kernel/LastError.h"
#include "platform/kernel/NamedObjects.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

namespace {

class c_MappingObject : public n_Platform::c_KernelObject {
public:
    c_MappingObject(std::u16string name, std::shared_ptr<unsigned char[]> bytes, ULONGLONG size)
        : m_Bytes(std::move(bytes)), m_Size(size), m_Name(std::move(name)) {}

    const std::shared_ptr<unsigned char[]>& GetBytes() const { return m_Bytes; }
    ULONGLONG GetSize() const { return m_Size; }

private:
    std::shared_ptr<unsigned char[]> m_Bytes;
    ULONGLONG m_Size;
    n_Platform::c_ObjectName m_Name;
};

// Live views by address (two views of one place share it); each keeps its mapping's bytes.
struct s_ViewTable {
    std::mutex m_Lock;
    std::unordered_multimap<LPCVOID, std::shared_ptr<unsigned char[]>> m_Views;
};

s_ViewTable& GetViewTable() {
    static s_ViewTable* table = new s_ViewTable;
    return *table;
}

std::shared_ptr<c_MappingObject> MakeMapping(const std::u16string& name, ULONGLONG size) {
    std::shared_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[size]());
    if (bytes == nullptr) {
        return n_Platform::FailWith<std::shared_ptr<c_MappingObject>>(nullptr, ERROR_NOT_ENOUGH_MEMORY);
    }
    return std::make_shared<c_MappingObject>(name, std::move(bytes), size);
}

} // namespace

HANDLE WINAPI CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protection, DWORD sizeHigh, DWORD sizeLow,
                                 LPCWSTR name) {
    if (file != INVALID_HANDLE_VALUE) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_NOT_SUPPORTED);
    }
    const ULONGLONG size = static_cast<ULONGLONG>(sizeHigh) << 32 | sizeLow;
    if (size == 0 || (protection != PAGE_READONLY && protection != PAGE_READWRITE)) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_INVALID_PARAMETER);
    }
    const std::u16string objectName = n_Platform::ReadObjectName(name);
    if (objectName.empty()) {
        std::shared_ptr<c_MappingObject> mapping = MakeMapping(objectName, size);
        return mapping == nullptr ? nullptr : n_Platform::InsertCreatedObject(std::move(mapping), false);
    }
    bool existed = false;
    std::shared_ptr<n_Platform::c_KernelObject> object = n_Platform::OpenOrCreateNamedObject(
        objectName, [&] { return MakeMapping(objectName, size); }, existed);
    if (object == nullptr) {
        return nullptr;
    }
    if (std::dynamic_pointer_cast<c_MappingObject>(object) == nullptr) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_INVALID_HANDLE);
    }
    return n_Platform::InsertCreatedObject(std::move(object), existed);
}

HANDLE WINAPI OpenFileMappingW(DWORD, BOOL, LPCWSTR name) {
    const std::u16string objectName = n_Platform::ReadObjectName(name);
    if (objectName.empty()) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_INVALID_PARAMETER);
    }
    bool existed = false;
    std::shared_ptr<n_Platform::c_KernelObject> object = n_Platform::OpenOrCreateNamedObject(
        objectName,
        [] { return n_Platform::FailWith<std::shared_ptr<n_Platform::c_KernelObject>>(nullptr, ERROR_FILE_NOT_FOUND); },
        existed);
    if (object == nullptr) {
        return nullptr;
    }
    if (std::dynamic_pointer_cast<c_MappingObject>(object) == nullptr) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_INVALID_HANDLE);
    }
    return n_Platform::InsertHandle(std::move(object));
}

LPVOID WINAPI MapViewOfFile(HANDLE handle, DWORD, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes) {
    std::shared_ptr<c_MappingObject> mapping = n_Platform::LookupHandleAs<c_MappingObject>(handle);
    if (mapping == nullptr) {
        return nullptr;
    }
    const ULONGLONG offset = static_cast<ULONGLONG>(offsetHigh) << 32 | offsetLow;
    if (offset > mapping->GetSize() || bytes > mapping->GetSize() - offset) {
        return n_Platform::FailWith<LPVOID>(nullptr, ERROR_INVALID_PARAMETER);
    }
    unsigned char* view = mapping->GetBytes().get() + offset;
    s_ViewTable& table = GetViewTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    table.m_Views.emplace(view, mapping->GetBytes());
    return view;
}

BOOL WINAPI UnmapViewOfFile(LPCVOID view) {
    s_ViewTable& table = GetViewTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    const auto found = table.m_Views.find(view);
    if (found == table.m_Views.end()) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_ADDRESS);
    }
    table.m_Views.erase(found);
    return TRUE;
}
