#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

constexpr std::chrono::minutes kStaleTemporaryAge{10};
// Marks the temporaries as ours, so that cleaning up never touches a user's "x.Json.backup".
constexpr const char* kTemporaryMark = ".tmp-";

// Writes through a symlink land on its target, as an in-place write would.
std::string ResolvedTarget(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    const auto target = std::filesystem::canonical(path, error);
    return error ? path : target.string();
}

// A file marked read-only stays untouched, even for root, whom the kernel would let write.
bool IsReadOnly(const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool WriteAll(int fd, const std::string& text) {
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

bool IsTemporaryOf(const std::string& name, const std::string& base) {
    const std::string prefix = base + kTemporaryMark;
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// A writer killed between creating its temporary and the rename leaves the temporary behind.
// Those old enough that no running write can own them are removed, so that a folder does not
// fill with them over crashes.
void RemoveStaleTemporaries(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const std::string base = target.filename().string();
    const auto oldest = fs::file_time_type::clock::now() - kStaleTemporaryAge;
    std::error_code error;
    for (fs::directory_iterator entry(target.parent_path().empty() ? "." : target.parent_path(), error), end;
         !error && entry != end; entry.increment(error)) {
        std::error_code ignored;
        if (IsTemporaryOf(entry->path().filename().string(), base) && entry->is_regular_file(ignored) &&
            entry->last_write_time(ignored) < oldest) {
            fs::remove(entry->path(), ignored);
        }
    }
}

int ReplaceTarget(const std::string& path, const std::string& text) {
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && (IsReadOnly(existing) || ::access(path.c_str(), W_OK) != 0)) {
        return EACCES;
    }
    std::string temporary = path + kTemporaryMark + "XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return errno;
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return error != 0 ? error : EIO;
    }
    RemoveStaleTemporaries(path);
    return 0;
}

}  // namespace

int ReplaceFile(const std::string& path, const std::string& text) {
    return ReplaceTarget(ResolvedTarget(path), text);
}

}  // namespace platform
