#include "sim/sim_hid_bus.h"

#include "platform/debug.h"
#include "platform/hid/entry_path.h"
#include "platform/hid/report_descriptor_parser.h"
#include "platform/hid/report_filter.h"
#include "profile/json_access.h"
#include "profile/json_document.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>

using platform::CEvent;
using platform::hid::HidEntryInfo;
using platform::hid::IoResult;

struct CSimHidBus::Plugged {
    std::string name;
    uint64_t handle = 0;
    std::shared_ptr<CSimDevice> device;
    std::vector<HidEntryInfo> entries;
    std::atomic<bool> present{true};
    std::atomic<bool> denied{false};
    std::mutex connections_mutex;
    std::vector<std::weak_ptr<Connection>> connections;

    void Deliver(const std::vector<uint8_t>& report);
    void ShutdownConnections();
};

class CSimHidBus::Connection : public platform::hid::CHidConnection,
                               public std::enable_shared_from_this<CSimHidBus::Connection> {
public:
    Connection(std::weak_ptr<CSimHidBus> bus, std::shared_ptr<Plugged> plugged, HidEntryInfo info,
               platform::hid::OpenMode mode)
        : bus_(std::move(bus)), plugged_(std::move(plugged)), info_(std::move(info)), mode_(mode) {}

    const HidEntryInfo& Info() const override { return info_; }

    IoResult Read(uint8_t* buffer, size_t length, int timeout_ms, CEvent& abort,
                  size_t& transferred) override {
        transferred = 0;
        if (!mode_.read) {
            return IoResult::kError;
        }
        const int64_t start = platform::SteadyMs();
        for (;;) {
            if (closed_.TryConsume()) {
                return IoResult::kClosed;
            }
            if (PopInto(buffer, length, transferred)) {
                return IoResult::kOk;
            }
            switch (
                CEvent::WaitAny({&abort, &closed_, &readable_}, platform::RemainingMs(timeout_ms, start))) {
                case 0:
                    return IoResult::kAborted;
                case 1:
                    return IoResult::kClosed;
                case 2:
                    continue;
                default:
                    return IoResult::kTimeout;
            }
        }
    }

    IoResult Write(const uint8_t* buffer, size_t length, int, CEvent& abort, size_t& transferred) override {
        transferred = 0;
        if (!mode_.write || length == 0) {
            return IoResult::kError;
        }
        if (abort.TryConsume()) {
            return IoResult::kAborted;
        }
        if (closed_.TryConsume() || !plugged_->present) {
            return IoResult::kClosed;
        }
        const bool accepted = plugged_->device->OnOutputReport(std::span<const uint8_t>(buffer, length));
        if (auto bus = bus_.lock()) {
            bus->SaveIfDirty();
        }
        if (!accepted) {
            return IoResult::kError;
        }
        transferred = length;
        return IoResult::kOk;
    }

    void Shutdown() override { closed_.Set(); }

    // Like the kernel's queue of an open hidraw node: every report of the interface, whatever its
    // collection, at most kMaxQueued, and a report that finds the queue full is dropped.
    void Push(const std::vector<uint8_t>& report) {
        if (report.empty()) {
            return;
        }
        std::lock_guard lock(queue_mutex_);
        if (queue_.size() >= kMaxQueued) {
            return;
        }
        queue_.push_back(report);
        readable_.Set();
    }

private:
    static constexpr size_t kMaxQueued = CSimHidBus::kQueuedReports;

    // The next queued report of this collection; the other collections' reports before it go.
    bool PopInto(uint8_t* buffer, size_t length, size_t& transferred) {
        std::lock_guard lock(queue_mutex_);
        while (!queue_.empty()) {
            const std::vector<uint8_t> report = std::move(queue_.front());
            queue_.pop_front();
            if (!platform::hid::CollectionAcceptsReport(info_.collection, report[0])) {
                continue;
            }
            if (queue_.empty()) {
                readable_.Reset();
            }
            // The device sends reports in the Windows form; without report ids the leading 0 goes.
            std::span<const uint8_t> bytes(report);
            if (!info_.collection.uses_report_ids) {
                bytes = bytes.subspan(1);
            }
            transferred = platform::hid::CopyInputReport(info_.collection, bytes, buffer, length);
            return true;
        }
        readable_.Reset();
        return false;
    }

    std::weak_ptr<CSimHidBus> bus_;
    std::shared_ptr<Plugged> plugged_;
    HidEntryInfo info_;
    platform::hid::OpenMode mode_;
    std::mutex queue_mutex_;
    std::deque<std::vector<uint8_t>> queue_;
    CEvent readable_{CEvent::Mode::kManualReset};
    CEvent closed_{CEvent::Mode::kManualReset};
};

