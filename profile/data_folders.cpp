#include "profile/data_folders.h"

#include "platform/paths.h"
#include "platform/product.h"

std::string CDataFolders::ApplicationDataFolder() {
    std::string folder = platform::LocalAppDataFolder() + platform::kProductName + "/";
    platform::EnsureFolder(folder);
    return folder;
}

std::string CDataFolders::UserDataFolder(const std::string& deviceFolderName) {
    std::string folder = ApplicationDataFolder() + deviceFolderName + "/";
    platform::EnsureFolder(folder);
    return folder;
}

std::string CDataFolders::DefaultDataFolder() {
    return platform::ProgramFolder() + "DefaultData/";
}

std::string CDataFolders::DefaultProfileFile(const std::string& deviceFolderName) {
    return DefaultDataFolder() + deviceFolderName + ".Json";
}

bool CDataFolders::IsSafeFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (const unsigned char c : name) {
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7f) {
            return false;
        }
    }
    return true;
}
