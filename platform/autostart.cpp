#include "platform/autostart.h"

#include "platform/atomic_file.h"
#include "platform/paths.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace platform {
namespace {

namespace fs = std::filesystem;

const char kEntryName[] = NORVIK_APP_ID ".desktop";

// Desktop entry Exec quoting: a path with spaces or quotes is double-quoted with \ escapes.
std::string Quoted(const std::string& program) {
    if (program.find_first_of(" \t\"'\\$`") == std::string::npos) {
        return program;
    }
    std::string quoted = "\"";
    for (const char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string EntryText(const std::string& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Norvik 400100 Gaming Mouse\n"
           "Comment=Applies the device settings kept on this computer at login\n"
           "Exec=env NORVIK_START_HIDDEN=1 " +
           Quoted(program) +
           "\n"
           "Icon=" NORVIK_APP_ID
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

}  // namespace

std::string AutostartEntryPath() {
    return UserConfigFolder() + "autostart/" + kEntryName;
}

bool SetAutostart(bool enabled, const std::string& program) {
    const std::string path = AutostartEntryPath();
    std::error_code error;
    if (!enabled) {
        fs::remove(path, error);
        return !error;
    }
    return EnsureFolder(UserConfigFolder() + "autostart/") && ReplaceFile(path, EntryText(program)) == 0;
}

bool AutostartEnabled() {
    std::ifstream in(AutostartEntryPath());
    if (!in) {
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") {
            return false;
        }
    }
    return true;
}

std::string ApplicationProgram() {
    std::error_code error;
    const fs::path beside = fs::read_symlink("/proc/self/exe", error).parent_path() / "norvik";
    if (!error && fs::is_regular_file(beside, error)) {
        return beside.string();
    }
    return "norvik";
}

}  // namespace platform
