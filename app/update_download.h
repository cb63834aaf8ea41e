#pragma once

#include <string>

// CUpdateDownload: where the settings window keeps what it downloads, and what it shows of a
// downloaded file. Nothing downloaded is ever run: the "install" step opens the folder holding
// the file, and the item shows the file's path and SHA-256 so the user can check it first.
//
// Thread safety: any thread (no state).

namespace app {

class CUpdateDownload {
public:
    // $XDG_CACHE_HOME (default ~/.cache) + "/" + product name + "/UpdateData/", created when missing.
    static std::string Folder();
    // The file name for a row's download: the display name with the extension of the URL's last
    // path segment. Anything but letters, digits, '-', '_', '.' and ' ' becomes '_', so a name from
    // the service never leaves the folder.
    static std::string TargetFileName(const std::string& displayName, const std::string& url);
    // The file's SHA-256 in lower-case hex; "" when it cannot be read.
    static std::string Sha256(const std::string& path);
    // Opens the folder holding path with xdg-open; false when that could not be started.
    static bool OpenFolderOf(const std::string& path);
};

}  // namespace app
