// n_OSLayer name and address lookup over GetAddrInfoW and InetPtonW.

#include "oslayer/net/NameLookup.h"

#include "oslayer/system/ErrorText.h"
#include "oslayer/system/TextConversion.h"
#include "textutil/TextSplit.h"

#include <vector>

namespace {

constexpr std::uint64_t MAX_PORT = 65535;

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Leading white space skipped, digits up to the first non-digit; none for a value above 65535.
std::optional<std::uint16_t> ParsePort(const c_StringView& text) {
    const char* position = text.begin();
    while (position != text.end() && IsWhiteSpace(*position)) {
        ++position;
    }
    std::uint64_t value = 0;
    for (; position != text.end() && *position >= '0' && *position <= '9'; ++position) {
        value = value * 10 + std::uint64_t(*position - '0');
        if (value > MAX_PORT) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint16_t>(value);
}

// The first AF_INET entry, in host order.
std::optional<std::uint32_t> FindIPv4(const ADDRINFOW* list) {
    for (const ADDRINFOW* entry = list; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr) {
            return ntohl(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr);
        }
    }
    return std::nullopt;
}

} // namespace

namespace n_OSLayer {

int GetAddrInfo(const c_StringView& host, const c_StringView& service, const ADDRINFOW* hints, ADDRINFOW** result) {
    const c_WString wideHost = UTF8ToWide(host);
    const c_WString wideService = UTF8ToWide(service);
    return GetAddrInfoW(wideHost.begin(), service.IsEmpty() ? nullptr : wideService.begin(), hints, result);
}

std::optional<std::uint32_t> ParseIPv4Address(const c_StringView& text) {
    const c_WString wide = UTF8ToWide(text);
    in_addr address{};
    if (InetPtonW(AF_INET, wide.begin(), &address) != 1) {
        return std::nullopt;
    }
    return ntohl(address.s_addr);
}

std::optional<s_IPv4AddressAndPort> ParseIPv4AddressAndPort(const c_StringView& text) {
    const std::vector<c_StringView> pieces = SplitPadded(text, ":", 2);
    const std::optional<std::uint32_t> address = ParseIPv4Address(pieces[0]);
    const std::optional<std::uint16_t> port = ParsePort(pieces[1]);
    if (!address || !port) {
        return std::nullopt;
    }
    return s_IPv4AddressAndPort{*address, *port};
}

} // namespace n_OSLayer

c_String MakeGetAddrInfoErrorText(const c_StringView& host, const c_StringView& errorText) {
    return Concat({"Error getting address info for ", host, ". ", errorText});
}

c_String GetNetworkErrorText(std::uint32_t code) {
    return n_OSLayer::GetWindowsErrorText(code);
}

bool ResolveIPv4Address(const c_String& host, std::uint32_t* address, c_String* error) {
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW* list = nullptr;
    int result = 0;
    try {
        result = n_OSLayer::GetAddrInfo(host, c_StringView(), &hints, &list);
    } catch (...) {
        *error = "Unknown getaddrinfo exception";
        return false;
    }
    if (result != 0) {
        *error = MakeGetAddrInfoErrorText(host, GetNetworkErrorText(static_cast<std::uint32_t>(result)));
        return false;
    }
    const std::optional<std::uint32_t> found = FindIPv4(list);
    FreeAddrInfoW(list);
    if (!found) {
        return false;
    }
    *address = *found;
    return true;
}
