// Fuzz target: the .lnk reader on any bytes. A file that reads is written back in our form and reads
// again to the same link; the reader never reads outside the bytes it is given.

#include "platform/shell/ShellLinkFile.h"
#include "fuzz/FuzzInput.h"

namespace {

bool SameLink(const n_Platform::s_ShellLinkData& a, const n_Platform::s_ShellLinkData& b) {
    return a.m_Target == b.m_Target && a.m_Description == b.m_Description &&
           a.m_WorkingDirectory == b.m_WorkingDirectory && a.m_Arguments == b.m_Arguments &&
           a.m_IconLocation == b.m_IconLocation && a.m_IconIndex == b.m_IconIndex &&
           a.m_ShowCommand == b.m_ShowCommand && a.m_FileAttributes == b.m_FileAttributes &&
           a.m_FileSize == b.m_FileSize && a.m_LastWrite.dwLowDateTime == b.m_LastWrite.dwLowDateTime;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20) {
        return 0;
    }
    n_Platform::s_ShellLinkData link;
    if (!n_Platform::ReadShellLink(std::string_view(reinterpret_cast<const char*>(data), size), link)) {
        return 0;
    }
    // A link info may hold a longer target than our writer can; such a link is not written back.
    if (link.m_Target.size() > n_Platform::LONGEST_LINK_TEXT) {
        return 0;
    }
    n_Platform::s_ShellLinkData again;
    FUZZ_CHECK(n_Platform::ReadShellLink(n_Platform::WriteShellLink(link), again));
    FUZZ_CHECK(SameLink(link, again));
    return 0;
}
