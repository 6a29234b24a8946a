// Fuzz target: a registry hive file of any bytes. What the parse keeps is written back as text that
// parses to the same hive, so a damaged file never grows or changes what survives it.

#include "platform/kernel/RegistryHive.h"
#include "fuzz/FuzzInput.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    n_Platform::c_RegistryHive hive;
    hive.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string text = hive.Serialize();
    n_Platform::c_RegistryHive again;
    again.Parse(text);
    FUZZ_CHECK(again.Serialize() == text);
    return 0;
}
