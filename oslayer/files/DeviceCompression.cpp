// n_OSLayer NTFS compression through DeviceIoControl, and the process's blocks of pending changes.

#include "oslayer/files/DeviceCompression.h"

#include "oslayer/system/ErrorText.h"
#include "oslayer/threads/c_CriticalSectionLock.h"
#include "oslayer/threads/c_Event.h"

#include <winioctl.h>

#include <list>

namespace {

struct s_CompressionState {
    c_CriticalSection m_Lock;
    c_Event m_Event;
    std::list<OVERLAPPED> m_Pending;
};

// Never destroyed: pending changes may complete while the process exits.
s_CompressionState& GetCompressionState() {
    static s_CompressionState* state = new s_CompressionState;
    return *state;
}

} // namespace

namespace n_OSLayer {

std::optional<std::uint16_t> GetDeviceCompression(HANDLE file) {
    std::uint16_t format = 0;
    DWORD returned = 0;
    if (!DeviceIoControl(file, FSCTL_GET_COMPRESSION, nullptr, 0, &format, sizeof format, &returned, nullptr)) {
        return std::nullopt;
    }
    return format;
}

std::optional<bool> IsDeviceCompressed(HANDLE file) {
    const std::optional<std::uint16_t> format = GetDeviceCompression(file);
    if (!format) {
        return std::nullopt;
    }
    return *format == COMPRESSION_FORMAT_LZNT1;
}

s_DeviceControlResult SetDeviceCompressionOverlapped(HANDLE file, std::uint8_t format, OVERLAPPED* overlapped) {
    std::uint16_t input = format;
    DWORD returned = 0;
    if (!DeviceIoControl(file, FSCTL_SET_COMPRESSION, &input, sizeof input, nullptr, 0, &returned, overlapped)) {
        return {false, ::GetLastError()};
    }
    return {true, 0};
}

bool SetDeviceCompression(HANDLE file, std::uint8_t format, c_String* error) {
    s_CompressionState& state = GetCompressionState();
    c_CriticalSectionLock lock(state.m_Lock);
    if (!state.m_Event.IsValid() && !state.m_Event.Create(false, c_StringView())) {
        lock.Unlock();
        if (error != nullptr) {
            *error = "Failed to create the overlapped event.";
        }
        return false;
    }
    OVERLAPPED& overlapped = state.m_Pending.emplace_back();
    overlapped = {};
    overlapped.hEvent = state.m_Event.Get();
    const s_DeviceControlResult result = SetDeviceCompressionOverlapped(file, format, &overlapped);
    // Only a pending change still needs its block.
    if (result.m_Succeeded || result.m_Error != ERROR_IO_PENDING) {
        state.m_Pending.pop_back();
    }
    lock.Unlock();
    if (!result.m_Succeeded && result.m_Error != ERROR_IO_PENDING) {
        if (error != nullptr) {
            *error = Concat({"SetDeviceCompression error: ", GetWindowsErrorText(result.m_Error)});
        }
        return false;
    }
    return true;
}

} // namespace n_OSLayer
