#pragma once

#include "device/command_channel.h"

#include <cstddef>
#include <cstdint>
#include <span>

// The exchanges of the devices that keep their settings as one record per profile slot of their
// settings memory, address 0 doubling as the active-slot byte (the keyboard, the mouse pad). The
// record layouts are the devices' own; these only move the bytes.
//
// Results are channel_result codes: kOk when every exchange succeeded, else the first failing
// one. Nothing is sent on a closed channel (the channel answers every command with failure).
//
// Threads: the caller's; the channel's locks serialise the exchanges.
namespace record_transfer {

// 0x05 (1 byte at 0: the active slot), then 0x05 (record.size() bytes at slot x slotSize), without
// a transfer bracket. slot and record change only when both reads succeeded.
int ReadActiveRecord(CommandChannel& channel, size_t slotSize, uint8_t& slot, std::span<uint8_t> record);

// 0x01; 0x06 (the bytes at address); 0x02. The bracket is closed also after a failed write.
int WriteRecord(CommandChannel& channel, uint16_t address, std::span<const uint8_t> bytes);

}  // namespace record_transfer
