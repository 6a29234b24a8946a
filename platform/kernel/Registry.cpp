// The registry calls over one file per hive under C:\.registry\.
//
// Every change reads the hive's file, changes it and writes it back whole under an exclusive lock
// on a lock file beside it, replacing the file by a rename, so a reader never sees half a file and
// two processes never lose each other's changes. Reads take no lock.

#include "platform/files/DrivePaths.h"
#include "platform/kernel/RegistryHive.h"

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

struct s_KeyPlace {
    const char* m_Hive = nullptr;
    std::u16string m_Path;
};

// Open keys by handle value; values grow and are never reused.
struct s_KeyTable {
    std::mutex m_Lock;
    std::unordered_map<ULONG_PTR, s_KeyPlace> m_Keys;
    ULONG_PTR m_Next = 0x1000;
};

s_KeyTable& GetKeyTable() {
    static s_KeyTable* table = new s_KeyTable;
    return *table;
}

const char* FindRootHive(HKEY key) {
    if (key == HKEY_CURRENT_USER) {
        return "HKEY_CURRENT_USER";
    }
    if (key == HKEY_LOCAL_MACHINE) {
        return "HKEY_LOCAL_MACHINE";
    }
    return nullptr;
}

bool FindKey(HKEY key, s_KeyPlace& place) {
    place.m_Hive = FindRootHive(key);
    if (place.m_Hive != nullptr) {
        place.m_Path.clear();
        return true;
    }
    s_KeyTable& table = GetKeyTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    const auto found = table.m_Keys.find(reinterpret_cast<ULONG_PTR>(key));
    if (found == table.m_Keys.end()) {
        return false;
    }
    place = found->second;
    return true;
}

// The folded path of subKey below place; false for an empty name inside the path.
bool JoinSubKey(const s_KeyPlace& place, LPCWSTR subKey, std::u16string& path) {
    std::u16string_view rest = subKey == nullptr ? std::u16string_view() : std::u16string_view(subKey);
    if (!rest.empty() && rest.back() == u'\\') {
        rest.remove_suffix(1);
    }
    path = place.m_Path;
    if (rest.empty()) {
        return true;
    }
    if (rest.front() == u'\\' || rest.find(u"\\\\") != std::u16string_view::npos) {
        return false;
    }
    if (!path.empty()) {
        path += u'\\';
    }
    path += n_Platform::c_RegistryHive::FoldName(rest);
    return true;
}

// The hive's file; false when drive C: is not in the map or its folder cannot be made.
bool FindHiveFile(const char* hive, std::string& file) {
    std::string folder;
    if (!n_Platform::ToLinuxPath(std::u16string_view(u"C:\\.registry"), folder)) {
        return false;
    }
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    file = folder + "/" + hive;
    return true;
}

void LoadHive(const std::string& file, n_Platform::c_RegistryHive& hive) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    hive.Parse(text.str());
}

bool SaveHive(const std::string& file, const n_Platform::c_RegistryHive& hive) {
    const std::string temporary = file + ".new." + std::to_string(getpid());
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        stream << hive.Serialize();
        if (!stream.flush()) {
            unlink(temporary.c_str());
            return false;
        }
    }
    return rename(temporary.c_str(), file.c_str()) == 0;
}

// Holds the hive's lock file while a change is read, made and written.
class c_HiveLock {
public:
    explicit c_HiveLock(const std::string& file)
        : m_File(open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        m_Held = m_File >= 0 && flock(m_File, LOCK_EX) == 0;
    }
    ~c_HiveLock() {
        if (m_File >= 0) {
            close(m_File);
        }
    }
    c_HiveLock(const c_HiveLock&) = delete;
    c_HiveLock& operator=(const c_HiveLock&) = delete;

    bool IsHeld() const { return m_Held; }

private:
    int m_File;
    bool m_Held = false;
};

