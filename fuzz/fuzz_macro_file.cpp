// Arbitrary bytes as a macro list and a macro file through the list reader, the event reader and
// counter, the text copy and the memory image builder. The input is split at its first NUL byte: the
// part before is "macro.config", the part after is written as the file of every listed macro.

#include "macro/macro_file.h"
#include "macro/macro_list.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class CScratchFolder {
public:
    CScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz_macro_file-XXXXXX").string();
        path_ = std::string(mkdtemp(pattern.data())) + "/";
    }
    ~CScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

const std::string& Folder() {
    static const CScratchFolder folder;
    return folder.Path();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
}

constexpr size_t kMaxFilesPerRun = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string listText = input.substr(0, split);
    const std::string macroText = split == std::string::npos ? input : input.substr(split + 1);

    std::error_code error;
    std::filesystem::remove_all(Folder(), error);
    std::filesystem::create_directories(Folder(), error);
    WriteText(Folder() + CMacroList::kListFile, listText);

    CMacroList list(Folder());
    const std::vector<CMacroList::Entry> entries = list.Entries();
    for (size_t i = 0; i < entries.size() && i < kMaxFilesPerRun; ++i) {
        const std::string path = list.MacroPath(entries[i].guid);
        if (!path.empty()) {
            WriteText(path, macroText);
        }
        list.Load(i);
    }
    list.Names();
    const size_t capacity = size == 0 ? 0 : size_t{data[0]} * 128;
    list.BuildImage(capacity);

    const std::string macroPath = Folder() + "input.mac";
    WriteText(macroPath, macroText);
    const std::vector<MacroEvent> events = CMacroFile::Read(macroPath);
    CMacroFile::CountEvents(macroPath);
    CMacroImage::Build({events, events}, std::nullopt);
    for (const MacroEvent& event : events) {
        event.ToJson();
    }
    CMacroFile::CopyAsText(macroPath, Folder() + "copy.mac");
    return 0;
}
