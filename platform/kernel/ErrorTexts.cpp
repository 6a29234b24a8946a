// The system message table and FormatMessageW over it.

#include "platform/kernel/ErrorTexts.h"

#include "platform/kernel/LastError.h"
#include "platform/net/WinsockErrors.h"

#include <iphlpapi.h>

#include <cstring>

namespace {

using n_Platform::s_SystemMessage;

constexpr s_SystemMessage SYSTEM_MESSAGES[] = {
    {ERROR_SUCCESS, u"The operation completed successfully.\r\n"},
    {ERROR_FILE_NOT_FOUND, u"The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, u"The system cannot find the path specified.\r\n"},
    {ERROR_TOO_MANY_OPEN_FILES, u"The system cannot open the file.\r\n"},
    {ERROR_ACCESS_DENIED, u"Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, u"The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY, u"Not enough memory resources are available to process this command.\r\n"},
    {ERROR_INVALID_DRIVE, u"The system cannot find the drive specified.\r\n"},
    {ERROR_NOT_SAME_DEVICE, u"The system cannot move the file to a different disk drive.\r\n"},
    {ERROR_NO_MORE_FILES, u"There are no more files.\r\n"},
    {ERROR_WRITE_PROTECT, u"The media is write protected.\r\n"},
    {ERROR_NOT_READY, u"The device is not ready.\r\n"},
    {ERROR_BAD_LENGTH, u"The program issued a command but the command length is incorrect.\r\n"},
    {ERROR_GEN_FAILURE, u"A device attached to the system is not functioning.\r\n"},
    {ERROR_SHARING_VIOLATION, u"The process cannot access the file because it is being used by another process.\r\n"},
    {ERROR_NOT_SUPPORTED, u"The request is not supported.\r\n"},
    {ERROR_BAD_NETPATH, u"The network path was not found.\r\n"},
    {ERROR_FILE_EXISTS, u"The file exists.\r\n"},
    {ERROR_INVALID_PARAMETER, u"The parameter is incorrect.\r\n"},
    {ERROR_BROKEN_PIPE, u"The pipe has been ended.\r\n"},
    {ERROR_BUFFER_OVERFLOW, u"The file name is too long.\r\n"},
    {ERROR_DISK_FULL, u"There is not enough space on the disk.\r\n"},
    {ERROR_CALL_NOT_IMPLEMENTED, u"This function is not supported on this system.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, u"The data area passed to a system call is too small.\r\n"},
    {ERROR_MOD_NOT_FOUND, u"The specified module could not be found.\r\n"},
    {ERROR_PROC_NOT_FOUND, u"The specified procedure could not be found.\r\n"},
    {ERROR_NEGATIVE_SEEK, u"An attempt was made to move the file pointer before the beginning of the file.\r\n"},
    {ERROR_DIR_NOT_EMPTY, u"The directory is not empty.\r\n"},
    {ERROR_NOT_LOCKED, u"The segment is already unlocked.\r\n"},
    {ERROR_BAD_PATHNAME, u"The specified path is invalid.\r\n"},
    {ERROR_ALREADY_EXISTS, u"Cannot create a file when that file already exists.\r\n"},
    {ERROR_BAD_EXE_FORMAT, u"%1 is not a valid Win32 application.\r\n"},
    {ERROR_ENVVAR_NOT_FOUND, u"The system could not find the environment option that was entered.\r\n"},
    {ERROR_FILENAME_EXCED_RANGE, u"The filename or extension is too long.\r\n"},
    {ERROR_FILE_TOO_LARGE, u"The file size exceeds the limit allowed and cannot be saved.\r\n"},
    {ERROR_NO_DATA, u"The pipe is being closed.\r\n"},
    {ERROR_MORE_DATA, u"More data is available.\r\n"},
    {ERROR_DIRECTORY, u"The directory name is invalid.\r\n"},
    {ERROR_NOT_OWNER, u"Attempt to release mutex not owned by caller.\r\n"},
    {ERROR_INVALID_ADDRESS, u"Attempt to access invalid address.\r\n"},
    {ERROR_MR_MID_NOT_FOUND,
     u"The system cannot find message text for message number 0x%1 in the message file for %2.\r\n"},
    {ERROR_IO_PENDING, u"Overlapped I/O operation is in progress.\r\n"},
    {ERROR_INVALID_FLAGS, u"Invalid flags.\r\n"},
    {ERROR_IO_DEVICE, u"The request could not be performed because of an I/O device error.\r\n"},
    {ERROR_NO_ASSOCIATION, u"No application is associated with the specified file for this operation.\r\n"},
    {ERROR_INVALID_WINDOW_HANDLE, u"Invalid window handle.\r\n"},
    {ERROR_INVALID_MENU_HANDLE, u"Invalid menu handle.\r\n"},
    {ERROR_TLW_WITH_WSCHILD, u"Cannot create a top-level child window.\r\n"},
    {ERROR_CANNOT_FIND_WND_CLASS, u"Cannot find window class.\r\n"},
    {ERROR_CLASS_ALREADY_EXISTS, u"Class already exists.\r\n"},
    {ERROR_CLASS_DOES_NOT_EXIST, u"Class does not exist.\r\n"},
    {ERROR_CLASS_HAS_WINDOWS, u"Class still has open windows.\r\n"},
    {ERROR_INVALID_INDEX, u"Invalid index.\r\n"},
    {ERROR_CONTROL_ID_NOT_FOUND, u"Control ID not found.\r\n"},
    {ERROR_INVALID_THREAD_ID, u"Invalid thread identifier.\r\n"},
    {ERROR_MENU_ITEM_NOT_FOUND, u"A menu item was not found.\r\n"},
    {ERROR_NO_SYSTEM_RESOURCES, u"Insufficient system resources exist to complete the requested service.\r\n"},
    {ERROR_TIMEOUT, u"This operation returned because the timeout period expired.\r\n"},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, u"The specified resource type cannot be found in the image file.\r\n"},
    {ERROR_RESOURCE_NAME_NOT_FOUND, u"The specified resource name cannot be found in the image file.\r\n"},
    {ERROR_NOT_ENOUGH_QUOTA, u"Not enough quota is available to process this command.\r\n"},
    {ERROR_UNSUPPORTED_TYPE, u"Data of this type is not supported.\r\n"},
    {ERROR_CANT_RESOLVE_FILENAME, u"The name of the file cannot be resolved by the system.\r\n"},
};

DWORD CountUnits(const WCHAR* text) {
    DWORD count = 0;
    while (text[count] != 0) {
        ++count;
    }
    return count;
}

bool HasInsert(const WCHAR* text) {
    for (; *text != 0; ++text) {
        if (*text == u'%') {
            return true;
        }
    }
    return false;
}

// Hands the text over as FormatMessageW does: into the caller's buffer, or into a new local block
// whose address is stored where the buffer argument points.
DWORD DeliverText(DWORD flags, const WCHAR* text, LPWSTR buffer, DWORD size) {
    const DWORD length = CountUnits(text);
    if (buffer == nullptr) {
        return n_Platform::FailWith<DWORD>(0, ERROR_INVALID_PARAMETER);
    }
    WCHAR* target = buffer;
    if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0) {
        const DWORD units = length + 1 > size ? length + 1 : size;
        target = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, units * sizeof(WCHAR)));
        if (target == nullptr) {
            return 0;
        }
        std::memcpy(reinterpret_cast<LPWSTR*>(buffer), &target, sizeof target);
    } else if (length + 1 > size) {
        return n_Platform::FailWith<DWORD>(0, ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(target, text, (length + 1) * sizeof(WCHAR));
    return length;
}

} // namespace

