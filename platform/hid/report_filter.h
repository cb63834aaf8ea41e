#pragma once

#include "platform/hid/hid_types.h"

#include <cstddef>
#include <cstdint>
#include <span>

// What a handle on one collection does with the reports of its interface, for both backends:
// each node or simulated interface delivers every report of every collection, and a handle
// passes on only its own collection's, in the Windows form.
//
// Thread safety: pure functions.

namespace platform::hid {

// True when a report with this first byte belongs to the collection (always for an interface
// without report ids).
bool CollectionAcceptsReport(const HidCollectionInfo& collection, uint8_t report_id);

// Copies a report in the Windows form (report id first, zero-filled up to the collection's input
// report length, cut at the buffer's length) and returns the byte count. `report` is as the
// interface delivered it: for an interface without report ids it lacks the id byte.
size_t CopyInputReport(const HidCollectionInfo& collection, std::span<const uint8_t> report, uint8_t* buffer,
                       size_t length);

}  // namespace platform::hid
