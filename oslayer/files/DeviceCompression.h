#pragma once
// n_OSLayer NTFS compression of an open file: FSCTL_GET_COMPRESSION and FSCTL_SET_COMPRESSION.
//
// Where the file system has no compression, the queries have no value and the changes fail with
// ERROR_NOT_SUPPORTED; the file utilities read that as "not supported on this file system".

#include "strings/c_String.h"

#include <windows.h>

#include <cstdint>
#include <optional>

namespace n_OSLayer {

struct s_DeviceControlResult {
    bool m_Succeeded;
    std::uint32_t m_Error; // the last error on failure, else 0
};

// The file's COMPRESSION_FORMAT_ value; none when the query fails.
std::optional<std::uint16_t> GetDeviceCompression(HANDLE file);
// Whether the format is LZNT1; none when the query fails.
std::optional<bool> IsDeviceCompressed(HANDLE file);
s_DeviceControlResult SetDeviceCompressionOverlapped(HANDLE file, std::uint8_t format, OVERLAPPED* overlapped);
// Starts the change with an OVERLAPPED of the process's own and does not wait: a pending change
// succeeds. Failures set the error string to "Failed to create the overlapped event." or
// "SetDeviceCompression error: " and the Windows error text. Callers are serialised; the blocks of
// pending changes live until the process ends, since the system may still write to them.
bool SetDeviceCompression(HANDLE file, std::uint8_t format, c_String* error);

} // namespace n_OSLayer
