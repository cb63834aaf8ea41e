#pragma once

#include "sim/mouse_model.h"

#include <json/value.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The command side of a mouse's firmware as pure request -> reply logic: the reference the
// device code is tested against. It answers every command the mouse understands:
//
//   0x01, 0x02        begin / end a transfer (always accepted)
//   0x03              info block, bytes [address, address + length) of MouseInfoBlock
//   0x05, 0x06        parameter memory: profileCount records of 128 bytes at index * 128;
//                     address 0 doubles as the active-profile byte
//   0x07, 0x09        key table, key count * 3 bytes (bytes 5-6 are the offset; byte 6 also
//                     carries page * 2, so any page but 0 lands out of range)
//   0x12              light frame (counted; the mouse shows nothing)
//   0x15              macro memory, macroUnits * 128 bytes
//   0x17              shoot memory, shootMemorySize bytes
//   0x1A              power record, 6 bytes
//   0xAA              online check: byte 8 is 0xFF while the mouse is on, 0x00 otherwise
//
// Replies repeat bytes 0..6 of the request (report id, command, length, address), carry the
// status in byte 7 and read data from byte 8, and are checksummed like requests. A request
// with a wrong checksum, a non-zero status byte or an unknown command gets status 0xFF; an access outside the
// memory it names, or a length over 56, gets 0xFE and changes nothing. A report with another report id is not
// a command and gets no reply; neither does anything but 0xAA while a wireless mouse is off.
//
// It refuses with 0xFE, as the firmware does, what a host must not send: a write (0x06, 0x09,
// 0x15, 0x17) outside a 0x01 .. 0x02 bracket; parameter bytes out of range (active profile, light
// mode 0..11, light speed 0..4, active stage 0..6) or reserved bytes that are not 0; and, at the
// 0x02, a macro or shoot image written in the bracket that lacks the 0x55AA signature or whose
// size, entry offsets or entry heads do not match its layout (the memory then keeps what it held).
// Refusals() counts every request answered with 0xFE or 0xFF.
//
// Not thread-safe: the simulated device that owns it serialises every call.
class CMouseFirmware {
public:
    using Report = std::array<uint8_t, 64>;

    explicit CMouseFirmware(MouseModel model);

    std::optional<Report> HandleRequest(std::span<const uint8_t> request);

    // Settings changed with the mouse's own buttons. Each returns true when something changed;
    // the owner then announces it with consumer usage 0x0401.
    bool CycleDpiStage();
    bool SelectProfile(uint8_t index);

    // Only a wireless mouse can be switched off; a wired one stays online.
    void SetOnline(bool online);
    bool IsOnline() const { return online_; }

    const MouseModel& Model() const { return model_; }
    const std::vector<uint8_t>& Memory() const { return memory_; }
    const std::vector<uint8_t>& KeyTable() const { return keyTable_; }
    const std::vector<uint8_t>& MacroMemory() const { return macroMemory_; }
    const std::vector<uint8_t>& ShootMemory() const { return shootMemory_; }
    size_t LightFrameCount() const { return lightFrames_; }
    // How many requests the firmware refused (status 0xFE or 0xFF), so that a test sees a wrong
    // byte from the host even where the host ignores the status.
    size_t Refusals() const { return refusals_; }

    // {"memory", "key_table", "macro_memory", "shoot_memory"} as hex text, address 0 first.
    Json::Value SaveState() const;
    // Takes every member of the SaveState form that is valid hex of the right length; anything
    // else keeps the factory content of that memory.
    void LoadState(const Json::Value& state);

private:
    void FactoryReset();
    uint8_t Execute(const uint8_t* request, Report& reply);
    uint8_t ReadFrom(std::span<const uint8_t> source, const uint8_t* request, Report& reply) const;
    uint8_t WriteTo(std::vector<uint8_t>& target, const uint8_t* request);
    uint8_t AnswerOnline(Report& reply) const;
    void BeginTransfer();
    uint8_t EndTransfer();
    uint8_t WriteImage(std::vector<uint8_t>& memory, std::optional<std::vector<uint8_t>>& before,
                       const uint8_t* request);
    bool ParameterBytesValid(const uint8_t* request) const;
    bool ParameterByteValid(size_t offset, uint8_t value) const;
    static bool ImageValid(std::span<const uint8_t> memory);

    MouseModel model_;
    MouseInfoBlock info_{};
    std::vector<uint8_t> memory_;
    std::vector<uint8_t> keyTable_;
    std::vector<uint8_t> macroMemory_;
    std::vector<uint8_t> shootMemory_;
    std::array<uint8_t, 6> powerRecord_{};
    bool online_ = true;
    bool inTransfer_ = false;
    // What an image memory held when this transfer first wrote it; restored if the image is bad.
    std::optional<std::vector<uint8_t>> macroBefore_;
    std::optional<std::vector<uint8_t>> shootBefore_;
    size_t lightFrames_ = 0;
    size_t refusals_ = 0;
};

// Parameter record layout the firmware itself acts on (the rest it only stores).
namespace mouse_record {
inline constexpr size_t kSize = 128;
inline constexpr size_t kLightMode = 1;
inline constexpr size_t kLightSpeed = 3;
inline constexpr size_t kPollingRate = 14;
inline constexpr size_t kActiveStage = 19;
inline constexpr size_t kStageCount = 7;
inline constexpr size_t kUsedBytes = 49;  // the host writes zeros after these
}  // namespace mouse_record
