#pragma once
// Test helper: a drive map of the test's own, in a fresh folder that goes away with everything in it.
//
// The folder under /tmp holds c and d, which PLATFORM_DRIVES makes C: and D:; C:\ becomes the
// current folder and the home folder (HOME, without XDG_CONFIG_HOME), so the Desktop is C:\Desktop.
// The destructor puts back the variables, the map and the current folder, and removes the folder
// whatever the test left there, read-only files and folders included.

#include "platform/files/DrivePaths.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

class c_TemporaryDrives {
public:
    c_TemporaryDrives() {
        char pattern[] = "/tmp/platform-drives-XXXXXX";
        m_Root = mkdtemp(pattern) != nullptr ? pattern : "";
        std::filesystem::create_directory(m_Root + "/c");
        std::filesystem::create_directory(m_Root + "/d");
        for (const char* name : {n_Platform::DRIVE_MAP_VARIABLE, "HOME", "XDG_CONFIG_HOME"}) {
            const char* value = std::getenv(name);
            m_OldVariables.push_back({name, value == nullptr ? std::nullopt : std::optional<std::string>(value)});
        }
        setenv("HOME", GetC().c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        char current[4096];
        m_OldFolder = getcwd(current, sizeof current) != nullptr ? current : "/";
        SetMap("C=" + GetC() + ";D=" + GetD());
        m_Ready = !m_Root.empty() && chdir(GetC().c_str()) == 0;
    }

    ~c_TemporaryDrives() {
        if (chdir(m_OldFolder.c_str()) != 0) {
            m_Ready = false;
        }
        for (const auto& [name, value] : m_OldVariables) {
            if (value) {
                setenv(name, value->c_str(), 1);
            } else {
                unsetenv(name);
            }
        }
        n_Platform::ReloadDriveMap();
        MakeRemovable();
        std::error_code ignored;
        std::filesystem::remove_all(m_Root, ignored);
    }

    c_TemporaryDrives(const c_TemporaryDrives&) = delete;
    c_TemporaryDrives& operator=(const c_TemporaryDrives&) = delete;

    // Replaces the map for the rest of the test.
    static void SetMap(const std::string& map) {
        setenv(n_Platform::DRIVE_MAP_VARIABLE, map.c_str(), 1);
        n_Platform::ReloadDriveMap();
    }

    // The folder was made and is the current one.
    bool IsReady() const { return m_Ready; }
    const std::string& GetRoot() const { return m_Root; }
    // The Linux folders of C:\ and D:\.
    std::string GetC() const { return m_Root + "/c"; }
    std::string GetD() const { return m_Root + "/d"; }

private:
    // Gives the owner every right on every folder, so that nothing stops the removal.
    void MakeRemovable() const {
        std::error_code error;
        std::filesystem::permissions(m_Root, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     error);
        for (auto entry = std::filesystem::recursive_directory_iterator(m_Root, error);
             entry != std::filesystem::recursive_directory_iterator(); entry.increment(error)) {
            if (entry->is_directory(error) && !entry->is_symlink(error)) {
                std::filesystem::permissions(entry->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, error);
            }
        }
    }

    std::string m_Root;
    bool m_Ready = false;
    std::vector<std::pair<const char*, std::optional<std::string>>> m_OldVariables;
    std::string m_OldFolder;
};
