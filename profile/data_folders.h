#pragma once

#include <string>

// The folders that hold every file of the program. Each path ends with '/'.
//
//   application data  $XDG_DATA_HOME/<product name>/           created when the path is built
//   user data         application data + device folder name/  created when the path is built
//   default data      program folder + "DefaultData/"           ships with the program
//
// Thread safety: any thread.
class CDataFolders {
public:
    static std::string ApplicationDataFolder();
    static std::string UserDataFolder(const std::string& deviceFolderName);
    static std::string DefaultDataFolder();
    // Default data folder + device folder name + ".Json".
    static std::string DefaultProfileFile(const std::string& deviceFolderName);

    // Whether a name read from a file (profile UUID, macro or effect GUID) may name a file:
    // not empty, no path separator, not "." or "..", no control characters. Anything else
    // could reach outside its folder.
    static bool IsSafeFileName(const std::string& name);
};
