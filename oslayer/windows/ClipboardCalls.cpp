// n_OSLayer clipboard calls over the Windows clipboard.

#include "oslayer/windows/ClipboardCalls.h"

#include "oslayer/system/MemoryCalls.h"
#include "oslayer/system/TextConversion.h"

#include <new>

namespace {

// Empties the open clipboard and puts the text there as CF_UNICODETEXT.
void PutText(const c_StringView& text) {
    EmptyClipboard();
    HGLOBAL block = n_OSLayer::CreateGlobalText(text);
    if (block != nullptr && SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
        GlobalFree(block);
    }
}

} // namespace

namespace n_OSLayer {

bool OpenClipboard() {
    return ::OpenClipboard(nullptr) != FALSE;
}

bool CloseClipboard() {
    return ::CloseClipboard() != FALSE;
}

bool EmptyClipboard() {
    return ::EmptyClipboard() != FALSE;
}

HANDLE GetClipboardData(std::uint32_t format) {
    return ::GetClipboardData(format);
}

HANDLE SetClipboardHandle(std::uint32_t, HANDLE data) {
    return ::SetClipboardData(CF_UNICODETEXT, data);
}

std::uint32_t RegisterClipboardFormat(const c_StringView& name) {
    return RegisterClipboardFormatW(UTF8ToWide(name).GetBuffer());
}

bool IsClipboardFormatAvailable(std::uint32_t format) {
    return ::IsClipboardFormatAvailable(format) != FALSE;
}

bool IsClipboardTextAvailable() {
    return IsClipboardFormatAvailable(CF_UNICODETEXT);
}

bool IsClipboardBitmapAvailable() {
    return IsClipboardFormatAvailable(CF_BITMAP);
}

bool IsClipboardFileListAvailable() {
    return IsClipboardFormatAvailable(CF_HDROP);
}

std::uint32_t GetClipboardSequenceNumber() {
    return ::GetClipboardSequenceNumber();
}

bool AddClipboardFormatListener(HWND window) {
    return ::AddClipboardFormatListener(window) != FALSE;
}

bool RemoveClipboardFormatListener(HWND window) {
    return ::RemoveClipboardFormatListener(window) != FALSE;
}

c_String GetClipboardText() {
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) {
        return c_String();
    }
    const auto* units = static_cast<const char16_t*>(::GlobalLock(data));
    const long long count = static_cast<long long>(::GlobalSize(data) / 2) - 1;
    const int length = units == nullptr || count < 0 ? 0 : static_cast<int>(count);
    c_String text = WideToUTF8(c_WStringView(units, length, true));
    ::GlobalUnlock(data);
    return text;
}

std::vector<c_String> GetClipboardFiles() {
    std::vector<c_String> files;
    HDROP drop = static_cast<HDROP>(::GetClipboardData(CF_HDROP));
    if (drop == nullptr) {
        return files;
    }
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    files.reserve(count);
    for (UINT index = 0; index < count; ++index) {
        std::vector<char16_t> buffer(DragQueryFileW(drop, index, nullptr, 0) + 1, u'\0');
        const UINT length = DragQueryFileW(drop, index, buffer.data(), static_cast<UINT>(buffer.size()));
        files.push_back(WideToUTF8(c_WStringView(buffer.data(), static_cast<int>(length), true)));
    }
    return files;
}

std::vector<std::uint32_t> GetClipboardFormats() {
    std::vector<std::uint32_t> formats;
    const int count = CountClipboardFormats();
    if (count <= 0) {
        return formats;
    }
    try {
        formats.reserve(static_cast<std::size_t>(count));
        for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
            formats.push_back(format);
        }
    } catch (const std::bad_alloc&) {
        // What was collected is the answer.
    }
    return formats;
}

bool SetClipboardText(const c_StringView& text) {
    if (!OpenClipboard()) {
        return false;
    }
    PutText(text);
    return CloseClipboard();
}

void AppendClipboardText(const c_StringView& text, const c_StringView& separator) {
    if (!OpenClipboard()) {
        return;
    }
    PutText(Concat({GetClipboardText(), separator, text}));
    CloseClipboard();
}

} // namespace n_OSLayer
