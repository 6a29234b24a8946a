// c_File: open modes, positioning, transfers, line reading and the error of the last operation.

#include "oslayer/files/c_File.h"

#include "oslayer/files/FileCalls.h"
#include "oslayer/system/ErrorText.h"
#include "textutil/c_ByteBuffer.h"

#include <utility>

namespace {

constexpr std::uint32_t SHARE_READ_WRITE = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr std::uint32_t NORMAL = FILE_ATTRIBUTE_NORMAL;
constexpr std::uint32_t RANDOM = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS;
constexpr std::uint32_t SEQUENTIAL = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN;

std::uint32_t ShareUnlessDenied(bool denyWriteSharing, bool denyReadSharing) {
    return (denyWriteSharing ? 0 : FILE_SHARE_WRITE) | (denyReadSharing ? 0 : FILE_SHARE_READ);
}

const char* LineEnd(std::int32_t lineEndType) {
    return lineEndType == c_File::LINE_END_LF ? "\n" : lineEndType == c_File::LINE_END_CRLF ? "\r\n" : nullptr;
}

} // namespace

c_File::c_File(c_File&& other) noexcept {
    Swap(other);
}

c_File& c_File::operator=(c_File&& other) noexcept {
    Swap(other);
    return *this;
}

c_File::~c_File() {
    ClearError();
    if (m_Open && HasValidHandle() && !CloseHandle(m_Handle)) {
        SetErrorFromLastError();
    }
    m_Handle = nullptr;
    m_Open = false;
    m_AtEnd = false;
    m_BytesRead = 0;
}

void c_File::Swap(c_File& other) {
    std::swap(m_ErrorCode, other.m_ErrorCode);
    std::swap(m_ErrorText, other.m_ErrorText);
    std::swap(m_AtEnd, other.m_AtEnd);
    std::swap(m_PathAndFileName, other.m_PathAndFileName);
    std::swap(m_Open, other.m_Open);
    std::swap(m_Handle, other.m_Handle);
}

bool c_File::Exists() {
    if (m_PathAndFileName.IsEmpty()) {
        SetError(FILE_ERROR_MISSING_PATH);
        return false;
    }
    return FileExists(m_PathAndFileName);
}

std::int64_t c_File::GetSize() {
    if (!HasValidHandle()) {
        return n_OSLayer::GetFileSize(m_PathAndFileName);
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_Handle, &size)) {
        SetErrorFromLastError();
        return -1;
    }
    return size.QuadPart;
}

std::int64_t c_File::GetPosition() {
    LARGE_INTEGER position;
    LARGE_INTEGER none;
    none.QuadPart = 0;
    if (!SetFilePointerEx(m_Handle, none, &position, FILE_CURRENT)) {
        SetErrorFromLastError();
        return -1;
    }
    return position.QuadPart;
}

void c_File::SetPathAndFileName(c_String path) {
    Close(false, false);
    m_PathAndFileName = std::move(path);
}

bool c_File::MoveFrom(c_File& other) {
    Close(false, false);
    m_ErrorCode = other.m_ErrorCode;
    m_ErrorText = other.m_ErrorText;
    m_AtEnd = other.m_AtEnd;
    m_PathAndFileName = other.m_PathAndFileName;
    m_Open = other.m_Open;
    m_Handle = nullptr;
    if (other.m_Open && other.m_Handle != nullptr) {
        m_Handle = other.m_Handle;
        other.m_Handle = nullptr;
        other.m_Open = false;
        other.m_AtEnd = false;
    }
    return true;
}

HANDLE c_File::CreateFileHandle(const c_StringView& path, std::uint32_t access, std::uint32_t shareMode,
                                SECURITY_ATTRIBUTES* security, std::uint32_t disposition,
                                std::uint32_t flagsAndAttributes) {
    m_Access = access;
    m_ShareMode = shareMode;
    m_p_SecurityAttributes = security;
    m_Disposition = disposition;
    m_FlagsAndAttributes = flagsAndAttributes;
    return n_OSLayer::CreateFile(path, access, shareMode, security, disposition, flagsAndAttributes);
}

bool c_File::Open(std::uint32_t access, std::uint32_t shareMode, std::uint32_t disposition, std::uint32_t flags,
                  bool closeAlways) {
    if (closeAlways || m_Open) {
        Close(false, false);
    }
    ClearError();
    if (m_PathAndFileName.IsEmpty()) {
        SetError(FILE_ERROR_MISSING_PATH);
        return false;
    }
    m_Handle = CreateFileHandle(m_PathAndFileName, access, shareMode, nullptr, disposition, flags);
    if (m_Handle == INVALID_HANDLE_VALUE) {
        SetErrorFromLastError();
        return false;
    }
    m_Open = true;
    return true;
}

