#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

// Points $XDG_DATA_HOME and $XDG_CONFIG_HOME at a fresh temporary folder for the life of the
// object, so a test reads and writes real files without touching the user's own.
class CTempDataHome {
public:
    CTempDataHome() {
        std::string pattern = (std::filesystem::temp_directory_path() / "norvik-test-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        std::filesystem::create_directories(root_ / "data");
        std::filesystem::create_directories(root_ / "config");
        setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    }
    ~CTempDataHome() {
        std::error_code error;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(root_, error);
    }
    CTempDataHome(const CTempDataHome&) = delete;
    CTempDataHome& operator=(const CTempDataHome&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::string Path(const std::string& name) const { return (root_ / name).string(); }

private:
    std::filesystem::path root_;
};
