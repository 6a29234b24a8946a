// Byte copies of files and folders, moves by copying and backup copies.

#include "oslayer/files/FileCopies.h"

#include "oslayer/files/FileCalls.h"
#include "oslayer/files/FileDeletion.h"
#include "oslayer/files/FileInformation.h"
#include "oslayer/files/FolderCreation.h"
#include "oslayer/files/PathCalls.h"
#include "oslayer/files/c_File.h"
#include "oslayer/files/c_FolderListing.h"
#include "oslayer/system/ErrorText.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/system/TimeCalls.h"
#include "oslayer/threads/c_Handle.h"
#include "textutil/DateTimeText.h"
#include "textutil/NumberFormatting.h"

#include <cstdint>

namespace {

constexpr std::uint32_t COPY_BLOCK = 0x2000;
constexpr int LONGEST_FOLDER = 259;

bool SameIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// Whether the path names the file that is open, under whatever name.
bool IsOpenFile(c_File& open, const c_String& path) {
    BY_HANDLE_FILE_INFORMATION openIdentity;
    BY_HANDLE_FILE_INFORMATION pathIdentity;
    c_Handle other(n_OSLayer::CreateFile(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
    return other.IsValid() && GetFileInformationByHandle(open.GetHandle(), &openIdentity) &&
           GetFileInformationByHandle(other.Get(), &pathIdentity) && SameIdentity(openIdentity, pathIdentity);
}

// Opens the destination for writing, which empties it; the source itself is refused as Windows
// refuses a file in use.
bool OpenDestination(c_File& source, c_File& destination) {
    if (IsOpenFile(source, destination.GetPathAndFileName())) {
        SetLastError(ERROR_SHARING_VIOLATION);
        destination.SetErrorFromLastError();
        return false;
    }
    return destination.OpenForWrite(true, false);
}

// Copies until a read gives nothing; false when a read or a write fails.
bool CopyBlocks(c_File& source, c_File& destination) {
    unsigned char block[COPY_BLOCK];
    for (;;) {
        std::uint32_t read = 0;
        if (!source.Read(block, COPY_BLOCK, &read)) {
            return false;
        }
        if (read == 0) {
            return true;
        }
        if (!destination.Write(block, read, nullptr)) {
            return false;
        }
    }
}

// A file whose information cannot be read counts as modified at 0.
bool HaveSameModifiedTime(const c_String& pathA, const c_String& pathB) {
    s_FileInfo a;
    s_FileInfo b;
    GetFileInfo(pathA, a);
    GetFileInfo(pathB, b);
    return a.m_Modified.GetValue() == b.m_Modified.GetValue();
}

// Logging converts texts, which changes the last error; the caller gets the failure's own back.
bool FailWithLog(const c_StringView& line, std::uint32_t error) {
    LogMessage(line);
    SetLastError(error);
    return false;
}

bool FailWithLog(const char* what, const c_String& path, const char* after, const c_File& file) {
    return FailWithLog(Concat({what, path, after, file.GetLastErrorText()}),
                       static_cast<std::uint32_t>(file.GetErrorCode()));
}

// The backup's path under the program folder: the stamp, ".", and the source's name.
c_String MakeBackupPath(const c_String& source, bool useDateTime, const c_String& backupSubfolder, bool addHour) {
    const c_String folder = Concat({n_OSLayer::GetProgramFolder(), backupSubfolder});
    PrepareFilesFolder(folder);
    c_DateTime now = n_OSLayer::GetCurrentDateTime(true, true, false, nullptr);
    c_String stamp;
    if (useDateTime) {
        stamp = DateTimeToFileNameString(now);
    } else {
        int year, month, day, hour, minute, second;
        now.GetDateTimeParts(year, month, day, hour, minute, second);
        stamp = addHour ? Concat({ToString(day), ".", ToString(hour)}) : ToString(day);
    }
    return Concat({folder, "\\", stamp, ".", n_OSLayer::GetFileNamePart(source)});
}

} // namespace

bool BitCopyFile(const c_String& source, const c_String& destination, bool overwrite) {
    if (!overwrite && c_File::FileExists(destination)) {
        return FailWithLog(Concat({"BitCopyFile | ", destination, " file exists and overwrite not allowed"}),
                           ERROR_FILE_EXISTS);
    }
    c_File input(source);
    if (!input.OpenForRead(false)) {
        return FailWithLog("Error opening ", source, ".  ", input);
    }
    c_File output(destination);
    if (!OpenDestination(input, output)) {
        return FailWithLog("Error opening ", destination, ".  ", output);
    }
    if (!CopyBlocks(input, output)) {
        return input.HasError() ? FailWithLog("Error reading ", source, " during file copy.  ", input)
                                : FailWithLog("Error writing ", destination, " during file copy.  ", output);
    }
    // Data that never reached the disk is no copy.
    if (!output.Flush()) {
        return FailWithLog("Error writing ", destination, " during file copy.  ", output);
    }
    return true;
}

bool MoveFileByCopying(const c_String& source, const c_String& destination, bool overwrite) {
    if (!BitCopyFile(source, destination, overwrite) || !DeleteFileAndLog(source)) {
        return false;
    }
    LogMessage(Concat({"Successfully moved ", source, " file to the folder ", n_OSLayer::GetFolderPart(destination)}));
    return true;
}

namespace {

// Hands each file of sourceFolder that matches mask to transfer, with its source and destination
// paths; false when a folder text is too long or the search fails.
template <typename Transfer>
bool TransferFilesInFolder(const c_String& sourceFolder, const c_String& destinationFolder, const c_String& mask,
                           Transfer transfer) {
    if (sourceFolder.GetLength() > LONGEST_FOLDER || destinationFolder.GetLength() > LONGEST_FOLDER) {
        return false;
    }
    c_FolderListing listing(sourceFolder, mask, c_FolderListing::MODE_FILES);
    if (!listing.SearchForFiles(c_FolderListing::RESULT_NAMES)) {
        return false;
    }
    for (const c_String& name : listing.GetNames()) {
        transfer(Concat({sourceFolder, name}), Concat({destinationFolder, name}));
    }
    return true;
}

} // namespace

bool MoveAllFilesInFolder(const c_String& sourceFolder, const c_String& destinationFolder, const c_String& mask,
                          bool overwrite) {
    return TransferFilesInFolder(sourceFolder, destinationFolder, mask,
                                 [overwrite](const c_String& source, const c_String& destination) {
                                     MoveFileByCopying(source, destination, overwrite);
                                 });
}

bool CopyAllFilesInFolder(const c_String& sourceFolder, const c_String& destinationFolder, const c_String& mask,
                          bool onlyIfChanged) {
    return TransferFilesInFolder(sourceFolder, destinationFolder, mask,
                                 [onlyIfChanged](const c_String& source, const c_String& destination) {
                                     if (!onlyIfChanged || !HaveSameModifiedTime(source, destination)) {
                                         BitCopyFile(source, destination, true);
                                     }
                                 });
}

bool SaveBackupCopy(const c_String& source, bool useDateTime, const c_String& backupPath,
                    const c_String& backupSubfolder, c_String& error, bool addHour) {
    if (!c_File::FileExists(source)) {
        error = Concat({"Source file does not exist when saving backup of ", source, ". No backup made."});
        return false;
    }
    const c_String destination =
        backupPath.IsEmpty() ? MakeBackupPath(source, useDateTime, backupSubfolder, addHour) : backupPath;
    if (!BitCopyFile(source, destination, true)) {
        error = Concat(
            {"Error copying ", source, " to ", destination, ". ", n_OSLayer::GetWindowsErrorText(GetLastError())});
        return false;
    }
    return true;
}
