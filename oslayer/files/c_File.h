#pragma once
// c_File: the system's file object, one Windows file handle with its path and the last error.
//
// Every opening, positioning, reading, writing and closing operation first clears the error; a
// failure is a false result (or -1 for sizes and positions) and leaves its code and text in the
// object until the next such operation. Codes from 0x20000001 are the class's own; any other code is
// a Windows error, whose text is "File error: " + the Windows error text. Operations on a closed
// file are not refused by the class: the system call fails on handle 0 with its own error, except
// Flush (FILE_ERROR_NOT_OPEN), IsAtEnd (true) and GetSize (the size of the path).
//
// The operations are virtual, in the order of the system's table, so that a derived class can
// replace an open mode, the positioning or the transfers; the open modes, positioning and typed
// transfers call the others through the table.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <windows.h>

#include <concepts>
#include <cstdint>
#include <cstring>

class c_ByteBuffer;

class c_File {
public:
    static constexpr std::int32_t FILE_ERROR_MISSING_PATH = 0x20000001;
    static constexpr std::int32_t FILE_ERROR_NO_INPUT_BUFFER = 0x20000002;
    static constexpr std::int32_t FILE_ERROR_NO_OUTPUT_BUFFER = 0x20000003;
    static constexpr std::int32_t FILE_ERROR_NOT_ENOUGH_DATA = 0x20000004;
    static constexpr std::int32_t FILE_ERROR_END_OF_FILE = 0x20000005;
    static constexpr std::int32_t FILE_ERROR_NO_LINE_END = 0x20000006;
    static constexpr std::int32_t FILE_ERROR_NOT_OPEN = 0x20000007;
    static constexpr std::int32_t FILE_ERROR_MEMORY = 0x20000008;

    static constexpr std::int32_t LINE_END_LF = 1;
    static constexpr std::int32_t LINE_END_CRLF = 2;

    c_File() = default;
    explicit c_File(const c_String& path) : m_PathAndFileName(path) {}
    // The source is left closed, without a path or an error.
    c_File(c_File&& other) noexcept;
    // Swaps: the source then holds this object's former state and closes it when it dies.
    c_File& operator=(c_File&& other) noexcept;
    c_File(const c_File&) = delete;
    c_File& operator=(const c_File&) = delete;

    // Empty path: FILE_ERROR_MISSING_PATH and false; otherwise whether the path names a file or folder.
    virtual bool Exists();
    // GetFileSizeEx of the handle; without a handle the size of the path, -1 with no error recorded
    // when it has none.
    virtual std::int64_t GetSize();
    // Closes an open handle without flushing.
    virtual ~c_File();
    virtual std::int64_t GetPosition();
    // Closes the file (no flush, path kept), then takes the path.
    virtual void SetPathAndFileName(c_String path);
    // Takes the other's error, at-end flag, path, open flag and handle; the other keeps no handle.
    virtual bool MoveFrom(c_File& other);
    // n_OSLayer::CreateFile, remembering the arguments; the handle field is left to the caller.
    virtual HANDLE CreateFileHandle(const c_StringView& path, std::uint32_t access, std::uint32_t shareMode,
                                    SECURITY_ATTRIBUTES* security, std::uint32_t disposition,
                                    std::uint32_t flagsAndAttributes);
    virtual bool OpenCreateReadWrite();
    // Created or emptied. When emptying fails the file is closed again and the error kept: a file
    // that may still hold old data is never reported as open for writing.
    virtual bool OpenForWrite(bool denyWriteSharing, bool denyReadSharing);
    virtual bool OpenReadWriteRandomAccess(bool denyWriteSharing);
    virtual bool OpenReadWriteSequential(bool denyWriteSharing);
    // The old content stays; writing starts at position 0.
    virtual bool OpenWriteSequential(bool denyWriteSharing, bool denyReadSharing);
    // Positioned at the end; when that fails the file is closed again and the error kept.
    virtual bool OpenForAppend();
    virtual bool OpenReadRandomAccess();
    virtual bool OpenReadWriteExisting(bool overlapped);
    virtual bool OpenForRead(bool exclusive);
    virtual bool OpenReadWriteExistingSequential(bool denyWriteSharing);
    // Flushes first when asked (its result not looked at); a failing CloseHandle records its error.
    virtual bool Close(bool clearPath, bool flush);
    // Ends the file at the position.
    virtual bool Truncate();
    virtual bool SetPosition();
    virtual bool SetPositionFromEnd();
    virtual bool SetPosition(std::int64_t offset);
    // An offset back past the start stops at the start.
    virtual bool SetPositionFromEnd(std::int64_t offset);
    virtual bool MovePosition(std::int64_t offset);
    // A count of 0 succeeds at once. bytesRead (may be null) gets the count also when the read fails.
    virtual bool Read(void* buffer, std::uint32_t count, std::uint32_t* bytesRead);
    // A short write fails without recording an error; bytesWritten (may be null) gets the count.
    virtual bool Write(const void* data, std::uint32_t count, std::uint32_t* bytesWritten);
    virtual bool Flush();

    void Swap(c_File& other);

