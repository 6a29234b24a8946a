// The interfaces that hold IPv4 addresses, with their hardware addresses, from getifaddrs.

#include "platform/net/internal/PosixAdapters.h"

#include <algorithm>
#include <cstring>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netpacket/packet.h>
#include <sys/socket.h>

namespace n_PosixSockets {

namespace {

// An alias label ("eth0:1") names its interface.
s_InterfaceRecord& RecordOf(std::vector<s_InterfaceRecord>& records, const char* label) {
    const std::string name(label, std::strcspn(label, ":"));
    auto found = std::find_if(records.begin(), records.end(),
                              [&](const s_InterfaceRecord& record) { return record.m_Name == name; });
    if (found != records.end()) {
        return *found;
    }
    s_InterfaceRecord& added = records.emplace_back();
    added.m_Name = name;
    added.m_Index = if_nametoindex(name.c_str());
    return added;
}

void AddEntry(std::vector<s_InterfaceRecord>& records, const ifaddrs& entry) {
    if (entry.ifa_addr == nullptr || entry.ifa_name == nullptr) {
        return;
    }
    if (entry.ifa_addr->sa_family == AF_INET) {
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry.ifa_addr);
        RecordOf(records, entry.ifa_name).m_IPv4Addresses.push_back(address->sin_addr.s_addr);
    } else if (entry.ifa_addr->sa_family == AF_PACKET) {
        const auto* link = reinterpret_cast<const sockaddr_ll*>(entry.ifa_addr);
        const std::size_t length = std::min<std::size_t>(link->sll_halen, sizeof link->sll_addr);
        RecordOf(records, entry.ifa_name).m_HardwareAddress.assign(link->sll_addr, link->sll_addr + length);
    }
}

} // namespace

bool ReadIPv4Interfaces(std::vector<s_InterfaceRecord>& out) {
    out.clear();
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return false;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        AddEntry(out, *entry);
    }
    freeifaddrs(list);
    std::erase_if(out, [](const s_InterfaceRecord& record) { return record.m_IPv4Addresses.empty(); });
    std::stable_sort(out.begin(), out.end(),
                     [](const s_InterfaceRecord& a, const s_InterfaceRecord& b) { return a.m_Index < b.m_Index; });
    return true;
}

} // namespace n_PosixSockets
