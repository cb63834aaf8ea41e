#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A fresh per-test world for the audio configuration library: its state file and call log in a
// temporary folder, its endpoint description back at the default, and no planned failures. The
// variables are cleared again when the object goes.
class CAudioLibraryEnv {
public:
    CAudioLibraryEnv() {
        std::string pattern = (std::filesystem::temp_directory_path() / "norvik-osconf-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        for (const char* name : Variables()) {
            unsetenv(name);
        }
        setenv("NORVIK_OSCONF_STATE", StatePath().c_str(), 1);
        setenv("NORVIK_OSCONF_LOG", LogPath().c_str(), 1);
    }
    ~CAudioLibraryEnv() {
        for (const char* name : Variables()) {
            unsetenv(name);
        }
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }
    CAudioLibraryEnv(const CAudioLibraryEnv&) = delete;
    CAudioLibraryEnv& operator=(const CAudioLibraryEnv&) = delete;

    static void Set(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

    std::string StatePath() const { return (root_ / "hs6533.state").string(); }
    std::string LogPath() const { return (root_ / "calls.log").string(); }

    // The library's calls since the last ClearLog, one line each ("write 1 MuteControl 1 index 0").
    std::vector<std::string> Calls() const {
        std::vector<std::string> lines;
        std::ifstream file(LogPath());
        for (std::string line; std::getline(file, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    std::vector<std::string> Writes() const {
        std::vector<std::string> writes;
        for (const std::string& line : Calls()) {
            if (line.rfind("write ", 0) == 0) {
                writes.push_back(line);
            }
        }
        return writes;
    }
    void ClearLog() const {
        std::error_code error;
        std::filesystem::remove(LogPath(), error);
    }
    // The value the state file holds for "<endpoint id>.<property>", or "" when absent.
    std::string StateValue(const std::string& key) const {
        std::ifstream file(StatePath());
        std::string name;
        std::string value;
        while (file >> name >> value) {
            if (name == key) {
                return value;
            }
        }
        return "";
    }

private:
    static std::vector<const char*> Variables() {
        return {"NORVIK_OSCONF_ENDPOINTS",
                "NORVIK_OSCONF_FEATURES_PLAYBACK",
                "NORVIK_OSCONF_FEATURES_RECORDING",
                "NORVIK_OSCONF_FAIL",
                "NORVIK_OSCONF_STATE",
                "NORVIK_OSCONF_LOG"};
    }

    std::filesystem::path root_;
};
