#include "profile/damaged_file.h"

#include "platform/debug.h"
#include "profile/json_document.h"

#include <filesystem>

bool CDamagedFile::HasContent(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && std::filesystem::file_size(path, error) > 0 &&
           !error;
}

std::string CDamagedFile::MoveAside(const std::string& path) {
    const std::string target = path + ".damaged-" + CJsonDocument().TimeStamp();
    std::error_code error;
    std::filesystem::rename(path, target, error);
    if (error) {
        platform::DebugFormat("damaged file %s could not be moved aside: %s\n", path.c_str(),
                              error.message().c_str());
        return {};
    }
    platform::DebugFormat("damaged file %s moved aside to %s\n", path.c_str(), target.c_str());
    return target;
}
