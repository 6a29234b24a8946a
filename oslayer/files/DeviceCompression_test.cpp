// Tests of the n_OSLayer compression wrappers, where the system answers "not supported".

#include "oslayer/files/DeviceCompression.h"

#include "platform/testing/TemporaryDrives.h"
#include "textutil/testing/TestText.h"

#include <gtest/gtest.h>
#include <winioctl.h>

namespace {

TEST(DeviceCompression, FileSystemWithoutCompression) {
    c_TemporaryDrives drives;
    ASSERT_TRUE(drives.IsReady());
    HANDLE file =
        CreateFileW(u"C:\\c.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_OVERLAPPED, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(n_OSLayer::GetDeviceCompression(file).has_value());
    EXPECT_FALSE(n_OSLayer::IsDeviceCompressed(file).has_value());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    OVERLAPPED overlapped = {};
    const n_OSLayer::s_DeviceControlResult result =
        n_OSLayer::SetDeviceCompressionOverlapped(file, COMPRESSION_FORMAT_DEFAULT, &overlapped);
    EXPECT_FALSE(result.m_Succeeded);
    EXPECT_EQ(result.m_Error, static_cast<std::uint32_t>(ERROR_NOT_SUPPORTED));
    for (std::uint8_t format : {std::uint8_t(COMPRESSION_FORMAT_DEFAULT), std::uint8_t(COMPRESSION_FORMAT_NONE)}) {
        c_String error = "old";
        EXPECT_FALSE(n_OSLayer::SetDeviceCompression(file, format, &error));
        EXPECT_EQ(ToStd(error), "SetDeviceCompression error: Windows error code 50: The request is not supported.");
    }
    EXPECT_FALSE(n_OSLayer::SetDeviceCompression(file, COMPRESSION_FORMAT_DEFAULT, nullptr));
    CloseHandle(file);
}

} // namespace