void CSimHidBus::Plugged::Deliver(const std::vector<uint8_t>& report) {
    if (!present) {
        return;
    }
    std::lock_guard lock(connections_mutex);
    std::erase_if(connections, [](const std::weak_ptr<Connection>& weak) { return weak.expired(); });
    for (const auto& weak : connections) {
        if (auto connection = weak.lock()) {
            connection->Push(report);
        }
    }
}

void CSimHidBus::Plugged::ShutdownConnections() {
    present = false;
    std::lock_guard lock(connections_mutex);
    for (const auto& weak : connections) {
        if (auto connection = weak.lock()) {
            connection->Shutdown();
        }
    }
    connections.clear();
}

CSimHidBus::CSimHidBus() = default;

CSimHidBus::~CSimHidBus() {
    SaveState();
    for (const auto& plugged : plugged_) {
        plugged->device->Detach();
        plugged->ShutdownConnections();
    }
}

void CSimHidBus::SetStateFile(const std::string& path) {
    Json::Value states;
    if (!path.empty()) {
        states = CJsonDocument().ReadJsonValue(path);
        if (!states.isObject()) {
            states = Json::Value(Json::objectValue);
        }
    }
    std::lock_guard lock(mutex_);
    state_file_ = path;
    states_ = std::move(states);
}

uint64_t CSimHidBus::Plug(const std::string& name, std::shared_ptr<CSimDevice> device) {
    const std::vector<uint8_t> descriptor = device->ReportDescriptor();
    std::vector<platform::hid::HidCollectionInfo> collections;
    std::string error;
    if (!platform::hid::CReportDescriptorParser::Parse(descriptor, collections, &error) ||
        collections.empty()) {
        platform::DebugFormat("simulated device %s: unusable report descriptor: %s\n", name.c_str(),
                              error.c_str());
        return 0;
    }
    {
        std::lock_guard lock(mutex_);
        const Json::Value& state = CJsonAccess::Member(states_, name.c_str());
        if (state.isObject() && !device->LoadState(state)) {
            platform::DebugFormat("simulated device %s: unusable saved state, factory state used\n",
                                  name.c_str());
        }
    }
    auto plugged = std::make_shared<Plugged>();
    plugged->name = name;
    plugged->device = device;
    const CSimDevice::Identity identity = device->GetIdentity();
    const platform::hid::HidAttributes attributes{identity.vendor_id, identity.product_id, identity.version};
    {
        std::lock_guard lock(mutex_);
        plugged->handle = next_handle_++;
        const std::string node_identity = name + "." + std::to_string(plugged->handle);
        for (const auto& collection : collections) {
            HidEntryInfo entry;
            entry.attributes = attributes;
            entry.interface_number = identity.interface_number;
            entry.collection_count = static_cast<uint16_t>(collections.size());
            entry.collection = collection;
            entry.emulated_kind = identity.emulated_kind;
            entry.path =
                platform::hid::BuildEntryPath("sim", attributes, identity.interface_number, collection.index,
                                              entry.collection_count, node_identity);
            plugged->entries.push_back(std::move(entry));
        }
        plugged_.push_back(plugged);
    }
    std::weak_ptr<Plugged> weak_plugged = plugged;
    std::weak_ptr<CSimHidBus> weak_bus = weak_from_this();
    const uint64_t handle = plugged->handle;
    device->Attach(CSimDevice::Link{[weak_plugged](std::vector<uint8_t> report) {
                                        if (auto target = weak_plugged.lock()) {
                                            target->Deliver(report);
                                        }
                                    },
                                    [weak_bus] {
                                        if (auto bus = weak_bus.lock()) {
                                            bus->dirty_ = true;
                                        }
                                    },
                                    [weak_bus, handle] {
                                        if (auto bus = weak_bus.lock()) {
                                            bus->Remove(handle, true);
                                        }
                                    }});
    Changed();
    return handle;
}

bool CSimHidBus::Unplug(uint64_t handle) {
    return Remove(handle, false);
}

