#pragma once
// Test helper: files made and read with the C++ library, beside the calls under test.

#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

inline void WriteTestFile(const std::string& linuxPath, const std::string& content) {
    std::ofstream(linuxPath, std::ios::binary) << content;
}

inline std::string ReadTestFile(const std::string& linuxPath) {
    std::ifstream file(linuxPath, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

inline bool TestFileExists(const std::string& linuxPath) {
    struct stat status;
    return lstat(linuxPath.c_str(), &status) == 0;
}

inline mode_t TestFileMode(const std::string& linuxPath) {
    struct stat status;
    return stat(linuxPath.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// Read-only as the layer sees it: no write bits (a folder keeps its search bits).
inline bool MakeTestPathReadOnly(const std::string& linuxPath) {
    struct stat status;
    if (stat(linuxPath.c_str(), &status) != 0) {
        return false;
    }
    return chmod(linuxPath.c_str(), S_ISDIR(status.st_mode) ? 0555 : 0444) == 0;
}

// A program or script that the layer can start.
inline bool MakeTestFileExecutable(const std::string& linuxPath) {
    return chmod(linuxPath.c_str(), 0755) == 0;
}
