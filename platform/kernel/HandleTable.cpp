// The handle table and CloseHandle.

#include "platform/kernel/HandleTable.h"

#include "platform/kernel/LastError.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace {

// Handles are multiples of 4, as on Windows: the index sits above two zero bits and the generation
// above the index, so no handle is 0 or INVALID_HANDLE_VALUE.
constexpr int INDEX_BITS = 24;
constexpr std::uint64_t INDEX_MASK = (std::uint64_t(1) << INDEX_BITS) - 1;
constexpr std::uint64_t MAX_ENTRIES = INDEX_MASK + 1;

struct s_Entry {
    std::uint64_t m_Generation = 1;
    std::shared_ptr<n_Platform::c_KernelObject> m_p_Object;
};

class c_HandleTable {
public:
    HANDLE Insert(std::shared_ptr<n_Platform::c_KernelObject> object) {
        std::lock_guard<std::mutex> lock(m_Lock);
        std::uint64_t index;
        if (!m_FreeEntries.empty()) {
            index = m_FreeEntries.back();
            m_FreeEntries.pop_back();
        } else if (m_Entries.size() < MAX_ENTRIES) {
            index = m_Entries.size();
            m_Entries.emplace_back();
        } else {
            return n_Platform::FailWith<HANDLE>(nullptr, ERROR_NO_SYSTEM_RESOURCES);
        }
        m_Entries[index].m_p_Object = std::move(object);
        return MakeHandle(index, m_Entries[index].m_Generation);
    }

    std::shared_ptr<n_Platform::c_KernelObject> Lookup(HANDLE handle) {
        std::lock_guard<std::mutex> lock(m_Lock);
        s_Entry* entry = Find(handle);
        return entry == nullptr ? nullptr : entry->m_p_Object;
    }

    // The object leaves the table under the lock but is released after it, since its destructor
    // may use other tables.
    std::shared_ptr<n_Platform::c_KernelObject> Remove(HANDLE handle) {
        std::lock_guard<std::mutex> lock(m_Lock);
        s_Entry* entry = Find(handle);
        if (entry == nullptr) {
            return nullptr;
        }
        ++entry->m_Generation;
        m_FreeEntries.push_back(static_cast<std::uint64_t>(entry - m_Entries.data()));
        return std::move(entry->m_p_Object);
    }

private:
    static HANDLE MakeHandle(std::uint64_t index, std::uint64_t generation) {
        return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(((generation << INDEX_BITS) | index) << 2));
    }

    s_Entry* Find(HANDLE handle) {
        const std::uint64_t value = reinterpret_cast<std::uintptr_t>(handle);
        const std::uint64_t index = (value >> 2) & INDEX_MASK;
        if ((value & 3) != 0 || index >= m_Entries.size()) {
            return nullptr;
        }
        s_Entry& entry = m_Entries[index];
        if (entry.m_p_Object == nullptr || MakeHandle(index, entry.m_Generation) != handle) {
            return nullptr;
        }
        return &entry;
    }

    std::mutex m_Lock;
    std::vector<s_Entry> m_Entries;
    std::vector<std::uint64_t> m_FreeEntries;
};

// Never destroyed: threads may still close handles while the process exits.
c_HandleTable& GetHandleTable() {
    static c_HandleTable* table = new c_HandleTable;
    return *table;
}

} // namespace

namespace n_Platform {

HANDLE InsertHandle(std::shared_ptr<c_KernelObject> object) {
    return GetHandleTable().Insert(std::move(object));
}

std::shared_ptr<c_KernelObject> LookupHandle(HANDLE handle) {
    std::shared_ptr<c_KernelObject> object = GetHandleTable().Lookup(handle);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return object;
}

} // namespace n_Platform

BOOL WINAPI CloseHandle(HANDLE handle) {
    const std::shared_ptr<n_Platform::c_KernelObject> object = GetHandleTable().Remove(handle);
    if (object == nullptr) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_HANDLE);
    }
    object->OnHandleClosed();
    return TRUE;
}
