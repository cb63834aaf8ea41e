#include "platform/hid/hidraw_backend.h"

#include "platform/debug.h"
#include "platform/hid/entry_path.h"
#include "platform/hid/hidraw_connection.h"
#include "platform/hid/report_descriptor_parser.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace platform::hid {

bool CHidrawBackend::EntriesOfNode(const HidrawNode& node, std::vector<HidEntryInfo>& entries) {
    std::vector<HidCollectionInfo> collections;
    if (!CReportDescriptorParser::Parse(node.descriptor, collections) || collections.empty()) {
        return false;
    }
    for (const HidCollectionInfo& collection : collections) {
        HidEntryInfo entry;
        entry.attributes = node.attributes;
        entry.interface_number = node.interface_number;
        entry.collection_count = static_cast<uint16_t>(collections.size());
        entry.collection = collection;
        entry.path = BuildEntryPath(node.devnode, node.attributes, node.interface_number, collection.index,
                                    entry.collection_count, node.identity);
        entries.push_back(std::move(entry));
    }
    return true;
}

CHidrawBackend::CHidrawBackend(std::unique_ptr<CHidrawNodeSource> source, std::string sysfs_root)
    : source_(std::move(source)), sysfs_root_(std::move(sysfs_root)) {}

bool CHidrawBackend::Enumerate(std::vector<HidEntryInfo>& entries) {
    entries.clear();
    std::vector<HidrawNode> nodes;
    std::lock_guard lock(mutex_);
    if (source_ == nullptr || !source_->List(nodes)) {
        last_.clear();
        return false;
    }
    std::map<std::string, std::vector<HidEntryInfo>> seen;
    for (const HidrawNode& node : nodes) {
        auto cached = by_identity_.find(node.identity);
        std::vector<HidEntryInfo> node_entries;
        if (cached != by_identity_.end() && !cached->second.empty() &&
            cached->second.front().path.starts_with(node.devnode + "#")) {
            node_entries = cached->second;
        } else if (!EntriesOfNode(node, node_entries)) {
            continue;  // a node whose descriptor cannot be parsed offers nothing
        }
        entries.insert(entries.end(), node_entries.begin(), node_entries.end());
        seen.emplace(node.identity, std::move(node_entries));
    }
    by_identity_ = std::move(seen);
    last_ = entries;
    return true;
}

bool CHidrawBackend::FindEntry(const std::string& path, HidEntryInfo& entry) {
    {
        std::lock_guard lock(mutex_);
        for (const HidEntryInfo& candidate : last_) {
            if (candidate.path == path) {
                entry = candidate;
                return true;
            }
        }
    }
    std::vector<HidEntryInfo> entries;
    if (!Enumerate(entries)) {
        return false;
    }
    for (const HidEntryInfo& candidate : entries) {
        if (candidate.path == path) {
            entry = candidate;
            return true;
        }
    }
    return false;
}

std::shared_ptr<CHidConnection> CHidrawBackend::Open(const std::string& path, OpenMode mode) {
    HidEntryInfo entry;
    EntryPathParts parts;
    if (!SplitEntryPath(path, parts) || !Exists(path) || !FindEntry(path, entry)) {
        return nullptr;
    }
    int flags = O_NONBLOCK | O_CLOEXEC;
    if (mode.read && mode.write) {
        flags |= O_RDWR;
    } else if (mode.read || mode.write) {
        flags |= mode.write ? O_WRONLY : O_RDONLY;
    } else {
        flags = O_PATH | O_CLOEXEC;  // a probe without access rights
    }
    const int fd = ::open(parts.node.c_str(), flags);
    if (fd < 0) {
        // Without a udev rule the node belongs to root alone: say so every time, or the device
        // silently never appears.
        const bool denied = errno == EACCES || errno == EPERM;
        platform::DebugFormat("hidraw: cannot open %s: %s%s\n", parts.node.c_str(), std::strerror(errno),
                              denied ? " (install the udev rule from packaging/udev/ and replug)" : "");
        return nullptr;
    }
    // The node may have been handed to another device between the probe and the open.
    if (!Exists(path)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_shared<CHidrawConnection>(fd, std::move(entry));
}

bool CHidrawBackend::Exists(const std::string& path) {
    EntryPathParts parts;
    if (!SplitEntryPath(path, parts)) {
        return false;
    }
    struct stat node_stat {};
    if (::stat(parts.node.c_str(), &node_stat) != 0) {
        return false;
    }
    const std::string name = std::filesystem::path(parts.node).filename().string();
    std::error_code error;
    const std::filesystem::path device = std::filesystem::read_symlink(
        std::filesystem::path(sysfs_root_) / "class/hidraw" / name / "device", error);
    return !error && device.filename().string() == parts.identity;
}

std::string CHidrawBackend::AccessDeniedNode(const std::string& path) {
    EntryPathParts parts;
    if (!SplitEntryPath(path, parts) || ::access(parts.node.c_str(), R_OK | W_OK) == 0) {
        return {};
    }
    return errno == EACCES || errno == EPERM ? parts.node : std::string();
}

int CHidrawBackend::ChangeFd() const {
    return source_ == nullptr ? -1 : source_->ChangeFd();
}

uint64_t CHidrawBackend::ChangeCount() {
    std::lock_guard lock(mutex_);
    const int drained = source_ == nullptr ? -1 : source_->DrainChanges();
    change_count_ += drained < 0 ? 1 : static_cast<uint64_t>(drained);
    return change_count_;
}

}  // namespace platform::hid
