#pragma once

#include "device/command_channel.h"
#include "profile/profile_records.h"

#include <array>
#include <cstdint>

// The headset's firmware conversation: its 21-byte lighting record and its power status.
//
// Lighting record (the host form; the firmware stores byte 3 as 4 - speed):
//   byte 0 active slot, 1 light mode, 2 brightness, 3 speed, 4 unknown_4, 5 multicolour,
//   6-8 red, green, blue, 9-20 kept as last read.
// Memory: slot s at 25 * s (read back), written at slot * 64 (every caller writes slot 0).
//
// Results are the channel's (channel_result); a closed channel gives kNoReply and changes
// nothing. Not thread-safe: the owner's thread (the UI thread, or norvikctl's).
class CHeadsetProtocol {
public:
    static constexpr size_t kRecordSize = 21;
    static constexpr size_t kSlotStride = 25;
    static constexpr uint16_t kWriteStride = 64;
    static constexpr size_t kPowerSize = 6;
    static constexpr uint8_t kMaxSpeed = 4;
    using Record = std::array<uint8_t, kRecordSize>;
    using PowerStatus = std::array<uint8_t, kPowerSize>;

    explicit CHeadsetProtocol(CommandChannel& channel) : channel_(channel) {}

    // Reads the active slot byte, then that slot's record.
    int ReadLightRecord();
    // Begin, the record at slot * 64, End.
    int WriteLightRecord(int slot);
    // Six bytes at address 0 of command 0x1A; byte 3 says whether the channel is wireless.
    int ReadPowerStatus(PowerStatus& status);

    const Record& RecordBytes() const { return record_; }
    LightInfo Light() const;
    // Takes mode, brightness, speed, multicolour and colour; the other bytes stay.
    void SetLight(const LightInfo& light);

private:
    CommandChannel& channel_;
    Record record_{};
};
