#pragma once

#include <json/value.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The command side of the lit mouse pad's firmware as pure request -> reply logic: the reference
// the pad's device code is tested against. It answers:
//
//   0x01, 0x02   begin / end a transfer
//   0x03         the 32-byte info block
//   0x05, 0x06   settings memory: kSlotCount records of 25 bytes at slot * 25; address 0 doubles
//                as the active-slot byte
//   0x12         light frame (counted; nothing is shown)
//
// A record's bytes: 0 its slot (address 0: the active slot), 1 light mode 0..8, 2 brightness
// 0..4, 3 inverted speed 0..4, 4 a light byte of the firmware's own, 5 multicolour 0..1, 6..8
// red, green, blue, 9..20 firmware settings the host only keeps, 21..24 the firmware's alone
// (a host write never reaches them).
//
// Replies repeat bytes 0..6 of the request, carry the status in byte 7 and read data from byte
// 8. A wrong checksum, a non-zero status byte or an unknown command gets 0xFF; an access outside
// the memory, a length over 56, a write outside a 0x01 .. 0x02 bracket, a record byte out of
// range or a write that reaches bytes 21..24 of a record gets 0xFE and changes nothing.
// Refusals() counts every refused request.
//
// Not thread-safe: the simulated pad that owns it serialises every call.
class CMousePadFirmware {
public:
    using Report = std::array<uint8_t, 64>;
    static constexpr size_t kSlotCount = 4;
    static constexpr size_t kRecordSize = 25;
    static constexpr size_t kHostBytes = 21;  // bytes 0..20: what the host reads back and writes
    static constexpr uint8_t kLightModes = 9;

    CMousePadFirmware();

    std::optional<Report> HandleRequest(std::span<const uint8_t> request);

    // The pad's own light button: the active slot's mode steps on by one. The owner announces
    // it with consumer usage 0x0401.
    void StepLightMode();

    const std::vector<uint8_t>& Memory() const { return memory_; }
    size_t LightFrameCount() const { return lightFrames_; }
    size_t Refusals() const { return refusals_; }

    // {"memory"} as hex text, address 0 first.
    Json::Value SaveState() const;
    // Takes "memory" when it is valid hex of the right length.
    void LoadState(const Json::Value& state);

private:
    uint8_t Execute(const uint8_t* request, Report& reply);
    uint8_t Read(std::span<const uint8_t> source, const uint8_t* request, Report& reply) const;
    uint8_t WriteRecordBytes(const uint8_t* request);
    static bool RecordByteValid(size_t offset, uint8_t value);
    size_t ActiveSlot() const;

    std::array<uint8_t, 32> info_{};
    std::vector<uint8_t> memory_;
    bool inTransfer_ = false;
    size_t lightFrames_ = 0;
    size_t refusals_ = 0;
};
