// The Shell Link binary file format: the writer and the bounds-checked reader.

#include "platform/shell/ShellLinkFile.h"

#include <array>
#include <utility>

namespace {

using n_Platform::s_ShellLinkData;

constexpr std::uint32_t HEADER_SIZE = 0x4C;
constexpr std::array<unsigned char, 16> SHELL_LINK_CLASS = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                            0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// The link flags.
constexpr std::uint32_t HAS_TARGET_ID_LIST = 0x1;
constexpr std::uint32_t HAS_LINK_INFO = 0x2;
constexpr std::uint32_t HAS_NAME = 0x4;
constexpr std::uint32_t HAS_RELATIVE_PATH = 0x8;
constexpr std::uint32_t HAS_WORKING_DIR = 0x10;
constexpr std::uint32_t HAS_ARGUMENTS = 0x20;
constexpr std::uint32_t HAS_ICON_LOCATION = 0x40;
constexpr std::uint32_t IS_UNICODE = 0x80;

constexpr std::uint32_t LINK_INFO_HEADER_SIZE = 0x24;
constexpr std::uint32_t SHORT_LINK_INFO_HEADER_SIZE = 0x1C;
constexpr std::uint32_t VOLUME_ID_AND_LOCAL_BASE_PATH = 0x1;
constexpr std::uint32_t DRIVE_FIXED = 3;
constexpr std::uint32_t VOLUME_ID_SIZE = 0x11;

class c_ByteWriter {
public:
    void Add16(std::uint16_t value) { AddNumber(value, 2); }
    void Add32(std::uint32_t value) { AddNumber(value, 4); }
    void AddTime(const FILETIME& time) {
        Add32(time.dwLowDateTime);
        Add32(time.dwHighDateTime);
    }
    void AddBytes(std::string_view bytes) { m_Bytes.append(bytes); }
    void AddZeros(std::size_t count) { m_Bytes.append(count, '\0'); }
    void AddUnits(std::u16string_view text) {
        for (char16_t unit : text) {
            Add16(unit);
        }
    }
    std::size_t GetSize() const { return m_Bytes.size(); }
    void Set32(std::size_t offset, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            m_Bytes[offset + i] = static_cast<char>(value >> (8 * i));
        }
    }
    std::string Take() { return std::move(m_Bytes); }

private:
    void AddNumber(std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            m_Bytes.push_back(static_cast<char>(value >> (8 * i)));
        }
    }

    std::string m_Bytes;
};

// Every read checks its bounds; after a failed one the reader stays failed.
class c_ByteReader {
public:
    explicit c_ByteReader(std::string_view bytes) : m_Bytes(bytes) {}

    bool IsGood() const { return m_Good; }
    std::size_t GetOffset() const { return m_Offset; }
    std::uint32_t Read16() { return ReadNumber(2); }
    std::uint32_t Read32() { return ReadNumber(4); }
    FILETIME ReadTime() {
        FILETIME time;
        time.dwLowDateTime = Read32();
        time.dwHighDateTime = Read32();
        return time;
    }
    std::string_view ReadBytes(std::size_t count) {
        if (!m_Good || count > m_Bytes.size() - m_Offset) {
            m_Good = false;
            return {};
        }
        const std::string_view bytes = m_Bytes.substr(m_Offset, count);
        m_Offset += count;
        return bytes;
    }
    void Skip(std::size_t count) { ReadBytes(count); }
    void Fail() { m_Good = false; }

private:
    std::uint32_t ReadNumber(std::size_t size) {
        const std::string_view bytes = ReadBytes(size);
        std::uint32_t value = 0;
        for (std::size_t i = bytes.size(); i > 0; --i) {
            value = value << 8 | static_cast<unsigned char>(bytes[i - 1]);
        }
        return value;
    }

    std::string_view m_Bytes;
    std::size_t m_Offset = 0;
    bool m_Good = true;
};

std::string ToWindows1252(std::u16string_view text) {
    if (text.empty()) {
        return std::string();
    }
    std::string bytes(text.size() * 2, '\0');
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return bytes;
}

