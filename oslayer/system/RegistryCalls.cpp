// n_OSLayer registry strings over RegGetValueW, RegCreateKeyExW and RegSetValueExW.

#include "oslayer/system/RegistryCalls.h"

#include "oslayer/system/TextConversion.h"

#include <vector>

namespace n_OSLayer {

c_String ReadRegistryString(HKEY root, const c_StringView& subKey, const c_StringView& name) {
    const c_WString wideKey = UTF8ToWide(subKey);
    const c_WString wideName = UTF8ToWide(name);
    // Only the size of the first call counts; its result does not.
    DWORD size = 0;
    RegGetValueW(root, wideKey.GetBuffer(), wideName.GetBuffer(), RRF_RT_REG_SZ, nullptr, nullptr, &size);
    if (size == 0) {
        return c_String();
    }
    std::vector<char16_t> units(size / 2 + 1, u'\0');
    const LSTATUS status =
        RegGetValueW(root, wideKey.GetBuffer(), wideName.GetBuffer(), RRF_RT_REG_SZ, nullptr, units.data(), &size);
    const int length = status == ERROR_SUCCESS && size >= 2 ? static_cast<int>(size / 2 - 1) : 0;
    return WideToUTF8(c_WStringView(units.data(), length, true));
}

c_String ReadRegistryStringCurrentUser(const c_StringView& subKey, const c_StringView& name) {
    return ReadRegistryString(HKEY_CURRENT_USER, subKey, name);
}

c_String ReadRegistryStringLocalMachine(const c_StringView& subKey, const c_StringView& name) {
    return ReadRegistryString(HKEY_LOCAL_MACHINE, subKey, name);
}

bool WriteRegistryString(HKEY root, const c_StringView& subKey, const c_StringView& name, const c_StringView& value) {
    const c_WString wideKey = UTF8ToWide(subKey);
    const c_WString wideName = UTF8ToWide(name);
    const c_WString wideValue = UTF8ToWide(value);
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, wideKey.GetBuffer(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD bytes = static_cast<DWORD>((wideValue.GetLength() + 1) * 2);
    const LSTATUS status = RegSetValueExW(key, wideName.GetBuffer(), 0, REG_SZ,
                                          reinterpret_cast<const unsigned char*>(wideValue.GetBuffer()), bytes);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool WriteRegistryStringCurrentUser(const c_StringView& subKey, const c_StringView& name, const c_StringView& value) {
    return WriteRegistryString(HKEY_CURRENT_USER, subKey, name, value);
}

bool WriteRegistryStringLocalMachine(const c_StringView& subKey, const c_StringView& name, const c_StringView& value) {
    return WriteRegistryString(HKEY_LOCAL_MACHINE, subKey, name, value);
}

} // namespace n_OSLayer
