// Moving and renaming files, with the move's log line.

#include "oslayer/files/FileMoving.h"

#include "oslayer/files/FileCalls.h"
#include "oslayer/files/PathCalls.h"
#include "oslayer/system/LogMessage.h"

bool MoveFileWithLog(const c_String& source, const c_String& destination, bool log) {
    c_String error;
    const bool moved = n_OSLayer::MoveFile(source, destination, &error);
    if (log) {
        LogMessage(Concat({moved ? "Success" : "Error", " moving ", source, " file to the folder ",
                           n_OSLayer::GetFolderPart(destination), ". ", error}));
    }
    return moved;
}

bool MoveFileWrapper(const c_String& source, const c_String& destination, c_String* error) {
    return n_OSLayer::MoveFile(source, destination, error);
}

bool RenameFileInFolder(const c_String& folder, const c_String& oldName, const c_String& newName, c_String* error) {
    return MoveFileWrapper(Concat({folder, oldName}), Concat({folder, newName}), error);
}