bool c_File::FailOpening() {
    const std::int32_t code = m_ErrorCode;
    c_String text = m_ErrorText;
    Close(false, false);
    m_ErrorCode = code;
    m_ErrorText = std::move(text);
    return false;
}

bool c_File::OpenCreateReadWrite() {
    return Open(GENERIC_READ | GENERIC_WRITE, SHARE_READ_WRITE, CREATE_ALWAYS, NORMAL, true);
}

bool c_File::OpenForWrite(bool denyWriteSharing, bool denyReadSharing) {
    if (!Open(GENERIC_WRITE, ShareUnlessDenied(denyWriteSharing, denyReadSharing), OPEN_ALWAYS, NORMAL, false)) {
        return false;
    }
    return Truncate() || FailOpening();
}

bool c_File::OpenReadWriteRandomAccess(bool denyWriteSharing) {
    return Open(GENERIC_READ | GENERIC_WRITE, ShareUnlessDenied(denyWriteSharing, false), OPEN_ALWAYS, RANDOM, true);
}

bool c_File::OpenReadWriteSequential(bool denyWriteSharing) {
    return Open(GENERIC_READ | GENERIC_WRITE, ShareUnlessDenied(denyWriteSharing, false), OPEN_ALWAYS, SEQUENTIAL,
                true);
}

bool c_File::OpenWriteSequential(bool denyWriteSharing, bool denyReadSharing) {
    return Open(GENERIC_WRITE, ShareUnlessDenied(denyWriteSharing, denyReadSharing), OPEN_ALWAYS, SEQUENTIAL, true);
}

bool c_File::OpenForAppend() {
    if (!Open(GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, NORMAL, false)) {
        return false;
    }
    return SetPositionFromEnd() || FailOpening();
}

bool c_File::OpenReadRandomAccess() {
    return Open(GENERIC_READ, SHARE_READ_WRITE, OPEN_EXISTING, RANDOM, true);
}

bool c_File::OpenReadWriteExisting(bool overlapped) {
    return Open(GENERIC_READ | GENERIC_WRITE, SHARE_READ_WRITE, OPEN_EXISTING,
                RANDOM | (overlapped ? FILE_FLAG_OVERLAPPED : 0), true);
}

bool c_File::OpenForRead(bool exclusive) {
    return Open(GENERIC_READ, exclusive ? 0 : SHARE_READ_WRITE, OPEN_EXISTING, SEQUENTIAL, true);
}

bool c_File::OpenReadWriteExistingSequential(bool denyWriteSharing) {
    return Open(GENERIC_READ | GENERIC_WRITE, ShareUnlessDenied(denyWriteSharing, false), OPEN_EXISTING, SEQUENTIAL,
                true);
}

bool c_File::Close(bool clearPath, bool flush) {
    ClearError();
    bool closed = true;
    if (m_Open && HasValidHandle()) {
        if (flush) {
            FlushFileBuffers(m_Handle);
        }
        if (!CloseHandle(m_Handle)) {
            SetErrorFromLastError();
            closed = false;
        }
    }
    m_Handle = nullptr;
    m_Open = false;
    m_AtEnd = false;
    m_BytesRead = 0;
    if (clearPath) {
        m_PathAndFileName.Clear();
    }
    return closed;
}

bool c_File::Truncate() {
    ClearError();
    if (!SetEndOfFile(m_Handle)) {
        SetErrorFromLastError();
        return false;
    }
    return true;
}

bool c_File::MoveTo(std::int64_t distance, std::uint32_t method) {
    LARGE_INTEGER move;
    move.QuadPart = distance;
    if (!SetFilePointerEx(m_Handle, move, nullptr, method)) {
        SetErrorFromLastError();
        return false;
    }
    m_AtEnd = m_Open ? GetPosition() >= GetSize() : true;
    return true;
}

bool c_File::SetPosition() {
    return SetPosition(0);
}

bool c_File::SetPositionFromEnd() {
    return SetPositionFromEnd(0);
}

bool c_File::SetPosition(std::int64_t offset) {
    ClearError();
    return MoveTo(offset, FILE_BEGIN);
}

bool c_File::SetPositionFromEnd(std::int64_t offset) {
    ClearError();
    const std::int64_t size = GetSize();
    if (size == -1) {
        return false;
    }
    if (offset < 0 && static_cast<std::uint64_t>(-offset) > static_cast<std::uint64_t>(size)) {
        offset = -size;
    }
    return MoveTo(offset, FILE_END);
}

