#pragma once

#include <string>

// Where things live on Linux. Every folder returned ends with '/'.
//
// Thread safety: any thread; the results depend only on the environment and the executable.

namespace platform {

// $XDG_DATA_HOME, else ~/.local/share: the stand-in for the local application-data folder.
std::string LocalAppDataFolder();

// $XDG_CONFIG_HOME, else ~/.config: where small per-user settings live.
std::string UserConfigFolder();

// The folder holding skin/ and DefaultData/: $NORVIK_PROGRAM_DIR when set, else the executable's
// folder when it holds skin/ or DefaultData/, else share/norvik/ beside the executable's bin/,
// else the data folder of the configured install prefix.
std::string ProgramFolder();

// Creates the folder and its missing parents; true when it exists afterwards.
bool EnsureFolder(const std::string& path);

}  // namespace platform
