// Arbitrary bytes as the settings file through the registry stand-in: the language value is read,
// and written back when the key is there.

#include "platform/settings/settings_store.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Every write syncs to disk; a memory file system keeps that from setting the pace.
std::string ScratchFile() {
    std::error_code error;
    const std::filesystem::path root = std::filesystem::is_directory("/dev/shm", error)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (root / "fuzz_settings-XXXXXX").string();
    static const std::string folder = mkdtemp(pattern.data());
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    return folder + "/settings.json";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string file = ScratchFile();
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);
    const CSettingsStore store(file);
    store.QueryValue(kProductSettingsKey, kLanguageValueName);
    if (store.KeyExists(kProductSettingsKey)) {
        store.SetValue(kProductSettingsKey, kLanguageValueName, "3");
        store.QueryValue(kProductSettingsKey, kLanguageValueName);
    }
    return 0;
}
