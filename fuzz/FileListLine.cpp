// Fuzz target: the list-line parser and its safety checks. A line that passes the checks never
// names a path that leaves its folder: no separator, drive, wildcard or control character in its
// name, and no empty, "." or ".." step in its folder.

#include "installer/FileListLine.h"
#include "fuzz/FuzzInput.h"
#include "textutil/TextSplit.h"

#include <string>

namespace {

bool IsPlainStep(const std::string& step) {
    return !step.empty() && step != "." && step != ".." && step.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

bool HasNoControlCharacter(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    const c_String body(reinterpret_cast<const char*>(data), static_cast<int>(size));
    for (const c_StringView& text : Split(body.GetView(), c_StringView("\r\n"))) {
        s_FileListLine line;
        if (!ParseFileListLine(text, line)) {
            FUZZ_CHECK(text.Find("=") < 0);
            continue;
        }
        FUZZ_CHECK(line.m_Name.GetLength() < text.GetLength() && !line.m_Folder.Contains("\\"));
        if (!IsSafeFileListLine(line)) {
            continue;
        }
        const std::string name(line.m_Name.begin(), line.m_Name.end());
        FUZZ_CHECK(IsPlainStep(name) && HasNoControlCharacter(name));
        const std::string folder(line.m_Folder.begin(), line.m_Folder.end());
        FUZZ_CHECK(HasNoControlCharacter(folder));
        if (folder.empty()) {
            continue;
        }
        for (std::size_t start = 0;;) {
            const std::size_t end = folder.find('/', start);
            FUZZ_CHECK(IsPlainStep(folder.substr(start, end == std::string::npos ? end : end - start)));
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
    }
    return 0;
}
