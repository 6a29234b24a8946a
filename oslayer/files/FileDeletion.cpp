// Deleting single files and the older files of a folder.

#include "oslayer/files/FileDeletion.h"

#include "oslayer/files/FileCalls.h"
#include "oslayer/files/c_FolderListing.h"
#include "oslayer/system/ErrorText.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/system/TimeCalls.h"
#include "textutil/NumberFormatting.h"

#include <functional>

namespace {

constexpr int LONGEST_FOLDER = 259;

// The current UTC second less the days.
c_DateTime GetCutOff(std::int32_t days) {
    c_DateTime now = n_OSLayer::GetCurrentDateTime(true, true, true, nullptr);
    now.TruncateToSecond();
    return c_DateTime(now.GetValue() - days * c_DateTime::MICROSECONDS_PER_DAY);
}

// Deletes with DeleteFileAndLog every file of the listing written before the cut-off that the
// choice takes, the path made by join; the count of files deleted.
int DeleteOlderFiles(const c_FolderListing& listing, std::int32_t days,
                     const std::function<bool(const c_StringNoCase&)>& choose,
                     const std::function<c_String(const c_StringNoCase&)>& join) {
    const c_DateTime cutOff = GetCutOff(days);
    int deleted = 0;
    for (const auto& [name, data] : listing.GetFindDataMap()) {
        const c_DateTime written = n_OSLayer::FileTimeToDateTime(FileTimeValue(data.ftLastWriteTime));
        if (written.GetValue() < cutOff.GetValue() && choose(name) && DeleteFileAndLog(join(name))) {
            ++deleted;
        }
    }
    return deleted;
}

bool ListFiles(c_FolderListing& listing) {
    return listing.SearchForFiles(c_FolderListing::RESULT_FIND_DATA);
}

} // namespace

bool DeleteFileWithMessage(const c_String& path, c_String& error) {
    if (n_OSLayer::DeleteFile(path)) {
        return true;
    }
    error = Concat({"Error deleting ", path, " file: \"", n_OSLayer::GetWindowsErrorText(GetLastError()), "\""});
    return false;
}

bool DeleteFileAndLog(const c_String& path) {
    c_String error;
    if (!DeleteFileWithMessage(path, error)) {
        LogMessage(error);
        return false;
    }
    return true;
}

bool DeleteFilesInFolder(const c_String& folder, std::int32_t days, const c_String& extension, c_String& message) {
    if (folder.IsEmpty() || folder.GetLength() > LONGEST_FOLDER || extension.GetLength() <= 3 ||
        !extension.StartsWith('.')) {
        message = "DeleteFilesInFolder | Invalid file parameters.";
        return false;
    }
    c_FolderListing listing(folder, ".*", c_FolderListing::MODE_FILES);
    if (!ListFiles(listing)) {
        message = Concat({"DeleteFilesInFolder: ", folder, ". SearchForFiles error."});
        return false;
    }
    const c_StringViewNoCase ending(extension);
    const int deleted = DeleteOlderFiles(
        listing, days, [&](const c_StringNoCase& name) { return name.EndsWith(ending); },
        [&](const c_StringNoCase& name) {
            return Concat({folder, name});
        });
    if (deleted == 0) {
        message = Concat({"No files were deleted from ", folder});
        return false;
    }
    message = Concat({"Deleted ", ToString(deleted), " (*", extension, ") files from ", folder});
    return true;
}

bool DeleteFilesInFolderExceptFiles(const c_String& folder, std::int32_t days, const std::set<c_StringNoCase>& keep,
                                    c_String& message) {
    if (folder.IsEmpty() || folder.GetLength() > LONGEST_FOLDER) {
        message = "DeleteFilesInFolderExceptFiles | Invalid file parameters.";
        return false;
    }
    c_FolderListing listing(folder, ".*", c_FolderListing::MODE_FILES);
    if (!ListFiles(listing)) {
        message = "DeleteFilesInFolderExceptFiles | SearchForFiles error.";
        return false;
    }
    const int deleted = DeleteOlderFiles(
        listing, days, [&](const c_StringNoCase& name) { return keep.count(name) == 0; },
        [&](const c_StringNoCase& name) {
            return Concat({folder, "\\", name});
        });
    if (deleted == 0) {
        message = Concat({"No files were deleted from ", folder});
        return false;
    }
    message = Concat({"Deleted ", ToString(deleted), " files from ", folder});
    return true;
}
