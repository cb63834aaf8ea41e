#pragma once

#include "platform/hid/hid_types.h"

#include <cstdint>
#include <string>
#include <string_view>

// Entry paths of both backends: "<node>#vid_XXXX&pid_XXXX[&mi_XX][&colNN]#<identity>", the
// Windows form that the device-path parsers read, with the node to open in front and the
// identity of the device behind it (hidraw node numbers are reused after a replug) at the end.
// "&mi_" is left out for a device without a USB interface number, "&col" for an interface with
// one top-level collection.
//
// Thread safety: pure functions.

namespace platform::hid {

struct EntryPathParts {
    std::string node;
    std::string identity;
    uint16_t collection = 0;  // 0 when the path carries no "&col"
};

std::string BuildEntryPath(std::string_view node, const HidAttributes& attributes, int interface_number,
                           uint16_t collection, uint16_t collection_count, std::string_view identity);

// False for a text that is not an entry path.
bool SplitEntryPath(std::string_view path, EntryPathParts& parts);

}  // namespace platform::hid
