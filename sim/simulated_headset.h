#pragma once

#include "sim/sim_device.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

// The emulated HS6533 headset (NORVIK_SIMULATE=hs6533) on its HID side: interface 3 with one
// consumer-control collection that carries both the command reports (report id 4) and the
// change notifications (report id 3, consumer usage 0x0401). It binds to the headset's row of
// the supported-interface table (vendor and product id 0).
//
// Firmware:
//   0x01, 0x02   begin / end a transfer (always accepted)
//   0x05, 0x06   lighting memory: kSlotCount records of kSlotSize bytes at 25 * slot; address 0
//                doubles as the active-slot byte
//   0x1A         power record, 6 bytes: byte 0 battery level in percent, byte 1 0 on battery /
//                1 charging / 2 full, byte 3 charging wirelessly, byte 5 attached phone
// Replies repeat bytes 0..6 of the request, carry the status in byte 7 and data from byte 8.
// A wrong checksum or an unknown command gets 0xFF; an access outside the memory it names or a
// length over 56 gets 0xFE and changes nothing. The audio side is the audio library's.
//
// Thread safety: every public operation from any thread.
class CSimulatedHeadset : public CSimDevice {
public:
    using Report = std::array<uint8_t, 64>;
    static constexpr size_t kSlotSize = 25;
    static constexpr size_t kSlotCount = 4;
    static constexpr size_t kMemorySize = 128;
    static constexpr size_t kPowerSize = 6;

    CSimulatedHeadset();

    Identity GetIdentity() const override;
    std::vector<uint8_t> ReportDescriptor() const override;
    bool OnOutputReport(std::span<const uint8_t> report) override;
    Json::Value SaveState() const override;
    bool LoadState(const Json::Value& state) override;

    // The battery level the power record reports (0-100); false outside that range.
    bool SetBatteryLevel(int percent);
    // The headset's own light button: the next light mode of the active slot, announced with
    // consumer usage 0x0401.
    void PressLightButton();

    std::vector<uint8_t> Memory() const;
    std::array<uint8_t, kPowerSize> PowerRecord() const;
    size_t RequestCount() const;

private:
    std::optional<Report> Handle(const Report& request);
    uint8_t Execute(const Report& request, Report& reply);
    void Announce(uint16_t usage);

    mutable std::mutex mutex_;
    std::vector<uint8_t> memory_;
    std::array<uint8_t, kPowerSize> power_{};
    size_t requests_ = 0;
};
