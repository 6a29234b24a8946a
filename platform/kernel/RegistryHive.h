#pragma once
// One registry hive in memory, and the text form that keeps it in its file.
//
// Grammar of the file (one record per line, fields separated by one blank, names and data in
// hexadecimal of their bytes; names are UTF-16LE):
//   file   = "REGISTRY 1" LF *(record LF)
//   record = "K" SP hex-key | "V" SP hex-key SP hex-name SP type SP hex-data
//   type   = 1*10DIGIT
// A key is the path of its names from the hive, folded to lower case (ASCII) and joined by "\".
// Lines that do not follow the grammar are left out, so a damaged file loses only those lines; a
// value names its key, which exists with it.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace n_Platform {

struct s_RegistryValue {
    std::uint32_t m_Type = 0;
    std::vector<unsigned char> m_Data;
};

class c_RegistryHive {
public:
    // Folds the ASCII letters of a key or value name, as the registry compares them.
    static std::u16string FoldName(std::u16string_view name);

    // Replaces the content with what the text holds.
    void Parse(std::string_view text);
    std::string Serialize() const;

    bool HasKey(const std::u16string& key) const { return m_Keys.count(key) != 0; }
    // Adds the key and every key above it; true when the key itself is new.
    bool AddKey(const std::u16string& key);
    const s_RegistryValue* FindValue(const std::u16string& key, const std::u16string& name) const;
    void SetValue(const std::u16string& key, const std::u16string& name, s_RegistryValue value);

private:
    std::set<std::u16string> m_Keys;
    std::map<std::pair<std::u16string, std::u16string>, s_RegistryValue> m_Values;
};

} // namespace n_Platform