bool CSimHidBus::Remove(uint64_t handle, bool requested_by_device) {
    std::shared_ptr<Plugged> plugged;
    {
        std::lock_guard lock(mutex_);
        auto found = std::find_if(plugged_.begin(), plugged_.end(),
                                  [handle](const auto& entry) { return entry->handle == handle; });
        if (found == plugged_.end()) {
            return false;
        }
        plugged = *found;
        plugged_.erase(found);
        // The leaving device's state is taken at the next save, outside any call into the device.
        leaving_.push_back(plugged);
        dirty_ = true;
    }
    plugged->device->Detach();
    plugged->ShutdownConnections();
    Changed();
    if (!requested_by_device) {
        SaveIfDirty();
    }
    return true;
}

void CSimHidBus::SaveIfDirty() {
    if (dirty_.exchange(false)) {
        SaveState();
    }
}

bool CSimHidBus::SaveState() {
    std::vector<std::shared_ptr<Plugged>> devices;
    std::string file;
    {
        std::lock_guard lock(mutex_);
        file = state_file_;
        devices = plugged_;
        devices.insert(devices.end(), leaving_.begin(), leaving_.end());
        leaving_.clear();
    }
    if (file.empty()) {
        return false;
    }
    std::lock_guard save_lock(save_mutex_);
    Json::Value states;
    {
        std::lock_guard lock(mutex_);
        for (const auto& plugged : devices) {
            states_[plugged->name] = plugged->device->SaveState();
        }
        states = states_;
    }
    return CJsonDocument().wirtejsonFile(file, states) == 0;
}

std::shared_ptr<CSimDevice> CSimHidBus::DeviceNamed(const std::string& name) const {
    std::lock_guard lock(mutex_);
    for (const auto& plugged : plugged_) {
        if (plugged->name == name) {
            return plugged->device;
        }
    }
    return nullptr;
}

bool CSimHidBus::Enumerate(std::vector<HidEntryInfo>& entries) {
    std::lock_guard lock(mutex_);
    entries.clear();
    for (const auto& plugged : plugged_) {
        entries.insert(entries.end(), plugged->entries.begin(), plugged->entries.end());
    }
    return true;
}

std::shared_ptr<CSimHidBus::Plugged> CSimHidBus::FindByPath(const std::string& path,
                                                            HidEntryInfo* entry) const {
    std::lock_guard lock(mutex_);
    for (const auto& plugged : plugged_) {
        for (const HidEntryInfo& candidate : plugged->entries) {
            if (candidate.path == path) {
                if (entry != nullptr) {
                    *entry = candidate;
                }
                return plugged;
            }
        }
    }
    return nullptr;
}

std::shared_ptr<platform::hid::CHidConnection> CSimHidBus::Open(const std::string& path,
                                                                platform::hid::OpenMode mode) {
    HidEntryInfo entry;
    std::shared_ptr<Plugged> plugged = FindByPath(path, &entry);
    if (plugged == nullptr) {
        return nullptr;
    }
    if (plugged->denied) {
        platform::DebugFormat("simulated bus: cannot open %s: permission denied\n", path.c_str());
        return nullptr;
    }
    // Owned by the caller; the device keeps a weak reference for delivering its reports.
    auto connection = std::make_shared<Connection>(weak_from_this(), plugged, std::move(entry), mode);
    {
        std::lock_guard lock(plugged->connections_mutex);
        if (!plugged->present) {
            return nullptr;
        }
        plugged->connections.push_back(connection);
    }
    return connection;
}

bool CSimHidBus::DenyAccess(uint64_t handle) {
    std::lock_guard lock(mutex_);
    for (const auto& plugged : plugged_) {
        if (plugged->handle == handle) {
            plugged->denied = true;
            return true;
        }
    }
    return false;
}

std::string CSimHidBus::AccessDeniedNode(const std::string& path) {
    const std::shared_ptr<Plugged> plugged = FindByPath(path, nullptr);
    platform::hid::EntryPathParts parts;
    if (plugged == nullptr || !plugged->denied || !platform::hid::SplitEntryPath(path, parts)) {
        return {};
    }
    return parts.node + "#" + parts.identity;
}

bool CSimHidBus::Exists(const std::string& path) {
    return FindByPath(path, nullptr) != nullptr;
}

int CSimHidBus::ChangeFd() const {
    return change_event_.Fd();
}

uint64_t CSimHidBus::ChangeCount() {
    std::lock_guard lock(mutex_);
    change_event_.Reset();
    return change_count_;
}

void CSimHidBus::Changed() {
    std::lock_guard lock(mutex_);
    ++change_count_;
    change_event_.Set();
}