bool c_File::MovePosition(std::int64_t offset) {
    ClearError();
    return MoveTo(offset, FILE_CURRENT);
}

bool c_File::Read(void* buffer, std::uint32_t count, std::uint32_t* bytesRead) {
    ClearError();
    if (bytesRead != nullptr) {
        *bytesRead = 0;
    }
    if (count == 0) {
        return true;
    }
    if (buffer == nullptr) {
        SetError(FILE_ERROR_NO_INPUT_BUFFER);
        return false;
    }
    DWORD read = 0;
    const bool succeeded = ReadFile(m_Handle, buffer, count, &read, nullptr) != FALSE;
    m_BytesRead += read;
    if (bytesRead != nullptr) {
        *bytesRead = read;
    }
    if (!succeeded) {
        SetErrorFromLastError();
        return false;
    }
    if (read == 0) {
        m_AtEnd = true;
    } else if (read < count) {
        m_AtEnd = IsAtEnd();
    }
    return true;
}

bool c_File::Write(const void* data, std::uint32_t count, std::uint32_t* bytesWritten) {
    ClearError();
    if (bytesWritten != nullptr) {
        *bytesWritten = 0;
    }
    if (count == 0) {
        return true;
    }
    if (data == nullptr) {
        SetError(FILE_ERROR_NO_OUTPUT_BUFFER);
        return false;
    }
    DWORD written = 0;
    const bool succeeded = WriteFile(m_Handle, data, count, &written, nullptr) != FALSE;
    if (bytesWritten != nullptr) {
        *bytesWritten = written;
    }
    if (!succeeded) {
        SetErrorFromLastError();
        return false;
    }
    return written == count;
}

bool c_File::Flush() {
    ClearError();
    if (!m_Open) {
        SetError(FILE_ERROR_NOT_OPEN);
        return false;
    }
    if (!FlushFileBuffers(m_Handle)) {
        SetErrorFromLastError();
        return false;
    }
    return true;
}

bool c_File::FileExists(const c_String& path) {
    return n_OSLayer::FileExists(path);
}

std::int64_t c_File::GetFileSizeOfPath(const c_String& path) {
    if (path.IsEmpty()) {
        return -1;
    }
    c_File file(path);
    file.m_Handle = file.CreateFileHandle(path, GENERIC_READ, SHARE_READ_WRITE, nullptr, OPEN_EXISTING, RANDOM);
    if (file.m_Handle == INVALID_HANDLE_VALUE) {
        return -1;
    }
    file.m_Open = true;
    return file.GetSize();
}

const char* c_File::GetErrorText(std::int32_t code) {
    switch (code) {
        case FILE_ERROR_MISSING_PATH:
            return "Missing path and file name.";
        case FILE_ERROR_NO_INPUT_BUFFER:
            return "Input buffer is not set.";
        case FILE_ERROR_NO_OUTPUT_BUFFER:
            return "Output buffer is not set.";
        case FILE_ERROR_NOT_ENOUGH_DATA:
            return "Not enough read data.";
        case FILE_ERROR_END_OF_FILE:
            return "No Data for read.  End of file.";
        case FILE_ERROR_NO_LINE_END:
            return "End of line is not found.";
        case FILE_ERROR_NOT_OPEN:
            return "File has not been opened.";
        case FILE_ERROR_MEMORY:
            return "Memory allocation error.";
        default:
            return "Unknown error.";
    }
}

bool c_File::IsAtEnd() {
    return !m_Open || GetPosition() >= GetSize();
}

void c_File::ClearError() {
    m_ErrorCode = 0;
    m_ErrorText.Clear();
}

void c_File::SetError(std::int32_t code) {
    m_ErrorCode = code;
    m_ErrorText = GetErrorText(code);
}

void c_File::SetErrorFromLastError() {
    const std::uint32_t code = ::GetLastError();
    m_ErrorCode = static_cast<std::int32_t>(code);
    m_ErrorText = Concat({"File error: ", n_OSLayer::GetWindowsErrorText(code)});
}

bool c_File::ReadExactly(void* out, std::uint32_t count) {
    std::uint32_t read = 0;
    if (!Read(out, count, &read)) {
        return false;
    }
    if (read < count) {
        SetError(FILE_ERROR_NOT_ENOUGH_DATA);
        return false;
    }
    return true;
}

