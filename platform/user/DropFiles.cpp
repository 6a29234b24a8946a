// DragQueryFileW: the names of a CF_HDROP block, read within the block's size.

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Narrow names are in the ANSI code page; each byte was kept as one unit.
std::u16string FromANSI(const std::u16string& bytes) {
    const std::string narrow(bytes.begin(), bytes.end());
    std::u16string wide(narrow.size(), u'\0');
    const int units = MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), wide.data(),
                                          static_cast<int>(wide.size()));
    wide.resize(units > 0 ? static_cast<std::size_t>(units) : 0);
    return wide;
}

// The names of the block; none when its head or its list does not fit the block.
std::vector<std::u16string> ReadNames(HDROP drop) {
    std::vector<std::u16string> names;
    HGLOBAL block = reinterpret_cast<HGLOBAL>(drop);
    const SIZE_T size = GlobalSize(block);
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(block));
    if (bytes == nullptr) {
        return names;
    }
    DROPFILES head = {};
    if (size >= sizeof head) {
        std::memcpy(&head, bytes, sizeof head);
    }
    const SIZE_T unitSize = head.fWide != FALSE ? 2 : 1;
    SIZE_T offset = head.pFiles;
    std::u16string name;
    while (size >= sizeof head && offset >= sizeof head && offset + unitSize <= size) {
        char16_t unit = bytes[offset];
        if (unitSize == 2) {
            unit = static_cast<char16_t>(bytes[offset] | bytes[offset + 1] << 8);
        }
        offset += unitSize;
        if (unit != 0) {
            name += unit;
            continue;
        }
        if (name.empty()) {
            break;
        }
        names.push_back(unitSize == 2 ? std::move(name) : FromANSI(name));
        name.clear();
    }
    GlobalUnlock(block);
    return names;
}

} // namespace

UINT WINAPI DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT units) {
    const std::vector<std::u16string> names = ReadNames(drop);
    if (index == 0xFFFFFFFF) {
        return static_cast<UINT>(names.size());
    }
    if (index >= names.size()) {
        return 0;
    }
    const std::u16string& name = names[index];
    if (buffer == nullptr) {
        return static_cast<UINT>(name.size());
    }
    if (units == 0) {
        return 0;
    }
    const UINT copied = name.size() < units ? static_cast<UINT>(name.size()) : units - 1;
    std::memcpy(buffer, name.data(), copied * sizeof(char16_t));
    buffer[copied] = 0;
    return copied;
}
