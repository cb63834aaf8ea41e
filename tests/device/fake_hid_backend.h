#pragma once

#include "platform/hid/hid_backend.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// A bus of entries that exist only as figures: it can be opened (no transfers), counts its
// enumerations and can refuse opens, so discovery's decisions show without any emulator.
class CFakeHidBackend : public platform::hid::CHidBackend {
public:
    // An entry with a Windows-style path built from the figures.
    static platform::hid::HidEntryInfo Entry(uint16_t vendorId, uint16_t productId, int interfaceNumber,
                                             uint16_t collection, uint16_t usagePage, uint16_t usage,
                                             const std::string& tag = "a") {
        platform::hid::HidEntryInfo entry;
        char path[128];
        std::snprintf(path, sizeof(path), "fake#vid_%04x&pid_%04x&mi_%02x&col%02x#%s", vendorId, productId,
                      interfaceNumber, collection, tag.c_str());
        entry.path = path;
        entry.attributes = {vendorId, productId, 1};
        entry.interface_number = interfaceNumber;
        entry.collection_count = 4;
        entry.collection.index = collection;
        entry.collection.usage_page = usagePage;
        entry.collection.usage = usage;
        entry.collection.caps.usage_page = usagePage;
        entry.collection.caps.usage = usage;
        entry.collection.caps.input_report_length = 64;
        entry.collection.caps.output_report_length = 64;
        return entry;
    }

    void Add(const platform::hid::HidEntryInfo& entry) {
        std::lock_guard lock(mutex_);
        entries_.push_back(entry);
        ++changes_;
    }
    void RemoveAll() {
        std::lock_guard lock(mutex_);
        entries_.clear();
        ++changes_;
    }
    void SetRefuseOpen(bool refuse) { refuseOpen_ = refuse; }
    int Enumerations() const { return enumerations_; }
    int Opens() const { return opens_; }

    bool Enumerate(std::vector<platform::hid::HidEntryInfo>& entries) override {
        std::lock_guard lock(mutex_);
        ++enumerations_;
        entries = entries_;
        return true;
    }
    std::shared_ptr<platform::hid::CHidConnection> Open(const std::string& path,
                                                        platform::hid::OpenMode) override {
        std::lock_guard lock(mutex_);
        ++opens_;
        if (refuseOpen_) {
            return nullptr;
        }
        for (const auto& entry : entries_) {
            if (entry.path == path) {
                return std::make_shared<Connection>(entry);
            }
        }
        return nullptr;
    }
    bool Exists(const std::string& path) override {
        std::lock_guard lock(mutex_);
        for (const auto& entry : entries_) {
            if (entry.path == path) {
                return true;
            }
        }
        return false;
    }
    int ChangeFd() const override { return -1; }
    uint64_t ChangeCount() override {
        std::lock_guard lock(mutex_);
        return changes_;
    }
    const char* Name() const override { return "fake"; }

private:
    class Connection : public platform::hid::CHidConnection {
    public:
        explicit Connection(platform::hid::HidEntryInfo info) : info_(std::move(info)) {}
        const platform::hid::HidEntryInfo& Info() const override { return info_; }
        platform::hid::IoResult Read(uint8_t*, size_t, int, platform::CEvent&, size_t& transferred) override {
            transferred = 0;
            return platform::hid::IoResult::kClosed;
        }
        platform::hid::IoResult Write(const uint8_t*, size_t, int, platform::CEvent&,
                                      size_t& transferred) override {
            transferred = 0;
            return platform::hid::IoResult::kClosed;
        }
        void Shutdown() override {}

    private:
        platform::hid::HidEntryInfo info_;
    };

    std::mutex mutex_;
    std::vector<platform::hid::HidEntryInfo> entries_;
    uint64_t changes_ = 0;
    std::atomic<bool> refuseOpen_{false};
    std::atomic<int> enumerations_{0};
    std::atomic<int> opens_{0};
};
