// Arbitrary bytes as "default_light.json" and "quorl_light.config" through the light name list
// readers at every light-table index a device kind uses (and a few beyond).

#include "devices/common/light_name_lists.h"
#include "profile/json_document.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class CScratchFile {
public:
    CScratchFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz_light_lists-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
    }
    ~CScratchFile() {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    std::string Path() const { return folder_ + "/quorl_light.config"; }

private:
    std::string folder_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const CScratchFile file;
    std::ofstream(file.Path(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const Json::Value document = CJsonDocument().ReadJsonValue(file.Path());
    for (int index = -1; index < 8; ++index) {
        CLightNameLists::ModeNames(document, index);
        CLightNameLists::AreaNames(document, index);
        CLightNameLists::CustomEffects(document, index);
    }
    return 0;
}
