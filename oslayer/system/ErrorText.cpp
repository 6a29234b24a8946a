// n_OSLayer error texts through FormatMessageW.

#include "oslayer/system/ErrorText.h"

#include "oslayer/system/TextConversion.h"

#include <windows.h>

namespace {

constexpr DWORD SYSTEM_LOOKUP =
    FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER;
constexpr DWORD MODULE_LOOKUP =
    FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER;

// The message in UTF-8, cut at its first NUL; empty when the lookup finds none.
c_String LookUpMessage(DWORD flags, LPCVOID source, DWORD code) {
    WCHAR* block = nullptr;
    const DWORD length = FormatMessageW(flags, source, code, 0, reinterpret_cast<LPWSTR>(&block), 0, nullptr);
    c_String text;
    if (length > 0 && block != nullptr) {
        DWORD end = 0;
        while (end < length && block[end] != 0) {
            ++end;
        }
        text = n_OSLayer::WideToUTF8(c_WStringView(block, static_cast<int>(end)));
    }
    LocalFree(block);
    return text;
}

} // namespace

namespace n_OSLayer {

c_String GetWindowsErrorText(std::uint32_t code) {
    c_String text = LookUpMessage(SYSTEM_LOOKUP, nullptr, code);
    if (text.IsEmpty()) {
        text = LookUpMessage(MODULE_LOOKUP, GetModuleHandleW(u"wininet.dll"), code);
    }
    if (text.IsEmpty()) {
        return c_String::MakeFormatted("Unknown Windows error code %u.", code);
    }
    text.RemoveSuffix("\r\n");
    return Concat({c_String::MakeFormatted("Windows error code %u: ", code), text});
}

bool IsNotFoundError(std::uint32_t code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_DRIVE ||
           code == ERROR_NOT_READY;
}

std::uint32_t GetLastError() {
    return ::GetLastError();
}

void SetLastError(std::uint32_t code) {
    ::SetLastError(code);
}

} // namespace n_OSLayer
