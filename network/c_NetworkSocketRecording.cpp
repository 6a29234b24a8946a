// c_NetworkSocket: the recordings of the bytes that pass, and the compression figures.

#include "network/c_NetworkSocket.h"

#include "oslayer/files/FolderCreation.h"
#include "oslayer/files/PathCalls.h"
#include "textutil/DateTimeText.h"
#include "textutil/c_DateTime.h"

// A recording that failed to open is not tried again for the socket's life. The file is emptied when
// it opens, so a second recording of the same name and second leaves no stale tail.
void c_NetworkSocket::RecordData(const std::uint8_t* bytes, std::uint32_t count, c_File& file, bool& failed,
                                 const c_StringView& prefix) {
    if (failed) {
        return;
    }
    if (!file.IsOpen()) {
        const c_String folder = n_OSLayer::GetProgramFolder() + "SocketData\\";
        PrepareFilesFolder(folder);
        file.SetPathAndFileName(
            Concat({folder, prefix, m_Name, "_", DateTimeToFileNameString(GetCurrentDateTimeUTC()), ".txt"}));
        if (!file.OpenForWrite(true, false)) {
            Log(c_String("Error opening data recording file. ") + file.GetLastErrorText(), true);
            failed = true;
            return;
        }
    }
    if (file.GetSize() < s_RecordingSizeLimit.load()) {
        file.Write(bytes, count, nullptr);
    }
}

float c_NetworkSocket::GetCompressionRatio() const {
    if (m_CompressedBytesSent == 0) {
        return 0;
    }
    return static_cast<float>(m_BytesSent) / static_cast<float>(m_CompressedBytesSent);
}
