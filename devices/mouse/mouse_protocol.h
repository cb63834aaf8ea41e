#pragma once

#include "device/command_channel.h"
#include "devices/mouse/mouse_profiledata.h"
#include "devices/mouse/mouse_sensor.h"
#include "devices/mouse/mouse_wire_format.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The mouse's firmware conversation: the command sequences that read the mouse
// back when it appears and write what the user changed. It touches no control;
// the mouse page and norvikctl both call it. Record layouts are in
// mouse_wire_format.h.
//
// Contract of every operation:
// - A closed command channel sends nothing and the operation returns 0
// (WriteMacros: see there).
// - Behind a wireless receiver each exchange is preceded by an online check; a
// mouse that is not
//   online ends the operation with 0 (WriteMacros: -1).
// - A write returns 1 only when every exchange succeeded; otherwise the first
// failing channel
//   result (see channel_result), so a caller can tell a refusing mouse from a
//   written one.
//
// Threads: the UI thread (or norvikctl's only thread). The light and sync
// threads share the channel through its own locks.
class CMouseProtocol {
public:
    // WriteMacros results besides 0 (written) and a positive count of events to
    // remove.
    static constexpr int kMacroWriteFailed = -1;

    explicit CMouseProtocol(CommandChannel& channel);

    // 0x01; 0x03 (info); block size; 0x07 (key table); 0x02. Gives the profile
    // the sensor id and builds the button map. Returns 1 when the info and the
    // key table were read; 0 when closed, offline, or when the key table would
    // not fit the channel's 512-byte block (the read-back stops there, after
    // closing the transfer). Whenever the info was read but the key table was not, the previous
    // table and button map are dropped.
    int ReadDeviceInfo(CMouseProfiledata& profile);

    // 0x05 (1 byte at 0); 0x05 (49 bytes at index x 128). Clears the
    // synchronised-lighting flag first. On success stores the active stage and
    // the light record into the profile and saves it, and gives the read record
    // (byte 0 = the active profile index) through out.
    int ReadParameters(CMouseProfiledata& profile, mousewire::MouseParameters& out);

    // The two 0x05 reads of ReadParameters alone: the active record as the mouse holds it, with
    // nothing stored anywhere.
    int ReadRecord(mousewire::MouseParameters& out);

    // 0x01; 0x06 (86 bytes at index x 128); 0x02, with the record built from the
    // profile's stages, system settings, active stage and light record.
    int WriteParameters(CMouseProfiledata& profile, int profileIndex = 0, uint8_t firstByte = 0);

    // 0x03; 0x01; 0x09 (key table of the given page); 0x02. The firmware table
    // read at connection with each mapped host button's code replaced by the
    // list's assignment (list entry i belongs to host button i). Returns 0
    // without sending when no key table was read yet, so a table of zeros never
    // reaches the mouse.
    int WriteKeyTable(int page, const std::vector<KeyAssignment>& keys);
    // After the profile is loaded: the button map again, from the functions the profile says the
    // buttons were given (MapAssignedButtons).
    void MapAssignedButtons(const std::vector<KeyAssignment>& keys);

    // 0x03; 0x01; 0x15 (macro image from "macro.config" and the ".mac" files of
    // the folder); 0x02. Returns 0 when written (or when there is nothing to
    // write or the channel is closed), the number of 4-byte events to remove when
    // the image exceeds the mouse's macro memory (nothing sent), or
    // kMacroWriteFailed when the image could not be built or sent.
    int WriteMacros(const std::string& dataFolder);

    // 0x03; 0x01; 0x17 (shoot image of "ShootData_0.Shoot" ..
    // "ShootData_3.Shoot"); 0x02. Returns 0 when written or closed,
    // kMacroWriteFailed when it could not be sent.
    int WriteShootData(const std::string& dataFolder);
    // The image WriteShootData sends for the folder; empty when it cannot be built.
    static std::vector<uint8_t> ShootImage(const std::string& dataFolder);

    // What the last ReadDeviceInfo read.
    const mousewire::InfoBlock& Info() const { return info_; }
    CMouseSensor Sensor() const { return CMouseSensor(info_); }
    const mousewire::ButtonMap& ButtonMap() const { return buttonMap_; }
    // key count x 3 bytes; empty before the first successful ReadDeviceInfo.
    std::span<const uint8_t> KeyTable() const { return std::span(keyTable_).first(keyTableLength_); }

    // The record that WriteParameters sends for this profile, in host terms.
    static mousewire::MouseParameters ParametersFromProfile(CMouseProfiledata& profile);

    CommandChannel& Channel() { return channel_; }

private:
    // True when the next exchange may go out: the channel is open and, behind a
    // receiver, the mouse answers the online check.
    bool Reachable();
    static constexpr int kShootEntryCount = 4;  // one entry per gun

    // 0x01, the write, 0x02, each only while Reachable: nullopt as soon as the mouse is not,
    // else the first failure or kOk.
    std::optional<int> Transfer(const std::function<int()>& write);
    // The block command in a transfer: 0 when every exchange succeeded, else kMacroWriteFailed.
    int SendImage(std::span<const uint8_t> image, bool shoot);
    // Before building a macro or shoot image: false when an open channel's receiver has no mouse
    // online (nothing is written); the info is read again while the channel is open.
    bool ReadyForImage();
    // No key table read: WriteKeyTable sends nothing and no host button is mapped.
    void ForgetKeyTable();
    // 0x03: the key count and macro size may have changed since the connection.
    void RefreshInfo();

    CommandChannel& channel_;
    mousewire::InfoBlock info_{};
    std::array<uint8_t, mousewire::kKeyTableCapacity> keyTable_{};
    size_t keyTableLength_ = 0;
    mousewire::ButtonMap buttonMap_{};
};
