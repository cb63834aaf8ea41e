// Arbitrary bytes as a profile file (and as the default profile and light configuration)
// through LoadDeviceSection, every reader of every profile data class and a save, and as a
// profile list through CProfileList.

#include "devices/headset/hs6533_profiledata.h"
#include "devices/keyboard/keyboard_profiledata.h"
#include "devices/mouse/mouse_profiledata.h"
#include "profile/profile_list.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Every write syncs to disk; a memory file system keeps that from setting the pace.
std::filesystem::path ScratchRoot() {
    std::error_code error;
    return std::filesystem::is_directory("/dev/shm", error) ? std::filesystem::path("/dev/shm")
                                                            : std::filesystem::temp_directory_path();
}

// A scratch folder of the run, removed when the fuzzer exits.
class CScratchFolder {
public:
    CScratchFolder() {
        std::string pattern = (ScratchRoot() / "fuzz_profile-XXXXXX").string();
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

void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The readers that every kind shares, then the light configuration read from the same bytes.
void ReadShared(CBasicProfiledata& profile, const std::string& path) {
    profile.SetDefaultProfilePath(Folder() + "default.Json");
    profile.SetProfilePath(path);
    profile.LoadDeviceSection(path);
    profile.GetLightInfo();
    profile.GetLightList();
    profile.GetKeyList();
    profile.LoadLightConfig(Folder() + "default.Json");
    profile.GetCustomLightEffect();
}

void ReadMouse(const std::string& path) {
    CMouseProfiledata profile;
    ReadShared(profile, path);
    for (const uint16_t sensor : {0x3325, 0x3360, 0x3327}) {
        profile.SetSensorId(sensor);
        profile.SetStages(profile.GetStages());
    }
    profile.SetSystemSettings(profile.GetSystemSettings());
    profile.GetCorrections();
    profile.Save();
}

void ReadKeyboard(const std::string& path) {
    CKeyboardProfiledata profile;
    ReadShared(profile, path);
    profile.SetSystemSettings(profile.GetSystemSettings());
    profile.SetGroupColors(profile.GetGroupColors(profile.GetGroupIndex(), 126), profile.GetGroupIndex());
    profile.SetKeyList(profile.GetKeyList());
    profile.Save();
}

void ReadHeadset(const std::string& path) {
    CHs6533Profiledata profile;
    ReadShared(profile, path);
    const VoiceSettings voice = profile.GetVoiceSettings();
    profile.GetPresetGains(voice.eqType);
    profile.GetCustomGains(voice.customEqSelectIndex);
    profile.SetCustomNames(profile.GetCustomNames());
    profile.RemoveCustomGains(voice.customEqSelectIndex);
    profile.SetVoiceSettings(voice);
    profile.Save();
}

// The bytes as "ProfileList.ini", through loading and the list operations.
void UseProfileList(const uint8_t* data, size_t size) {
    const std::string folder = Folder() + "list/";
    std::filesystem::create_directories(folder);
    WriteBytes(folder + CProfileList::kListFileName, data, size);
    CProfileList list(7, folder, Folder() + "default.Json");
    list.Load();
    list.Select(list.Count() - 1);
    list.Rename("renamed");
    list.Export(Folder() + "export.json");
    list.Select(list.Import(Folder() + "export.json"));
    list.Reset();
    list.Delete();
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = Folder() + "profile.Json";
    WriteBytes(Folder() + "default.Json", data, size);
    for (auto* read : {ReadMouse, ReadKeyboard, ReadHeadset}) {
        WriteBytes(path, data, size);
        read(path);
    }
    CBasicProfiledata pad;
    WriteBytes(path, data, size);
    ReadShared(pad, path);
    pad.Save();
    UseProfileList(data, size);
    return 0;
}
