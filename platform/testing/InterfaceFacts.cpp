// Test helper: the IPv4 interfaces from SIOCGIFCONF and their hardware addresses from sysfs.

#include "platform/testing/InterfaceFacts.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <fstream>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::string ReadHardwareAddressText(const std::string& name) {
    std::ifstream file("/sys/class/net/" + name + "/address");
    std::string text;
    std::getline(file, text);
    return text;
}

} // namespace

std::vector<s_InterfaceFact> ReadInterfaceFacts() {
    std::vector<s_InterfaceFact> facts;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return facts;
    }
    ifreq requests[64] = {};
    ifconf configuration{};
    configuration.ifc_len = sizeof requests;
    configuration.ifc_req = requests;
    if (::ioctl(fd, SIOCGIFCONF, &configuration) == 0) {
        const int count = configuration.ifc_len / static_cast<int>(sizeof(ifreq));
        for (int index = 0; index < count; ++index) {
            s_InterfaceFact fact;
            fact.m_Name = requests[index].ifr_name;
            fact.m_Name = fact.m_Name.substr(0, fact.m_Name.find(':'));
            const auto* address = reinterpret_cast<const sockaddr_in*>(&requests[index].ifr_addr);
            fact.m_IPv4Address = ntohl(address->sin_addr.s_addr);
            fact.m_HardwareAddressText = ReadHardwareAddressText(fact.m_Name);
            facts.push_back(fact);
        }
    }
    ::close(fd);
    return facts;
}

std::string ToDashedUpperCase(std::string hardwareAddressText) {
    std::replace(hardwareAddressText.begin(), hardwareAddressText.end(), ':', '-');
    std::transform(hardwareAddressText.begin(), hardwareAddressText.end(), hardwareAddressText.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return hardwareAddressText;
}