// Runs change on the hive under its lock and writes the hive back when change says so.
template <typename t_Change> LSTATUS ChangeHive(const char* name, t_Change change) {
    std::string file;
    if (!FindHiveFile(name, file)) {
        return ERROR_PATH_NOT_FOUND;
    }
    c_HiveLock lock(file);
    if (!lock.IsHeld()) {
        return ERROR_ACCESS_DENIED;
    }
    n_Platform::c_RegistryHive hive;
    LoadHive(file, hive);
    if (!change(hive)) {
        return ERROR_SUCCESS;
    }
    return SaveHive(file, hive) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

HKEY InsertKey(s_KeyPlace place) {
    s_KeyTable& table = GetKeyTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    const ULONG_PTR value = table.m_Next;
    table.m_Next += 4;
    table.m_Keys.emplace(value, std::move(place));
    return reinterpret_cast<HKEY>(value);
}

// The size that RegGetValueW hands out: strings always with their terminating NUL.
DWORD GetReturnedSize(const n_Platform::s_RegistryValue& value) {
    const std::vector<unsigned char>& data = value.m_Data;
    const bool isString = value.m_Type == REG_SZ || value.m_Type == REG_EXPAND_SZ;
    if (!isString) {
        return static_cast<DWORD>(data.size());
    }
    const std::size_t even = data.size() + data.size() % 2;
    const bool terminated =
        data.size() >= 2 && data.size() % 2 == 0 && data[data.size() - 1] == 0 && data[data.size() - 2] == 0;
    return static_cast<DWORD>(terminated ? even : even + 2);
}

} // namespace

LSTATUS WINAPI RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD options, REGSAM,
                               const SECURITY_ATTRIBUTES*, PHKEY result, LPDWORD disposition) {
    s_KeyPlace place;
    if (result == nullptr || options != REG_OPTION_NON_VOLATILE) {
        return ERROR_INVALID_PARAMETER;
    }
    if (!FindKey(key, place)) {
        return ERROR_INVALID_HANDLE;
    }
    std::u16string path;
    if (!JoinSubKey(place, subKey, path)) {
        return ERROR_BAD_PATHNAME;
    }
    bool created = false;
    const LSTATUS status = ChangeHive(place.m_Hive, [&](n_Platform::c_RegistryHive& hive) {
        created = !path.empty() && hive.AddKey(path);
        return created;
    });
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (disposition != nullptr) {
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    *result = InsertKey({place.m_Hive, std::move(path)});
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const unsigned char* data, DWORD bytes) {
    s_KeyPlace place;
    if (!FindKey(key, place)) {
        return ERROR_INVALID_HANDLE;
    }
    if (data == nullptr && bytes != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    n_Platform::s_RegistryValue value;
    value.m_Type = type;
    value.m_Data.assign(data, data + bytes);
    const std::u16string name =
        n_Platform::c_RegistryHive::FoldName(valueName == nullptr ? u"" : std::u16string_view(valueName));
    return ChangeHive(place.m_Hive, [&](n_Platform::c_RegistryHive& hive) {
        hive.SetValue(place.m_Path, name, std::move(value));
        return true;
    });
}

LSTATUS WINAPI RegGetValueW(HKEY key, LPCWSTR subKey, LPCWSTR valueName, DWORD flags, LPDWORD type, PVOID data,
                            LPDWORD bytes) {
    s_KeyPlace place;
    if (!FindKey(key, place)) {
        return ERROR_INVALID_HANDLE;
    }
    if ((flags & RRF_RT_ANY) == 0 || (data != nullptr && bytes == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::u16string path;
    std::string file;
    if (!JoinSubKey(place, subKey, path)) {
        return ERROR_BAD_PATHNAME;
    }
    if (!FindHiveFile(place.m_Hive, file)) {
        return ERROR_FILE_NOT_FOUND;
    }
    n_Platform::c_RegistryHive hive;
    LoadHive(file, hive);
    const n_Platform::s_RegistryValue* value = hive.FindValue(
        path, n_Platform::c_RegistryHive::FoldName(valueName == nullptr ? u"" : std::u16string_view(valueName)));
    if (value == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (value->m_Type > 15 || (flags & (1u << value->m_Type)) == 0) {
        return ERROR_UNSUPPORTED_TYPE;
    }
    if (type != nullptr) {
        *type = value->m_Type;
    }
    const DWORD size = GetReturnedSize(*value);
    if (bytes == nullptr) {
        return ERROR_SUCCESS;
    }
    const DWORD room = *bytes;
    *bytes = size;
    if (data == nullptr) {
        return ERROR_SUCCESS;
    }
    if (room < size) {
        return ERROR_MORE_DATA;
    }
    std::memset(data, 0, size);
    std::memcpy(data, value->m_Data.data(), value->m_Data.size());
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY key) {
    if (FindRootHive(key) != nullptr) {
        return ERROR_SUCCESS;
    }
    s_KeyTable& table = GetKeyTable();
    std::lock_guard<std::mutex> lock(table.m_Lock);
    return table.m_Keys.erase(reinterpret_cast<ULONG_PTR>(key)) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
