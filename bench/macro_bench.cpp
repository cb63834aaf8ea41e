// Macros at their sizes: saving a recorded macro of 2000 events (the file the panel writes after
// every change), and building the macro memory image from 50 macro files totalling 100 000
// events, the path "Apply" takes. Such a list is far beyond any device's memory and the image's
// 16-bit size field, so the build parses files up to the capacity, only counts the rest and reports
// the events to remove; the encoding itself is measured at the largest image the format holds
// (16 300 events). Each has to stay well under 50 ms; the event-count variants show the cost is
// linear in the events.
//
//   cmake --preset release && cmake --build --preset release --target macro_bench
//   build-release/bench/macro_bench

#include "macro/macro_file.h"
#include "macro/macro_image.h"
#include "macro/macro_list.h"
#include "profile/data_folders.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr size_t kMacros = 50;

std::vector<MacroEvent> Events(size_t count) {
    std::vector<MacroEvent> events;
    events.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        events.push_back(
            {i % 2 == 0 ? "down" : "up", static_cast<uint8_t>(4 + i % 26), 10, std::to_string(i % 500)});
    }
    return events;
}

// A data folder of its own; removed at the end.
class CDataFolder {
public:
    CDataFolder() {
        std::string pattern = (fs::temp_directory_path() / "norvik-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("no temporary folder");
        }
        root_ = pattern;
        setenv("XDG_DATA_HOME", root_.c_str(), 1);
        folder_ = CDataFolders::UserDataFolder("mouse");
        fs::create_directories(folder_);
    }
    ~CDataFolder() { fs::remove_all(root_); }
    const std::string& Folder() const { return folder_; }

    // A list of 50 macros sharing `total` events.
    void Fill(size_t total) {
        CMacroList list(folder_);
        for (size_t i = 0; i < kMacros; ++i) {
            if (!list.Create() || list.Save(i, Events(total / kMacros)) != 0) {
                throw std::runtime_error("the macro list could not be written");
            }
        }
    }

private:
    fs::path root_;
    std::string folder_;
};

void SaveRecordedMacro(benchmark::State& state) {
    CDataFolder data;
    CMacroList list(data.Folder());
    list.Create();
    const std::vector<MacroEvent> events = Events(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        if (list.Save(0, events) != 0) {
            state.SkipWithError("the macro file could not be written");
        }
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(SaveRecordedMacro)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity();

void BuildImageFromFiles(benchmark::State& state) {
    CDataFolder data;
    data.Fill(static_cast<size_t>(state.range(0)));
    const CMacroList list(data.Folder());
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.BuildImage(2048));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BuildImageFromFiles)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void EncodeImage(benchmark::State& state) {
    const std::vector<std::vector<MacroEvent>> entries(kMacros,
                                                       Events(static_cast<size_t>(state.range(0)) / kMacros));
    for (auto _ : state) {
        const CMacroImage::Result image = CMacroImage::Build(entries, std::nullopt);
        if (image.bytes.empty()) {
            state.SkipWithError("the image does not fit its size field");
        }
        benchmark::DoNotOptimize(image.bytes.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EncodeImage)->Arg(4000)->Arg(8000)->Arg(16300)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
