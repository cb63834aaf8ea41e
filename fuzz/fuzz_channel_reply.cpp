// Arbitrary replies to every command of the channel: no crash, no hang, no read outside a buffer.

#include "device/command_channel.h"
#include "device/command_report.h"
#include "sim/mouse_descriptor.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_bus.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// Answers each request with the next two slices of the fuzzer's input, so that the channel's
// second read never waits for its time-out. A slice is a length byte and up to 64 bytes; its
// first byte is forced to the vendor report id so the reply reaches the channel.
class CReplayDevice : public CSimDevice {
public:
    CReplayDevice(const uint8_t* data, size_t size) : data_(data, data + size) {}

    Identity GetIdentity() const override { return {0x320F, 0x2002, 0x0100, 1, {}}; }
    std::vector<uint8_t> ReportDescriptor() const override { return MouseInterface1Descriptor(); }
    Json::Value SaveState() const override { return Json::objectValue; }
    bool LoadState(const Json::Value&) override { return true; }

    bool OnOutputReport(std::span<const uint8_t> report) override {
        if (report.empty() || report[0] != kCommandReportId) {
            return true;
        }
        for (int i = 0; i < 2; ++i) {
            SendInputReport(NextSlice());
        }
        return true;
    }

private:
    std::vector<uint8_t> NextSlice() {
        std::lock_guard lock(mutex_);
        const size_t length = position_ < data_.size() ? data_[position_++] % (kCommandReportSize + 1) : 0;
        std::vector<uint8_t> reply(kCommandReportSize, 0);
        for (size_t i = 0; i < length && position_ < data_.size(); ++i) {
            reply[i] = data_[position_++];
        }
        reply[0] = kCommandReportId;
        return reply;
    }

    std::mutex mutex_;
    std::vector<uint8_t> data_;
    size_t position_ = 0;
};

std::string VendorPath(CSimHidBus& bus) {
    std::vector<platform::hid::HidEntryInfo> entries;
    bus.Enumerate(entries);
    for (const auto& entry : entries) {
        if (entry.collection.usage_page == 0xFF1C) {
            return entry.path;
        }
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto bus = std::make_shared<CSimHidBus>();
    auto device = std::make_shared<CReplayDevice>(data, size);
    const uint64_t handle = bus->Plug("fuzz", device);
    CommandChannel channel(bus);
    if (handle == 0 || !channel.Open(VendorPath(*bus))) {
        return 0;
    }
    const uint16_t blockSize = size >= 2 ? static_cast<uint16_t>(data[0] | data[1] << 8) : 512;
    channel.SetBlockSize(blockSize);

    std::array<uint8_t, CommandChannel::kInfoSize> info{};
    std::vector<uint8_t> buffer(200);
    std::vector<uint8_t> table(CommandChannel::kMaxBlockSize);
    channel.BeginTransfer();
    channel.ReadInfo(info);
    channel.ReadMemory(0x0080, buffer);
    channel.WriteMemory(0x0080, buffer);
    channel.ReadKeyTable(table);
    channel.WriteKeyTable(0, std::span(buffer).first(30));
    channel.WriteLightFrame(buffer);
    channel.WriteMacroBlock(buffer);
    channel.WriteShootBlock(buffer);
    channel.ReadRecord(size > 2 ? data[2] : 6, 0, std::span(buffer).first(6));
    channel.ReadLightOrder(table);
    channel.IsOnline();
    bus->Unplug(handle);
    return 0;
}
