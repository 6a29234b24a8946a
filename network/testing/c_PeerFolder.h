#pragma once
// Test helper: a peer program that runs from a fresh folder of its own (configuration, logs, process
// id file), started by a test and stopped by its process id; the folder goes with the object.

#include "network/testing/c_PeerProcess.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class c_PeerFolder {
public:
    // The folder is /tmp/<prefix>-XXXXXX.
    explicit c_PeerFolder(const std::string& prefix);
    ~c_PeerFolder();
    c_PeerFolder(const c_PeerFolder&) = delete;
    c_PeerFolder& operator=(const c_PeerFolder&) = delete;

    bool IsReady() const { return !m_Folder.empty(); }
    std::string GetPath(const std::string& name) const { return m_Folder + "/" + name; }
    void WriteFile(const std::string& name, const std::string& content) const;
    // Starts the program and waits until address:port takes connections; a program started before
    // is stopped first.
    bool Start(const std::vector<std::string>& arguments, const std::string& address, std::uint16_t port);
    // Stops the program by its process id; the folder stays.
    void Stop() { m_p_Process.reset(); }

private:
    std::string m_Folder;
    std::unique_ptr<c_PeerProcess> m_p_Process;
};
