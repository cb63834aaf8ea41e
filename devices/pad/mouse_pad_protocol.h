#pragma once

#include "device/command_channel.h"
#include "devices/pad/pad_wire_format.h"

#include <array>
#include <cstdint>

// The mouse pad's firmware conversation: the info block at connection, and the parameter record
// of a profile slot read back and written. It touches no control; the pad page and norvikctl
// both call it. The record layout is in pad_wire_format.h.
//
// The record held here is the pad's: bytes 4 and 9..20 are only ever what was read, so nothing
// is written before the record of this connection was read (the firmware's own bytes would
// otherwise be overwritten with zeros).
//
// Contract of every operation:
// - A closed command channel sends nothing and the operation returns 0.
// - Otherwise 1 when every exchange succeeded, else the first failing channel result
//   (see channel_result), with the held record as it was.
//
// Threads: the UI thread (or norvikctl's only thread); the channel's locks serialise the rest.
class CMousePadProtocol {
public:
    explicit CMousePadProtocol(CommandChannel& channel);

    // 0x01; 0x03 (the info block, which the pad's settings do not use); 0x02. Forgets the record
    // read on an earlier connection.
    int ReadInfo();

    // 0x05 (1 byte at 0: the active profile); 0x05 (25 bytes at 25 x profile), without a
    // transfer bracket. Clears the synchronised-lighting flag first. The record's bytes 0..20
    // are held, its byte 0 comes back as the profile index.
    int ReadParameters(int& profileIndex);

    // 0x01; 0x06 (the held record's 21 bytes at 25 x profile, the address the record is read
    // from); 0x02. 0 and nothing sent while no record was read on this connection.
    int WriteParameters(int profileIndex);

    // The light state into the held record (the bytes the host sets).
    void SetLight(const LightInfo& light);

    const padwire::PadRecord& Record() const { return record_; }
    CommandChannel& Channel() { return channel_; }

private:
    CommandChannel& channel_;
    padwire::PadRecord record_{};
    bool hasRecord_ = false;
};