    static bool FileExists(const c_String& path);
    // -1 for an empty path or a file that cannot be opened.
    static std::int64_t GetFileSizeOfPath(const c_String& path);
    static const char* GetErrorText(std::int32_t code);

    // Not open: true; open: the position at or past the size.
    bool IsAtEnd();
    bool HasError() const { return m_ErrorCode != 0; }
    std::int32_t GetErrorCode() const { return m_ErrorCode; }
    const c_String& GetLastErrorText() const { return m_ErrorText; }
    const c_String& GetPathAndFileName() const { return m_PathAndFileName; }
    HANDLE GetHandle() const { return m_Handle; }
    bool GetAtEnd() const { return m_AtEnd; }
    bool IsOpen() const { return m_Open; }
    std::int64_t GetBytesRead() const { return m_BytesRead; }

    void ClearError();
    void SetError(std::int32_t code);
    void SetErrorFromLastError();

    // The value's own bytes; a null target records FILE_ERROR_NO_INPUT_BUFFER, fewer bytes than the
    // value FILE_ERROR_NOT_ENOUGH_DATA. A bool is true for any non-zero byte.
    template <typename T>
    requires std::integral<T> || std::floating_point<T>
    bool ReadValue(T* out);
    // count bytes as text, cut at the first NUL; fewer bytes record FILE_ERROR_NOT_ENOUGH_DATA but
    // still give out what came. A negative count, or no room for it, fails with no error recorded.
    bool ReadString(c_String* out, std::int32_t count);
    // One line into a buffer of size bytes (2 at least), without its LF and a CR before it, ended by
    // a NUL; the file is left at the start of the next line. A line longer than the buffer gives its
    // first size - 1 bytes with FILE_ERROR_NO_LINE_END, and the next call goes on with the rest; so
    // does a read that came back short before the end of the file, with the bytes that came. At the
    // end of the file: FILE_ERROR_END_OF_FILE.
    // A failed move back to the next line's start fails the read with the move's error.
    bool ReadLine(char* buffer, std::uint32_t size, std::uint32_t* length);

    template <typename T>
    requires std::integral<T> || std::floating_point<T>
    bool WriteValue(T value) { return Write(&value, sizeof value, nullptr); }
    bool WriteText(const c_StringView& text);
    // The unread bytes; an empty buffer writes nothing.
    bool WriteBuffer(const c_ByteBuffer& buffer);
    bool Write(const c_ByteBuffer& buffer) { return WriteBuffer(buffer); }
    // The text, then "\n" (LINE_END_LF) or "\r\n" (LINE_END_CRLF); any other type fails after the text.
    bool WriteLine(const c_StringView& text, std::int32_t lineEndType);
    // A C string is a view: without this, a literal would fit the view and the string forms alike.
    bool WriteLine(const char* text, std::int32_t lineEndType) { return WriteLine(c_StringView(text), lineEndType); }
    // The text with its line end, in one write; any other type writes the text alone.
    bool WriteLine(c_String text, std::int32_t lineEndType);
    // Any other type fails without touching the error.
    bool WriteLineEnd(std::int32_t lineEndType);

private:
    bool HasValidHandle() const { return m_Handle != nullptr && m_Handle != INVALID_HANDLE_VALUE; }
    bool Open(std::uint32_t access, std::uint32_t shareMode, std::uint32_t disposition, std::uint32_t flags,
              bool closeAlways);
    // Closes the file again after a failed last step of an open mode, keeping that step's error.
    bool FailOpening();
    bool MoveTo(std::int64_t distance, std::uint32_t method);
    bool ReadExactly(void* out, std::uint32_t count);
    // The steps of ReadLine: the checks before reading, the read itself, and the two ways a line ends.
    bool StartLine(char* buffer, std::uint32_t size);
    bool ReadLineBytes(char* buffer, std::uint32_t size, std::uint32_t* read);
    bool EndLineAtFeed(char* buffer, std::uint32_t at, std::uint32_t read, std::uint32_t& lineLength);
    bool EndLineWithoutFeed(char* buffer, std::uint32_t size, std::uint32_t read, std::uint32_t& lineLength);

    std::int32_t m_ErrorCode = 0;
    c_String m_ErrorText;
    bool m_AtEnd = false;
    c_String m_PathAndFileName;
    bool m_Open = false;
    HANDLE m_Handle = nullptr;
    std::int64_t m_BytesRead = 0;
    std::uint32_t m_Access = 0;
    std::uint32_t m_ShareMode = 0;
    SECURITY_ATTRIBUTES* m_p_SecurityAttributes = nullptr;
    std::uint32_t m_Disposition = 0;
    std::uint32_t m_FlagsAndAttributes = 0;
};

template <typename T>
requires std::integral<T> || std::floating_point<T>
bool c_File::ReadValue(T* out) {
    ClearError();
    if (out == nullptr) {
        SetError(FILE_ERROR_NO_INPUT_BUFFER);
        return false;
    }
    unsigned char bytes[sizeof(T)];
    if (!ReadExactly(bytes, sizeof bytes)) {
        return false;
    }
    if constexpr (std::same_as<T, bool>) {
        *out = bytes[0] != 0;
    } else {
        std::memcpy(out, bytes, sizeof bytes);
    }
    return true;
}
