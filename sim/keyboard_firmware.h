#pragma once

#include <json/value.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The command side of the keyboard's firmware as pure request -> reply logic: the reference the
// keyboard's device code is tested against. It answers:
//
//   0x01, 0x02   begin / end a transfer
//   0x03         the 32-byte info block (byte 5 the key count, byte 6 macro memory / 128)
//   0x05, 0x06   settings memory: kSlotCount records of 25 bytes at slot * 25; address 0 doubles
//                as the active-slot byte
//   0x07, 0x09   key-code table, key count * 3 bytes in firmware key order (the offset is
//                page * 512 + position, so any page but 0 lands outside the table)
//   0x1B         light-order table, key count bytes
//   0x12         light frame (counted; nothing is shown)
//   0x15         macro memory, macro units * 128 bytes
//   0x1A         power record, 6 bytes
//
// Its key order differs from the host's positions: the factory table holds every default code
// of the host's key positions in reverse order, one code that no host position has by default
// (at kForeignKey) and the "no key" code a second time at the end.
//
// Replies repeat bytes 0..6 of the request, carry the status in byte 7 and read data from byte
// 8. A wrong checksum, a non-zero status byte or an unknown command gets 0xFF; an access outside
// the memory it names, a length over 56, a write outside a 0x01 .. 0x02 bracket, a record byte
// out of range (active slot, light mode 0..24, inverted speed 0..4, flags 0..1, polling 0..3) or
// a reserved record byte that is not 0 gets 0xFE and changes nothing; so does, at the 0x02, a
// macro image written in the bracket that does not match its layout (the memory then keeps what
// it held). Refusals() counts every refused request.
//
// Not thread-safe: the simulated keyboard that owns it serialises every call.
class CKeyboardFirmware {
public:
    using Report = std::array<uint8_t, 64>;
    static constexpr size_t kSlotCount = 4;
    static constexpr size_t kRecordSize = 25;
    static constexpr uint8_t kMacroUnits = 16;
    static constexpr size_t kForeignKey = 5;
    static constexpr uint8_t kLightModes = 25;

    // A keyboard with another key table (key count x 3 bytes, at most 255 keys) or macro memory
    // stands in for the products whose firmware has them.
    explicit CKeyboardFirmware(std::vector<uint8_t> keyTable = FactoryKeyTable(),
                               uint8_t macroUnits = kMacroUnits);

    std::optional<Report> HandleRequest(std::span<const uint8_t> request);

    // The user changes the light effect with the keyboard's own keys: the active slot's mode
    // steps on by one. The owner announces it with consumer usage 0x0401.
    void StepLightMode();

    uint8_t KeyCount() const { return static_cast<uint8_t>(keyTable_.size() / 3); }
    const std::vector<uint8_t>& Memory() const { return memory_; }
    const std::vector<uint8_t>& KeyTable() const { return keyTable_; }
    const std::vector<uint8_t>& LightOrder() const { return lightOrder_; }
    const std::vector<uint8_t>& MacroMemory() const { return macroMemory_; }
    size_t LightFrameCount() const { return lightFrames_; }
    size_t Refusals() const { return refusals_; }

    // {"memory", "key_table", "macro_memory"} as hex text, address 0 first.
    Json::Value SaveState() const;
    // Takes every member of the SaveState form that is valid hex of the right length.
    void LoadState(const Json::Value& state);

    // The factory key-code table, in firmware key order.
    static std::vector<uint8_t> FactoryKeyTable();

private:
    uint8_t Execute(const uint8_t* request, Report& reply);
    uint8_t ReadFrom(std::span<const uint8_t> source, const uint8_t* request, Report& reply) const;
    uint8_t WriteTo(std::vector<uint8_t>& target, const uint8_t* request);
    uint8_t WriteMacro(const uint8_t* request);
    uint8_t EndTransfer();
    bool RecordBytesValid(const uint8_t* request) const;
    static bool RecordByteValid(size_t offset, uint8_t value);
    size_t ActiveSlot() const;

    std::array<uint8_t, 32> info_{};
    std::vector<uint8_t> memory_;
    std::vector<uint8_t> keyTable_;
    std::vector<uint8_t> lightOrder_;
    std::vector<uint8_t> macroMemory_;
    std::array<uint8_t, 6> powerRecord_{100, 0, 0, 0, 0, 0};
    bool inTransfer_ = false;
    std::optional<std::vector<uint8_t>> macroBefore_;
    size_t lightFrames_ = 0;
    size_t refusals_ = 0;
};