std::u16string FromWindows1252(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    const int length = bytes.empty() ? 0
                                     : MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                           text.data(), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

std::uint32_t MakeLinkFlags(const s_ShellLinkData& link) {
    std::uint32_t flags = IS_UNICODE;
    flags |= link.m_Target.empty() ? 0 : HAS_LINK_INFO;
    flags |= link.m_Description.empty() ? 0 : HAS_NAME;
    flags |= link.m_WorkingDirectory.empty() ? 0 : HAS_WORKING_DIR;
    flags |= link.m_Arguments.empty() ? 0 : HAS_ARGUMENTS;
    flags |= link.m_IconLocation.empty() ? 0 : HAS_ICON_LOCATION;
    return flags;
}

void WriteHeader(const s_ShellLinkData& link, c_ByteWriter& out) {
    out.Add32(HEADER_SIZE);
    out.AddBytes(std::string_view(reinterpret_cast<const char*>(SHELL_LINK_CLASS.data()), SHELL_LINK_CLASS.size()));
    out.Add32(MakeLinkFlags(link));
    out.Add32(link.m_FileAttributes);
    out.AddTime(link.m_Creation);
    out.AddTime(link.m_LastAccess);
    out.AddTime(link.m_LastWrite);
    out.Add32(link.m_FileSize);
    out.Add32(static_cast<std::uint32_t>(link.m_IconIndex));
    out.Add32(link.m_ShowCommand);
    out.AddZeros(2 + 2 + 4 + 4);
}

// The offsets are filled in as the parts are written, counted from the link info's start.
void WriteLinkInfo(std::u16string_view target, c_ByteWriter& out) {
    const std::size_t start = out.GetSize();
    out.AddZeros(LINK_INFO_HEADER_SIZE);
    out.Set32(start + 4, LINK_INFO_HEADER_SIZE);
    out.Set32(start + 8, VOLUME_ID_AND_LOCAL_BASE_PATH);
    const auto mark = [&](std::size_t field) { out.Set32(start + field, out.GetSize() - start); };
    mark(12);
    out.Add32(VOLUME_ID_SIZE);
    out.Add32(DRIVE_FIXED);
    out.Add32(0);
    out.Add32(0x10);
    out.AddZeros(1);
    mark(16);
    out.AddBytes(ToWindows1252(target));
    out.AddZeros(1);
    mark(24);
    out.AddZeros(1);
    mark(28);
    out.AddUnits(target);
    out.Add16(0);
    mark(32);
    out.Add16(0);
    out.Set32(start, out.GetSize() - start);
}

void WriteText(std::u16string_view text, c_ByteWriter& out) {
    if (!text.empty()) {
        out.Add16(static_cast<std::uint16_t>(text.size()));
        out.AddUnits(text);
    }
}

void ReadHeader(c_ByteReader& in, s_ShellLinkData& link, std::uint32_t& flags) {
    const std::uint32_t size = in.Read32();
    const std::string_view classId = in.ReadBytes(SHELL_LINK_CLASS.size());
    if (size != HEADER_SIZE ||
        classId != std::string_view(reinterpret_cast<const char*>(SHELL_LINK_CLASS.data()), SHELL_LINK_CLASS.size())) {
        in.Fail();
        return;
    }
    flags = in.Read32();
    link.m_FileAttributes = in.Read32();
    link.m_Creation = in.ReadTime();
    link.m_LastAccess = in.ReadTime();
    link.m_LastWrite = in.ReadTime();
    link.m_FileSize = in.Read32();
    link.m_IconIndex = static_cast<std::int32_t>(in.Read32());
    link.m_ShowCommand = in.Read32();
    in.Skip(2 + 2 + 4 + 4);
}

// A NUL-terminated text at an offset of the link info, 8-bit or UTF-16; false when it runs past it.
bool ReadInfoText(std::string_view info, std::uint32_t offset, bool wide, std::u16string& text) {
    if (offset == 0 || offset >= info.size()) {
        return false;
    }
    const std::string_view rest = info.substr(offset);
    if (!wide) {
        const std::size_t end = rest.find('\0');
        text = FromWindows1252(rest.substr(0, end));
        return end != std::string_view::npos;
    }
    text.clear();
    for (std::size_t i = 0; i + 1 < rest.size(); i += 2) {
        const char16_t unit =
            static_cast<char16_t>(static_cast<unsigned char>(rest[i]) | static_cast<unsigned char>(rest[i + 1]) << 8);
        if (unit == 0) {
            return true;
        }
        text.push_back(unit);
    }
    return false;
}

// A text of the link info, in UTF-16 when the info has that form of it.
bool ReadInfoPath(std::string_view info, std::uint32_t offset, std::uint32_t wideOffset, std::u16string& text) {
    return wideOffset != 0 ? ReadInfoText(info, wideOffset, true, text) : ReadInfoText(info, offset, false, text);
}

// The target is the local base path followed by the common path suffix; a link info without a local
// path leaves it empty.
bool ReadLinkInfo(c_ByteReader& in, s_ShellLinkData& link) {
    c_ByteReader peek = in;
    const std::uint32_t size = peek.Read32();
    if (!peek.IsGood() || size < SHORT_LINK_INFO_HEADER_SIZE) {
        return false;
    }
    const std::string_view info = in.ReadBytes(size);
    c_ByteReader fields(info);
    fields.Skip(4);
    const std::uint32_t headerSize = fields.Read32();
    const std::uint32_t infoFlags = fields.Read32();
    fields.Skip(4);
    const std::uint32_t baseOffset = fields.Read32();
    fields.Skip(4);
    const std::uint32_t suffixOffset = fields.Read32();
    const bool wide = headerSize >= LINK_INFO_HEADER_SIZE;
    const std::uint32_t wideBaseOffset = wide ? fields.Read32() : 0;
    const std::uint32_t wideSuffixOffset = wide ? fields.Read32() : 0;
    if (!in.IsGood() || !fields.IsGood()) {
        return false;
    }
    if ((infoFlags & VOLUME_ID_AND_LOCAL_BASE_PATH) == 0) {
        return true;
    }
    std::u16string base;
    std::u16string suffix;
    if (!ReadInfoPath(info, baseOffset, wideBaseOffset, base) ||
        !ReadInfoPath(info, suffixOffset, wideSuffixOffset, suffix)) {
        return false;
    }
    link.m_Target = base + suffix;
    return true;
}

bool ReadText(c_ByteReader& in, bool unicode, std::u16string& text) {
    const std::uint32_t count = in.Read16();
    const std::string_view bytes = in.ReadBytes(unicode ? count * 2 : count);
    if (!in.IsGood()) {
        return false;
    }
    if (!unicode) {
        text = FromWindows1252(bytes);
        return true;
    }
    text.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return true;
}

} // namespace