namespace n_Platform {

const WCHAR* FindMessageIn(std::span<const s_SystemMessage> table, DWORD error) {
    for (const s_SystemMessage& message : table) {
        if (message.m_Error == error) {
            return message.m_p_Text;
        }
    }
    return nullptr;
}

const WCHAR* FindSystemMessage(DWORD error) {
    const WCHAR* text = FindMessageIn(SYSTEM_MESSAGES, error);
    return text != nullptr ? text : FindWinsockMessage(error);
}

} // namespace n_Platform

DWORD WINAPI FormatMessageW(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPWSTR buffer, DWORD size, void*) {
    const DWORD sources = flags & (FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_FROM_HMODULE);
    if (sources == 0 || (flags & (FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_MAX_WIDTH_MASK)) != 0) {
        return n_Platform::FailWith<DWORD>(0, ERROR_INVALID_PARAMETER);
    }
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0) {
        return n_Platform::FailWith<DWORD>(0, ERROR_RESOURCE_TYPE_NOT_FOUND);
    }
    const WCHAR* text = n_Platform::FindSystemMessage(messageId);
    if (text == nullptr) {
        return n_Platform::FailWith<DWORD>(0, ERROR_MR_MID_NOT_FOUND);
    }
    if ((flags & FORMAT_MESSAGE_IGNORE_INSERTS) == 0 && HasInsert(text)) {
        return n_Platform::FailWith<DWORD>(0, ERROR_INVALID_PARAMETER);
    }
    return DeliverText(flags, text, buffer, size);
}
