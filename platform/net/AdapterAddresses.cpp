// GetAdaptersAddresses: the IPv4 interfaces laid out as IP Helper's record chains in the caller's
// buffer.

#include "platform/files/PathText.h"
#include "platform/kernel/LastError.h"
#include "platform/net/internal/PosixAdapters.h"

#include <iphlpapi.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace {

using n_PosixSockets::s_InterfaceRecord;

// Places the records one after another, each aligned to 8 bytes. Without a base it only measures,
// so one layout both sizes the buffer and fills it.
class c_RecordArena {
public:
    explicit c_RecordArena(std::uint8_t* base) : m_p_Base(base) {}

    template <typename T> T* Take(std::size_t count) {
        m_Used = (m_Used + 7) & ~std::size_t(7);
        T* place = m_p_Base == nullptr ? nullptr : reinterpret_cast<T*>(m_p_Base + m_Used);
        m_Used += sizeof(T) * count;
        if (place != nullptr) {
            std::memset(static_cast<void*>(place), 0, sizeof(T) * count);
        }
        return place;
    }
    std::size_t GetUsed() const { return m_Used; }

private:
    std::uint8_t* m_p_Base;
    std::size_t m_Used = 0;
};

char* CopyText(c_RecordArena& arena, const std::string& text) {
    char* copy = arena.Take<char>(text.size() + 1);
    if (copy != nullptr) {
        std::memcpy(copy, text.c_str(), text.size() + 1);
    }
    return copy;
}

WCHAR* CopyText(c_RecordArena& arena, const std::u16string& text) {
    WCHAR* copy = arena.Take<WCHAR>(text.size() + 1);
    if (copy != nullptr) {
        std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
    }
    return copy;
}

PIP_ADAPTER_UNICAST_ADDRESS LayOutAddresses(c_RecordArena& arena, const std::vector<std::uint32_t>& addresses) {
    PIP_ADAPTER_UNICAST_ADDRESS first = nullptr;
    PIP_ADAPTER_UNICAST_ADDRESS* link = &first;
    for (const std::uint32_t address : addresses) {
        auto* entry = arena.Take<IP_ADAPTER_UNICAST_ADDRESS>(1);
        auto* socketAddress = arena.Take<sockaddr_in>(1);
        if (entry == nullptr) {
            continue;
        }
        socketAddress->sin_family = AF_INET;
        socketAddress->sin_addr.s_addr = address;
        entry->Length = sizeof(IP_ADAPTER_UNICAST_ADDRESS);
        entry->Address.lpSockaddr = reinterpret_cast<sockaddr*>(socketAddress);
        entry->Address.iSockaddrLength = sizeof(sockaddr_in);
        *link = entry;
        link = &entry->Next;
    }
    return first;
}

IP_ADAPTER_ADDRESSES* LayOutAdapter(c_RecordArena& arena, const s_InterfaceRecord& record, ULONG flags) {
    auto* adapter = arena.Take<IP_ADAPTER_ADDRESSES>(1);
    char* name = CopyText(arena, record.m_Name);
    PIP_ADAPTER_UNICAST_ADDRESS unicast = LayOutAddresses(arena, record.m_IPv4Addresses);
    const std::u16string wideName = n_Platform::ToUtf16(record.m_Name);
    WCHAR* empty = CopyText(arena, std::u16string());
    WCHAR* description = CopyText(arena, wideName);
    WCHAR* friendly = (flags & GAA_FLAG_SKIP_FRIENDLY_NAME) != 0 ? empty : CopyText(arena, wideName);
    if (adapter == nullptr) {
        return nullptr;
    }
    adapter->Length = sizeof(IP_ADAPTER_ADDRESSES);
    adapter->IfIndex = record.m_Index;
    adapter->AdapterName = name;
    adapter->FirstUnicastAddress = unicast;
    adapter->DnsSuffix = empty;
    adapter->Description = description;
    adapter->FriendlyName = friendly;
    const std::size_t length = std::min<std::size_t>(record.m_HardwareAddress.size(), MAX_ADAPTER_ADDRESS_LENGTH);
    std::memcpy(adapter->PhysicalAddress, record.m_HardwareAddress.data(), length);
    adapter->PhysicalAddressLength = static_cast<ULONG>(length);
    return adapter;
}

std::size_t LayOut(std::uint8_t* base, const std::vector<s_InterfaceRecord>& records, ULONG flags) {
    c_RecordArena arena(base);
    IP_ADAPTER_ADDRESSES** link = nullptr;
    for (const s_InterfaceRecord& record : records) {
        IP_ADAPTER_ADDRESSES* adapter = LayOutAdapter(arena, record, flags);
        if (link != nullptr) {
            *link = adapter;
        }
        link = adapter == nullptr ? nullptr : &adapter->Next;
    }
    return arena.GetUsed();
}

} // namespace

ULONG WINAPI GetAdaptersAddresses(ULONG family, ULONG flags, PVOID reserved, PIP_ADAPTER_ADDRESSES adapters,
                                  PULONG size) {
    if (size == nullptr || reserved != nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (family != AF_INET && family != AF_UNSPEC) {
        return ERROR_NOT_SUPPORTED;
    }
    std::vector<s_InterfaceRecord> records;
    if (!n_PosixSockets::ReadIPv4Interfaces(records)) {
        return n_Platform::WindowsErrorFromErrno(errno);
    }
    if (records.empty()) {
        return ERROR_NO_DATA;
    }
    const std::size_t needed = LayOut(nullptr, records, flags);
    if (adapters == nullptr || *size < needed) {
        *size = static_cast<ULONG>(needed);
        return ERROR_BUFFER_OVERFLOW;
    }
    LayOut(reinterpret_cast<std::uint8_t*>(adapters), records, flags);
    return ERROR_SUCCESS;
}
