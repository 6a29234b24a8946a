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
