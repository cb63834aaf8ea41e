#include "app/update_download.h"

#include "app/product_identity.h"
#include "platform/paths.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdlib>

namespace app {
namespace {

std::string CacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && *cache == '/') {
        return std::string(cache) + "/";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.cache/";
}

std::string Sanitised(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '_' || c == '.' || c == ' ';
        out += plain ? c : '_';
    }
    return out;
}

// The extension of the URL's last path segment (query and fragment left out), with its dot.
std::string UrlExtension(const std::string& url) {
    const std::string path = url.substr(0, url.find_first_of("?#"));
    const std::string segment = path.substr(path.find_last_of('/') + 1);
    const std::size_t dot = segment.find_last_of('.');
    if (dot == std::string::npos || dot == 0 || segment.size() - dot > 8) {
        return {};
    }
    return Sanitised(segment.substr(dot));
}

}  // namespace

std::string CUpdateDownload::Folder() {
    const std::string folder = CacheFolder() + kProductName + "/UpdateData/";
    platform::EnsureFolder(folder);
    return folder;
}

std::string CUpdateDownload::TargetFileName(const std::string& displayName, const std::string& url) {
    std::string name = Sanitised(displayName);
    // "." and ".." name folders, not files.
    if (name.find_first_not_of('.') == std::string::npos) {
        name = "update";
    }
    return name + UrlExtension(url);
}

std::string CUpdateDownload::Sha256(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) {
        return {};
    }
    return hash.result().toHex().toStdString();
}

bool CUpdateDownload::OpenFolderOf(const std::string& path) {
    const QString folder = QFileInfo(QString::fromStdString(path)).absolutePath();
    return QProcess::startDetached(QStringLiteral("xdg-open"), {folder});
}

}  // namespace app
