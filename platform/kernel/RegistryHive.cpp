// The in-memory hive and its file text.

#include "platform/kernel/RegistryHive.h"

#include <charconv>

namespace {

constexpr std::string_view HEADER = "REGISTRY 1\n";
constexpr char HEX_DIGITS[] = "0123456789abcdef";

void AppendHex(std::string& text, const unsigned char* bytes, std::size_t count) {
    for (std::size_t index = 0; index < count; ++index) {
        text += HEX_DIGITS[bytes[index] >> 4];
        text += HEX_DIGITS[bytes[index] & 0x0F];
    }
}

void AppendName(std::string& text, const std::u16string& name) {
    for (char16_t unit : name) {
        const unsigned char bytes[2] = {static_cast<unsigned char>(unit & 0xFF), static_cast<unsigned char>(unit >> 8)};
        AppendHex(text, bytes, 2);
    }
}

int HexValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    return -1;
}

bool ReadHex(std::string_view field, std::vector<unsigned char>& bytes) {
    if (field.size() % 2 != 0) {
        return false;
    }
    bytes.clear();
    for (std::size_t index = 0; index < field.size(); index += 2) {
        const int high = HexValue(field[index]);
        const int low = HexValue(field[index + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes.push_back(static_cast<unsigned char>(high << 4 | low));
    }
    return true;
}

bool ReadName(std::string_view field, std::u16string& name) {
    std::vector<unsigned char> bytes;
    if (!ReadHex(field, bytes) || bytes.size() % 2 != 0) {
        return false;
    }
    name.clear();
    for (std::size_t index = 0; index < bytes.size(); index += 2) {
        name += static_cast<char16_t>(bytes[index] | bytes[index + 1] << 8);
    }
    return true;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t blank = line.find(' '); blank != std::string_view::npos; blank = line.find(' ', start)) {
        fields.push_back(line.substr(start, blank - start));
        start = blank + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

} // namespace

namespace n_Platform {

std::u16string c_RegistryHive::FoldName(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& unit : folded) {
        if (unit >= u'A' && unit <= u'Z') {
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        }
    }
    return folded;
}

void c_RegistryHive::Parse(std::string_view text) {
    m_Keys.clear();
    m_Values.clear();
    if (text.substr(0, HEADER.size()) != HEADER) {
        return;
    }
    text.remove_prefix(HEADER.size());
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::vector<std::string_view> fields = SplitFields(line);
        std::u16string key;
        if (fields.size() == 2 && fields[0] == "K" && ReadName(fields[1], key)) {
            AddKey(FoldName(key));
            continue;
        }
        std::u16string name;
        s_RegistryValue value;
        if (fields.size() != 5 || fields[0] != "V" || !ReadName(fields[1], key) || !ReadName(fields[2], name) ||
            !ReadHex(fields[4], value.m_Data)) {
            continue;
        }
        const auto [last, error] = std::from_chars(fields[3].data(), fields[3].data() + fields[3].size(), value.m_Type);
        if (error == std::errc() && last == fields[3].data() + fields[3].size()) {
            SetValue(FoldName(key), FoldName(name), std::move(value));
        }
    }
}

std::string c_RegistryHive::Serialize() const {
    std::string text(HEADER);
    for (const std::u16string& key : m_Keys) {
        text += "K ";
        AppendName(text, key);
        text += '\n';
    }
    for (const auto& [where, value] : m_Values) {
        text += "V ";
        AppendName(text, where.first);
        text += ' ';
        AppendName(text, where.second);
        text += ' ';
        text += std::to_string(value.m_Type);
        text += ' ';
        AppendHex(text, value.m_Data.data(), value.m_Data.size());
        text += '\n';
    }
    return text;
}

bool c_RegistryHive::AddKey(const std::u16string& key) {
    for (std::size_t separator = key.find(u'\\'); separator != std::u16string::npos;
         separator = key.find(u'\\', separator + 1)) {
        m_Keys.insert(key.substr(0, separator));
    }
    return m_Keys.insert(key).second;
}

const s_RegistryValue* c_RegistryHive::FindValue(const std::u16string& key, const std::u16string& name) const {
    const auto found = m_Values.find({key, name});
    return found == m_Values.end() ? nullptr : &found->second;
}

void c_RegistryHive::SetValue(const std::u16string& key, const std::u16string& name, s_RegistryValue value) {
    AddKey(key);
    m_Values[{key, name}] = std::move(value);
}

} // namespace n_Platform
