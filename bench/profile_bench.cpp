// The profile list of a device kind at its limit: 50 profiles, each as large as the largest
// shipped default profile (the keyboard's, with every key and light zone), under names of the
// longest length the name entry takes. Loading the list, switching profile (the list's
// selection and the profile file the page reads; the device is not involved) and importing a
// profile each have to stay well under 50 ms.
//
//   cmake --preset release && cmake --build --preset release --target profile_bench
//   NORVIK_PROGRAM_DIR=build-release/bin build-release/bench/profile_bench   (or any folder with
//   DefaultData/)

#include "profile/basic_profiledata.h"
#include "profile/data_folders.h"
#include "profile/json_document.h"
#include "profile/profile_list.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kProfiles = CProfileList::kMaxAddedProfiles;
constexpr size_t kLongestName = 64;

// A data folder of its own holding the full list; removed at the end.
class CFullList {
public:
    CFullList() {
        std::string pattern = (fs::temp_directory_path() / "norvik-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("no temporary folder");
        }
        root_ = pattern;
        setenv("XDG_DATA_HOME", root_.c_str(), 1);
        folder_ = CDataFolders::UserDataFolder("keyboard");
        defaults_ = CDataFolders::DefaultProfileFile("keyboard");
        const Json::Value content = document_.ReadJsonValue(defaults_);
        if (content.isNull()) {
            throw std::runtime_error("no default keyboard profile at " + defaults_);
        }
        Json::Value list;
        for (int i = 0; i < kProfiles; ++i) {
            const std::string uuid = "2026_01_01_00_00_00_" + std::to_string(100 + i);
            std::string name = "profile " + std::to_string(i) + " ";
            name.resize(kLongestName, 'x');
            Json::Value& entry = list["profilelist"][static_cast<Json::ArrayIndex>(i)];
            entry["profilename"] = name;
            entry["profileUUID"] = uuid;
            entry["profileislink"] = 0;
            entry["profilelinkmame"] = "";
            Json::Value profile = content;
            profile["profilename"] = name;
            profile["profileUUID"] = uuid;
            document_.wirtejsonFile(folder_ + uuid + ".Json", profile);
        }
        list["profileselect"] = 0;
        document_.wirtejsonFile(folder_ + CProfileList::kListFileName, list);
        importFile_ = (root_ / "import.json").string();
        document_.wirtejsonFile(importFile_, content);
    }
    ~CFullList() {
        std::error_code error;
        fs::remove_all(root_, error);
    }

    CProfileList Open() const {
        CProfileList list(1, folder_, defaults_);
        list.Load();
        return list;
    }
    const std::string& ImportFile() const { return importFile_; }

private:
    fs::path root_;
    std::string folder_;
    std::string defaults_;
    std::string importFile_;
    CJsonDocument document_;
};

void LoadProfileList(benchmark::State& state) {
    const CFullList full;
    for (auto _ : state) {
        benchmark::DoNotOptimize(full.Open().Count());
    }
}
BENCHMARK(LoadProfileList)->Unit(benchmark::kMillisecond);

void SwitchProfile(benchmark::State& state) {
    const CFullList full;
    CProfileList list = full.Open();
    CBasicProfiledata profile;
    int index = 0;
    for (auto _ : state) {
        index = (index + 1) % kProfiles;
        list.Select(index);
        profile.SetProfilePath(list.CurrentProfilePath());
        profile.LoadDeviceSection(list.CurrentProfilePath());
        benchmark::DoNotOptimize(profile.GetKeyList().size() + profile.GetLightList().size());
    }
}
BENCHMARK(SwitchProfile)->Unit(benchmark::kMillisecond);

void ImportProfile(benchmark::State& state) {
    const CFullList full;
    CProfileList list = full.Open();
    for (auto _ : state) {
        const int index = list.Import(full.ImportFile());
        state.PauseTiming();
        // Back to 50, so every import meets the same list.
        list.Select(index);
        list.Delete();
        state.ResumeTiming();
    }
}
BENCHMARK(ImportProfile)->Unit(benchmark::kMillisecond);

}  // namespace
