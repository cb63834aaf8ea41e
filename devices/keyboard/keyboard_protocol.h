#pragma once

#include "device/command_channel.h"
#include "devices/keyboard/keyboard_profiledata.h"
#include "devices/keyboard/keyboard_wire_format.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The keyboard's firmware conversation: the start-up read-back of its tables, the settings
// record of its active slot, the key table and the macro image. It touches no control; the
// keyboard page and norvikctl both call it. Record layouts are in keyboard_wire_format.h.
//
// Contract of every operation:
// - A closed command channel sends nothing and the operation returns 0.
// - A write returns 1 only when every exchange succeeded; otherwise the first failing channel
//   result (see channel_result), so a caller can tell a refusing keyboard from a written one.
//
// Threads: the UI thread (or norvikctl's only thread); the channel's locks serialise the rest.
class CKeyboardProtocol {
public:
    // WriteMacros results besides 0 (written) and a positive count of events to remove.
    static constexpr int kMacroWriteFailed = -1;

    explicit CKeyboardProtocol(CommandChannel& channel);

    // 0x01; 0x03 (info); block size key count x 3; 0x07 (key table); 0x1B (light order); 0x02;
    // then both maps. Returns 1 when both tables were read. A key table over 512 bytes stops the
    // read-back after the info (0 returned); any failure leaves both maps empty, so that no key
    // is uploaded over a table that was never read.
    int ReadDeviceInfo();

    // 0x05 (1 byte at 0: the active slot); 0x05 (25 bytes at 25 x slot), without a transfer
    // bracket. Clears the synchronised-lighting flag first. On success the light record and the
    // three flags go into the profile, which is saved; the read record comes back through out.
    int ReadActiveProfile(CKeyboardProfiledata& profile, std::array<uint8_t, keyboardwire::kRecordSize>& out);

    // 0x01; 0x06 (25 bytes at 25 x slot); 0x02, built from the profile's light record and system
    // settings with the first byte given.
    int WriteParameters(CKeyboardProfiledata& profile, int slot = 0, uint8_t firstByte = 0);

    // 0x03; 0x01; 0x09 (the start-up table with each mapped position's code from the list);
    // 0x02. A page other than 0 sends nothing and returns channel_result::kBadPage.
    int WriteKeyTable(int page, const std::vector<KeyAssignment>& keys);

    // 0x03; 0x01; 0x15 (the macro image of the folder's macro list); 0x02. Returns 0 when written
    // (or when there are no macros, or the channel is closed), the number of events to remove when
    // the image exceeds macro memory (nothing sent), or kMacroWriteFailed.
    int WriteMacros(const std::string& dataFolder);

    // After the profile is loaded: both maps again, from the functions the profile says the keys
    // were given (keyboardwire::MapAssignedKeys).
    void MapAssignedKeys(const std::vector<KeyAssignment>& keys);

    const keyboardwire::InfoBlock& Info() const { return info_; }
    const keyboardwire::KeyMaps& Maps() const { return maps_; }
    // key count x 3 bytes; empty before the first successful ReadDeviceInfo.
    std::span<const uint8_t> KeyTable() const { return std::span(keyTable_).first(keyTableLength_); }
    std::span<const uint8_t> LightOrder() const { return std::span(lightOrder_).first(keyTableLength_ / 3); }

    // The light record as SetLightInfo takes it.
    static void StoreLightInfo(CKeyboardProfiledata& profile, const LightInfo& light);

    CommandChannel& Channel() { return channel_; }

private:
    void Forget();
    void RefreshInfo();

    CommandChannel& channel_;
    keyboardwire::InfoBlock info_{};
    std::array<uint8_t, keyboardwire::kTableCapacity> keyTable_{};
    std::array<uint8_t, keyboardwire::kTableCapacity> lightOrder_{};
    size_t keyTableLength_ = 0;
    keyboardwire::KeyMaps maps_ = keyboardwire::EmptyMaps();
};
