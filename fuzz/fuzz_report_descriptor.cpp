// Arbitrary bytes as a report descriptor: the parser, then every collection opened on the
// simulated bus and a report made of the same bytes decoded into its input items.

#include "device/hid_device.h"
#include "platform/hid/report_descriptor_parser.h"
#include "sim/sim_hid_bus.h"

#include <cstddef>
#include <cstdint>

namespace {

class CFuzzDevice : public CSimDevice {
public:
    explicit CFuzzDevice(std::vector<uint8_t> descriptor) : descriptor_(std::move(descriptor)) {}
    Identity GetIdentity() const override { return Identity{1, 2, 3, 0, ""}; }
    std::vector<uint8_t> ReportDescriptor() const override { return descriptor_; }
    bool OnOutputReport(std::span<const uint8_t>) override { return true; }
    Json::Value SaveState() const override { return Json::Value(Json::objectValue); }
    bool LoadState(const Json::Value&) override { return true; }

private:
    std::vector<uint8_t> descriptor_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    std::vector<platform::hid::HidCollectionInfo> collections;
    if (!platform::hid::CReportDescriptorParser::Parse(bytes, collections)) {
        return 0;
    }
    auto bus = std::make_shared<CSimHidBus>();
    if (bus->Plug("fuzz", std::make_shared<CFuzzDevice>(bytes)) == 0) {
        return 0;
    }
    HidDevice device(bus);
    device.EnumerateInterfaces();
    while (auto path = device.NextPath()) {
        if (!device.Open(*path, true, true, true, false)) {
            continue;
        }
        for (const auto& collection : collections) {
            for (uint8_t id :
                 collection.report_ids.empty() ? std::vector<uint8_t>{0} : collection.report_ids) {
                std::vector<uint8_t> report(bytes.begin(),
                                            bytes.begin() + std::min<size_t>(bytes.size(), 64));
                report.insert(report.begin(), id);
                device.UnpackInputReport(report.data(), report.size(), platform::hid::ReportType::kInput,
                                         device.InputItems());
            }
        }
    }
    return 0;
}
