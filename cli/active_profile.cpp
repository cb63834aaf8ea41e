#include "cli/active_profile.h"

#include "cli/cli_command.h"
#include "profile/data_folders.h"

int CActiveProfile::Open(uint16_t kind, const std::string& deviceName, const std::string& what,
                         std::unique_ptr<CProfileList>& list, CBasicProfiledata& profile, std::ostream& err) {
    const std::string folder = CDataFolders::UserDataFolder(deviceName);
    const std::string defaults = CDataFolders::DefaultProfileFile(deviceName);
    list = std::make_unique<CProfileList>(kind, folder, defaults);
    list->Load();
    const std::string path = list->CurrentProfilePath();
    for (const std::string& moved : list->TakeSetAsideFiles()) {
        err << "norvikctl: a damaged profile list was kept as " << moved << "; a new list took its place.\n";
    }
    if (path.empty()) {
        err << "norvikctl: " << what << " has no usable active profile in " << folder << ".\n";
        return kExitFailure;
    }
    profile.OpenActiveProfile(path, folder + "quorl_light.config", defaults);
    for (const std::string& moved : profile.TakeSetAsideFiles()) {
        err << "norvikctl: a damaged profile was kept as " << moved
            << "; the default settings took its place.\n";
    }
    return kExitOk;
}
