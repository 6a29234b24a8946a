// n_OSLayer text conversion through MultiByteToWideChar and WideCharToMultiByte.

#include "oslayer/system/TextConversion.h"

namespace {

// The two-step conversion shared by both directions. convert(buffer, capacity) is the system call;
// a capacity of 0 asks for the size.
template <typename Text, typename Convert> Text ConvertInto(int length, const Convert& convert) {
    Text result;
    if (length <= 0) {
        return result;
    }
    // A fresh string's own room first (its capacity counts the NUL): most texts fit, with one call.
    const int room = result.GetCapacity() - 1;
    const int inlineCount = convert(result.GetBuffer(), room);
    if (inlineCount >= 1 && inlineCount <= room) {
        result.SetLength(inlineCount);
        return result;
    }
    const int count = convert(nullptr, 0);
    if (count <= 0 || !result.SetLength(count) || convert(result.GetBuffer(), count) != count) {
        return Text();
    }
    return result;
}

} // namespace

namespace n_OSLayer {

c_WString UTF8ToWide(const c_StringView& text, std::uint32_t codePage) {
    return ConvertInto<c_WString>(text.GetLength(), [&](char16_t* buffer, int capacity) {
        return MultiByteToWideChar(codePage, 0, text.begin(), text.GetLength(), buffer, capacity);
    });
}

c_String WideToUTF8(const c_WStringView& text) {
    return ConvertInto<c_String>(text.GetLength(), [&](char* buffer, int capacity) {
        return WideCharToMultiByte(CP_UTF8, 0, text.begin(), text.GetLength(), buffer, capacity, nullptr, nullptr);
    });
}

c_String ANSIToUTF8(const c_StringView& text) {
    return WideToUTF8(UTF8ToWide(text, CP_ACP));
}

std::int32_t GetUTF8Length(const c_WStringView& text) {
    if (text.GetLength() <= 0) {
        return 0;
    }
    return WideCharToMultiByte(CP_UTF8, 0, text.begin(), text.GetLength(), nullptr, 0, nullptr, nullptr);
}

c_String FormatHex64(std::uint64_t value) {
    return c_String::MakeFormatted("%llx", static_cast<unsigned long long>(value));
}

} // namespace n_OSLayer