namespace n_Platform {

std::string WriteShellLink(const s_ShellLinkData& link) {
    c_ByteWriter out;
    WriteHeader(link, out);
    if (!link.m_Target.empty()) {
        WriteLinkInfo(link.m_Target, out);
    }
    WriteText(link.m_Description, out);
    WriteText(link.m_WorkingDirectory, out);
    WriteText(link.m_Arguments, out);
    WriteText(link.m_IconLocation, out);
    out.Add32(0);
    return out.Take();
}

bool ReadShellLink(std::string_view bytes, s_ShellLinkData& link) {
    c_ByteReader in(bytes);
    s_ShellLinkData read;
    std::uint32_t flags = 0;
    ReadHeader(in, read, flags);
    if ((flags & HAS_TARGET_ID_LIST) != 0) {
        in.Skip(in.Read16());
    }
    if (!in.IsGood() || ((flags & HAS_LINK_INFO) != 0 && !ReadLinkInfo(in, read))) {
        return false;
    }
    const bool unicode = (flags & IS_UNICODE) != 0;
    std::u16string relativePath;
    const std::pair<std::uint32_t, std::u16string*> texts[] = {
        {HAS_NAME, &read.m_Description},
        {HAS_RELATIVE_PATH, &relativePath},
        {HAS_WORKING_DIR, &read.m_WorkingDirectory},
        {HAS_ARGUMENTS, &read.m_Arguments},
        {HAS_ICON_LOCATION, &read.m_IconLocation},
    };
    for (const auto& [flag, text] : texts) {
        if ((flags & flag) != 0 && !ReadText(in, unicode, *text)) {
            return false;
        }
    }
    link = std::move(read);
    return true;
}

} // namespace n_Platform
