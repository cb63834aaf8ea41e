#pragma once

#include "platform/hid/hid_types.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Parses a raw HID report descriptor into one HidCollectionInfo per top-level collection, with
// the figures Windows' HID parser reports for each (usage page, usage, HIDP_CAPS lengths and
// capability counts) and the field layout for decoding reports.
//
// Descriptors come from devices and files: any byte string is accepted without a crash. A
// descriptor that breaks the item grammar (truncated item, End Collection without Collection,
// Pop without Push, too deep nesting, longer than 4096 bytes) gives false and an error text.
//
// Thread safety: stateless; any thread.

namespace platform::hid {

class CReportDescriptorParser {
public:
    static constexpr size_t kMaxDescriptorSize = 4096;

    static bool Parse(std::span<const uint8_t> descriptor, std::vector<HidCollectionInfo>& collections,
                      std::string* error = nullptr);
};

}  // namespace platform::hid
