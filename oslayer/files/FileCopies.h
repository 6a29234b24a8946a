#pragma once
// Copying files byte by byte, moving them by copying, whole folders, and backup copies; each logs
// its own failures.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

// Copies in blocks of 8192 bytes into a destination that is created or emptied, then flushes it.
// Without overwrite an existing destination is left alone. Fails, with its log line, when a file
// cannot be opened, read, written or flushed; a copy onto the source itself fails before anything
// is written, so the file stays whole. After a failure the last error is the failure's own.
bool BitCopyFile(const c_String& source, const c_String& destination, bool overwrite);
// BitCopyFile, then the deletion of the source; logs the move on success. A source that cannot be
// deleted stays, and so does the copy.
bool MoveFileByCopying(const c_String& source, const c_String& destination, bool overwrite);
// Every file of the source folder that matches the mask (as c_FolderListing takes it), moved with
// MoveFileByCopying to the same name in the destination folder. The folder texts are joined to the
// names as they are, so they end with a separator. Single failures show only in the log.
bool MoveAllFilesInFolder(const c_String& sourceFolder, const c_String& destinationFolder, const c_String& mask,
                          bool overwrite);
// The same with BitCopyFile, overwriting; with onlyIfChanged, files whose last-write times are the
// same on both sides are skipped.
bool CopyAllFilesInFolder(const c_String& sourceFolder, const c_String& destinationFolder, const c_String& mask,
                          bool onlyIfChanged);
// Copies the source to the backup path, or when that is empty to the program folder's subfolder
// (prepared first) under a stamp and the source's name: the UTC "%Y-%m-%d %H%M%S" with useDateTime,
// else the UTC day of the month, with "." and the hour when addHour is set, so that backups rotate.
bool SaveBackupCopy(const c_String& source, bool useDateTime, const c_String& backupPath,
                    const c_String& backupSubfolder, c_String& error, bool addHour);
