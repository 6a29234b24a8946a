// Registered names: clipboard formats and window messages share one table of numbers from 0xC000
// up, as on Windows, so a name registered both ways gets the same number.

#include "platform/kernel/LastError.h"

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr UINT FIRST_REGISTERED_NUMBER = 0xC000;

struct s_Names {
    std::mutex m_Lock;
    std::vector<std::u16string> m_Names;
};

s_Names& GetNames() {
    static s_Names* names = new s_Names;
    return *names;
}

std::u16string FoldName(std::u16string name) {
    for (char16_t& unit : name) {
        if (unit >= u'A' && unit <= u'Z') {
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        }
    }
    return name;
}

} // namespace

UINT WINAPI RegisterClipboardFormatW(LPCWSTR name) {
    if (name == nullptr || name[0] == 0) {
        return n_Platform::FailWith<UINT>(0, ERROR_INVALID_PARAMETER);
    }
    s_Names& table = GetNames();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    const std::u16string folded = FoldName(name);
    std::vector<std::u16string>& names = table.m_Names;
    std::size_t index = 0;
    while (index < names.size() && names[index] != folded) {
        ++index;
    }
    if (index == names.size()) {
        if (names.size() >= 0x4000) {
            return n_Platform::FailWith<UINT>(0, ERROR_NOT_ENOUGH_QUOTA);
        }
        names.push_back(folded);
    }
    return FIRST_REGISTERED_NUMBER + static_cast<UINT>(index);
}

UINT WINAPI RegisterWindowMessageW(LPCWSTR name) {
    return RegisterClipboardFormatW(name);
}