bool c_File::ReadString(c_String* out, std::int32_t count) {
    ClearError();
    if (out == nullptr) {
        SetError(FILE_ERROR_NO_INPUT_BUFFER);
        return false;
    }
    c_String text;
    if (count < 0 || !text.SetLength(count)) {
        return false;
    }
    std::uint32_t read = 0;
    const bool succeeded = Read(text.GetBuffer(), static_cast<std::uint32_t>(count), &read);
    text.SetLength(static_cast<int>(read));
    text.CutAtNul();
    *out = std::move(text);
    if (succeeded && read < static_cast<std::uint32_t>(count)) {
        SetError(FILE_ERROR_NOT_ENOUGH_DATA);
        return false;
    }
    return succeeded;
}

bool c_File::ReadLine(char* buffer, std::uint32_t size, std::uint32_t* length) {
    std::uint32_t unused = 0;
    std::uint32_t& lineLength = length != nullptr ? *length : unused;
    lineLength = 0;
    std::uint32_t read = 0;
    if (!StartLine(buffer, size) || !ReadLineBytes(buffer, size, &read)) {
        return false;
    }
    const void* lineFeed = std::memchr(buffer, '\n', read);
    if (lineFeed != nullptr) {
        const auto at = static_cast<std::uint32_t>(static_cast<const char*>(lineFeed) - buffer);
        return EndLineAtFeed(buffer, at, read, lineLength);
    }
    return EndLineWithoutFeed(buffer, size, read, lineLength);
}

bool c_File::StartLine(char* buffer, std::uint32_t size) {
    ClearError();
    // One byte would hold nothing but the NUL, and the caller would never get further.
    if (buffer == nullptr || size < 2) {
        SetError(FILE_ERROR_NO_INPUT_BUFFER);
        return false;
    }
    buffer[0] = 0;
    if (m_AtEnd) {
        SetError(FILE_ERROR_END_OF_FILE);
        return false;
    }
    return true;
}

bool c_File::ReadLineBytes(char* buffer, std::uint32_t size, std::uint32_t* read) {
    if (!Read(buffer, size, read)) {
        return false;
    }
    if (*read == 0) {
        SetError(FILE_ERROR_NOT_ENOUGH_DATA);
        return false;
    }
    return true;
}

bool c_File::EndLineAtFeed(char* buffer, std::uint32_t at, std::uint32_t read, std::uint32_t& lineLength) {
    buffer[at] = 0;
    std::uint32_t end = at;
    if (at > 0 && buffer[at - 1] == '\r') {
        buffer[--end] = 0;
    }
    // Back to the byte after the LF, so that the next line starts there.
    if (!MovePosition(-static_cast<std::int64_t>(read - at - 1))) {
        return false;
    }
    lineLength = end;
    return true;
}

bool c_File::EndLineWithoutFeed(char* buffer, std::uint32_t size, std::uint32_t read, std::uint32_t& lineLength) {
    if (m_AtEnd) {
        buffer[read] = 0;
        lineLength = read;
        return true;
    }
    // The buffer filled without an LF: its last byte gives way to the NUL and is read again next
    // time. A read that came back short keeps every byte it brought.
    const bool filled = read == size;
    const std::uint32_t kept = filled ? size - 1 : read;
    buffer[kept] = 0;
    lineLength = kept;
    if (filled && !MovePosition(-1)) {
        return false;
    }
    SetError(FILE_ERROR_NO_LINE_END);
    return false;
}

bool c_File::WriteText(const c_StringView& text) {
    return Write(text.begin(), static_cast<std::uint32_t>(text.GetLength()), nullptr);
}

bool c_File::WriteBuffer(const c_ByteBuffer& buffer) {
    if (buffer.IsEmpty()) {
        ClearError();
        return true;
    }
    return Write(buffer.GetData(), buffer.GetSize(), nullptr);
}

bool c_File::WriteLine(const c_StringView& text, std::int32_t lineEndType) {
    ClearError();
    if (!text.IsEmpty() && !WriteText(text)) {
        return false;
    }
    const char* lineEnd = LineEnd(lineEndType);
    return lineEnd != nullptr && WriteText(lineEnd);
}

bool c_File::WriteLine(c_String text, std::int32_t lineEndType) {
    const char* lineEnd = LineEnd(lineEndType);
    if (lineEnd != nullptr) {
        text.Append(lineEnd);
    }
    return WriteText(text);
}

bool c_File::WriteLineEnd(std::int32_t lineEndType) {
    const char* lineEnd = LineEnd(lineEndType);
    return lineEnd != nullptr && WriteText(lineEnd);
}
