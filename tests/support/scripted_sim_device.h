#pragma once

#include "sim/sim_device.h"

#include <json/value.h>

#include <mutex>
#include <vector>

// A simulated HID interface for tests: a report descriptor given by the test, every output report
// recorded, an optional echo of each output report as an input report, and a JSON state holding
// the number of reports received. It can be told to refuse writes or to pull its own plug.
class CScriptedSimDevice : public CSimDevice {
public:
    CScriptedSimDevice(Identity identity, std::vector<uint8_t> descriptor)
        : identity_(std::move(identity)), descriptor_(std::move(descriptor)) {}

    Identity GetIdentity() const override { return identity_; }
    std::vector<uint8_t> ReportDescriptor() const override { return descriptor_; }

    bool OnOutputReport(std::span<const uint8_t> report) override {
        {
            std::lock_guard lock(mutex_);
            received_.emplace_back(report.begin(), report.end());
        }
        NotifyStateChanged();
        if (unplug_on_write_) {
            RequestUnplug();
            return true;
        }
        if (echo_) {
            SendInputReport(std::vector<uint8_t>(report.begin(), report.end()));
        }
        return !refuse_writes_;
    }

    Json::Value SaveState() const override {
        std::lock_guard lock(mutex_);
        Json::Value state(Json::objectValue);
        state["received"] = static_cast<Json::UInt>(received_.size() + loaded_count_);
        return state;
    }
    bool LoadState(const Json::Value& state) override {
        if (!state["received"].isUInt()) {
            return false;
        }
        std::lock_guard lock(mutex_);
        loaded_count_ = state["received"].asUInt();
        return true;
    }

    void Send(std::vector<uint8_t> report) { SendInputReport(std::move(report)); }
    std::vector<std::vector<uint8_t>> Received() const {
        std::lock_guard lock(mutex_);
        return received_;
    }

    bool echo_ = false;
    bool refuse_writes_ = false;
    bool unplug_on_write_ = false;

private:
    Identity identity_;
    std::vector<uint8_t> descriptor_;
    mutable std::mutex mutex_;
    std::vector<std::vector<uint8_t>> received_;
    unsigned loaded_count_ = 0;
};
