#include "platform/hid/report_filter.h"

#include <algorithm>
#include <cstring>

namespace platform::hid {

bool CollectionAcceptsReport(const HidCollectionInfo& collection, uint8_t report_id) {
    if (!collection.uses_report_ids) {
        return true;
    }
    return std::binary_search(collection.report_ids.begin(), collection.report_ids.end(), report_id);
}

size_t CopyInputReport(const HidCollectionInfo& collection, std::span<const uint8_t> report, uint8_t* buffer,
                       size_t length) {
    const size_t natural = report.size() + (collection.uses_report_ids ? 0 : 1);
    const size_t full =
        collection.caps.input_report_length != 0 ? collection.caps.input_report_length : natural;
    const size_t count = std::min(full, length);
    if (count == 0) {
        return 0;
    }
    std::memset(buffer, 0, count);
    size_t at = 0;
    if (!collection.uses_report_ids) {
        at = 1;  // Windows puts report id 0 in front of unnumbered reports
    }
    if (at < count) {
        std::memcpy(buffer + at, report.data(), std::min(report.size(), count - at));
    }
    return count;
}

}  // namespace platform::hid
