// Whole files read into buffers and strings, and written from them.

#include "oslayer/files/WholeFiles.h"

#include "oslayer/files/c_File.h"

#include <climits>

namespace {

constexpr std::int32_t READ_FILE_TEXT_LIMIT = 0x100000;

// Opened for shared reading, with its size; false when either fails.
bool OpenWithSize(c_File& file, std::int64_t& size) {
    if (!file.OpenForRead(false)) {
        return false;
    }
    size = file.GetSize();
    return size >= 0;
}

} // namespace

bool ReadWholeFile(const c_String& path, c_ByteBuffer& out, std::optional<std::int64_t> maxBytes) {
    c_File file(path);
    std::int64_t size = 0;
    if (!OpenWithSize(file, size)) {
        return false;
    }
    if (maxBytes && *maxBytes < size) {
        size = *maxBytes < 0 ? 0 : *maxBytes;
    }
    out.Clear(false);
    if (size > c_ByteBuffer::MAX_SIZE || !out.SetSize(static_cast<std::uint32_t>(size))) {
        return false;
    }
    std::uint32_t read = 0;
    const bool succeeded = file.Read(out.GetData(), static_cast<std::uint32_t>(size), &read);
    out.SetSize(read);
    return succeeded;
}

bool ReadFileToString(const c_String& path, c_String& out, std::int32_t maxBytes) {
    c_File file(path);
    std::int64_t size = 0;
    if (!OpenWithSize(file, size) || size > INT_MAX) {
        return false;
    }
    if (size == 0) {
        return true;
    }
    return file.ReadString(&out, static_cast<std::int32_t>(size < maxBytes ? size : maxBytes));
}

c_String ReadFileText(const c_String& path) {
    c_String text;
    ReadFileToString(path, text, READ_FILE_TEXT_LIMIT);
    return text;
}

bool WriteBufferToFile(const c_ByteBuffer& data, const c_String& path, c_String& error) {
    c_File file(path);
    if (!file.OpenForWrite(true, false)) {
        error = Concat({"Failed to open the file.  ", file.GetLastErrorText()});
        return false;
    }
    if (!file.WriteBuffer(data)) {
        error = Concat({"Failed to write the data.  ", file.GetLastErrorText()});
        return false;
    }
    return true;
}

bool WriteStringToFile(const c_String& path, const c_StringView& text) {
    c_File file(path);
    return file.OpenForWrite(true, false) && file.WriteText(text);
}
