#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef NORVIK_INSTALL_DATADIR
#define NORVIK_INSTALL_DATADIR "/usr/share/norvik"
#endif

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

std::string EnvFolder(const char* name) {
    const char* value = std::getenv(name);
    // XDG says relative values are invalid and must be ignored.
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return WithSlash(value);
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return WithSlash(home != nullptr && home[0] != '\0' ? home : "/tmp");
}

bool HoldsProgramData(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder / "skin", error) || fs::is_directory(folder / "DefaultData", error);
}

}  // namespace

std::string LocalAppDataFolder() {
    std::string folder = EnvFolder("XDG_DATA_HOME");
    return folder.empty() ? HomeFolder() + ".local/share/" : folder;
}

std::string UserConfigFolder() {
    std::string folder = EnvFolder("XDG_CONFIG_HOME");
    return folder.empty() ? HomeFolder() + ".config/" : folder;
}

std::string ProgramFolder() {
    std::string overridden = EnvFolder("NORVIK_PROGRAM_DIR");
    if (!overridden.empty()) {
        return overridden;
    }
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        return WithSlash(NORVIK_INSTALL_DATADIR);
    }
    const fs::path folder = executable.parent_path();
    if (HoldsProgramData(folder)) {
        return WithSlash(folder.string());
    }
    // An install under another prefix (or unpacked from a package into a staging root) keeps
    // the data beside bin/ as share/norvik/.
    const fs::path installed = (folder / ".." / "share" / "norvik").lexically_normal();
    if (HoldsProgramData(installed)) {
        return WithSlash(installed.string());
    }
    return WithSlash(NORVIK_INSTALL_DATADIR);
}

bool EnsureFolder(const std::string& path) {
    std::error_code error;
    fs::create_directories(path, error);
    return fs::is_directory(path, error);
}

}  // namespace platform
