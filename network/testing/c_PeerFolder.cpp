// Test helper: a peer program run from a folder of its own.

#include "network/testing/c_PeerFolder.h"

#include "platform/testing/TestFiles.h"

#include <cstdlib>
#include <filesystem>

c_PeerFolder::c_PeerFolder(const std::string& prefix) {
    std::string pattern = "/tmp/" + prefix + "-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) {
        m_Folder = pattern;
    }
}

c_PeerFolder::~c_PeerFolder() {
    // The program first: it may write into the folder until it ends.
    m_p_Process.reset();
    if (!m_Folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_Folder, ignored);
    }
}

void c_PeerFolder::WriteFile(const std::string& name, const std::string& content) const {
    WriteTestFile(GetPath(name), content);
}

bool c_PeerFolder::Start(const std::vector<std::string>& arguments, const std::string& address, std::uint16_t port) {
    if (!IsReady()) {
        return false;
    }
    // The old one first, so that the new one finds its address free.
    Stop();
    m_p_Process = std::make_unique<c_PeerProcess>(arguments);
    return m_p_Process->IsStarted() && c_PeerProcess::WaitUntilListening(address, port);
}
