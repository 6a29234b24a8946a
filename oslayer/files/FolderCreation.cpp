// Making folders, and the read-only attribute of files and folders.

#include "oslayer/files/FolderCreation.h"

#include "oslayer/files/FileCalls.h"
#include "oslayer/system/ErrorText.h"
#include "oslayer/system/LogMessage.h"

#include <windows.h>

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsUncPath(const c_StringView& path) {
    return path.GetLength() >= 2 && IsSeparator(path.begin()[0]) && IsSeparator(path.begin()[1]);
}

} // namespace

bool CreateFolderRecursively(const c_StringView& path, c_String& error) {
    error = "CreateFolderRecursively: ";
    if (path.IsEmpty() || IsUncPath(path)) {
        error += n_OSLayer::GetWindowsErrorText(path.IsEmpty() ? ERROR_PATH_NOT_FOUND : ERROR_BAD_NETPATH);
        return false;
    }
    int end = path.FindFirstOf({'\\', '/'});
    c_String folder(end < 0 ? path : path.Left(end));
    folder.Trim();
    while (end >= 0) {
        const char separator = path.begin()[end];
        const int start = end + 1;
        end = path.FindFirstOf({'\\', '/'}, start);
        const c_StringView piece = (end < 0 ? path.RightFrom(start) : path.Mid(start, end - start)).Trimmed();
        if (piece.IsEmpty()) {
            continue;
        }
        folder += separator;
        folder += piece;
        std::int32_t code = 0;
        if (!n_OSLayer::CreateDirectory(folder, &code)) {
            error += n_OSLayer::GetWindowsErrorText(static_cast<std::uint32_t>(code));
            return false;
        }
    }
    return true;
}

bool PrepareFilesFolder(const c_String& folder) {
    if (folder.IsEmpty()) {
        LogMessage("Files path is empty.");
        return false;
    }
    std::int32_t code = 0;
    if (!n_OSLayer::CreateDirectory(folder, &code)) {
        LogMessage(Concat({"Error creating the file folder: ", folder, ".  ",
                           n_OSLayer::GetWindowsErrorText(static_cast<std::uint32_t>(code))}));
        return false;
    }
    const n_OSLayer::s_ClearReadOnlyResult result = n_OSLayer::ClearReadOnlyAttribute(folder);
    switch (result.m_Result) {
        case n_OSLayer::s_ClearReadOnlyResult::READ_ONLY_CLEARED:
            LogMessage(Concat({"Removed read-only attribute from the files folder: ", folder}));
            break;
        case n_OSLayer::s_ClearReadOnlyResult::ATTRIBUTES_UNREADABLE:
            LogMessage(
                Concat({"Error getting file attributes on the files folder: ", folder,
                        ".  Unable to check read-only status.  ", n_OSLayer::GetWindowsErrorText(result.m_Error)}));
            break;
        case n_OSLayer::s_ClearReadOnlyResult::STILL_READ_ONLY:
            LogMessage(Concat({"The files folder, ", folder,
                               ", is set to read-only, and unable to disable the read-only attribute."}));
            LogMessage(n_OSLayer::GetWindowsErrorText(result.m_Error));
            LogMessage("You may want to change the location of this files folder.");
            break;
        default:
            break;
    }
    return true;
}

void ClearReadOnlyAttributeWithLog(const c_String& path) {
    const n_OSLayer::s_ClearReadOnlyResult result = n_OSLayer::ClearReadOnlyAttribute(path);
    switch (result.m_Result) {
        case n_OSLayer::s_ClearReadOnlyResult::READ_ONLY_CLEARED:
            LogMessage(Concat({"Removed read-only attribute from the file ", path}));
            break;
        case n_OSLayer::s_ClearReadOnlyResult::ATTRIBUTES_UNREADABLE:
            LogMessage(Concat({"Error getting file attributes for ", path, ".  Unable to check read-only status.  ",
                               n_OSLayer::GetWindowsErrorText(result.m_Error)}));
            break;
        case n_OSLayer::s_ClearReadOnlyResult::STILL_READ_ONLY:
            LogMessage(
                Concat({"The file ", path, " is set to read-only, and unable to disable the read-only attribute.  ",
                        n_OSLayer::GetWindowsErrorText(result.m_Error)}));
            break;
        default:
            break;
    }
}
