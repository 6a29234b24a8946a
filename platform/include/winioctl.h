#pragma once
// The control codes of DeviceIoControl that the program names: NTFS compression of a file.
//
// Linux has no NTFS compression, so DeviceIoControl fails with ERROR_NOT_SUPPORTED for them.

#include "win32/files.h"

#define FSCTL_GET_COMPRESSION 0x0009003C
#define FSCTL_SET_COMPRESSION 0x0009C040

#define COMPRESSION_FORMAT_NONE 0
#define COMPRESSION_FORMAT_DEFAULT 1
#define COMPRESSION_FORMAT_LZNT1 2
