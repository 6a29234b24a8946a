// Applying the compression setting to a file, with its log lines.

#include "oslayer/files/FileCompression.h"

#include "oslayer/files/DeviceCompression.h"
#include "oslayer/files/c_File.h"
#include "oslayer/system/ErrorText.h"
#include "oslayer/system/LogMessage.h"

#include <winioctl.h>

#include <atomic>
#include <optional>

namespace {

std::atomic<bool> g_EnableCompression{false};
std::atomic<bool> g_DisableCompression{false};

// Whether to switch compression on (true) or off (false); none when the file is as it should be.
std::optional<bool> ChooseChange(bool compressed, bool enable, bool disable) {
    if (compressed && !enable && disable) {
        return false;
    }
    if (!compressed && enable) {
        return true;
    }
    return std::nullopt;
}

} // namespace

void SetFileCompressionMode(bool enable, bool disable) {
    g_EnableCompression.store(enable);
    g_DisableCompression.store(disable);
}

bool ApplyFileCompressionSetting(const c_String& path) {
    const bool enable = g_EnableCompression.load();
    const bool disable = g_DisableCompression.load();
    if (!enable && !disable) {
        return false;
    }
    c_File file(path);
    if (!file.OpenReadWriteExisting(true)) {
        return false;
    }
    const std::optional<bool> compressed = n_OSLayer::IsDeviceCompressed(file.GetHandle());
    if (!compressed) {
        LogMessage(Concat({"File compression not supported on file system. ", path, ". ",
                           n_OSLayer::GetWindowsErrorText(GetLastError())}));
        return false;
    }
    const std::optional<bool> compress = ChooseChange(*compressed, enable, disable);
    if (!compress) {
        return true;
    }
    c_String error;
    const std::uint8_t format = *compress ? COMPRESSION_FORMAT_DEFAULT : COMPRESSION_FORMAT_NONE;
    if (n_OSLayer::SetDeviceCompression(file.GetHandle(), format, &error)) {
        LogMessage(Concat({*compress ? "Enabling" : "Disabling", " compression for file: ", path}));
    } else {
        LogMessage(Concat({"File ", *compress ? "enable " : "disable ", "compression error.  ", path, ".  ", error}));
    }
    return true;
}
