#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the HID layer knows about one top-level collection (TLC) of one HID interface: the figures
// Windows reports for it (HIDP_CAPS, HIDD_ATTRIBUTES) and the field layout the decoders need.

namespace platform::hid {

enum class ReportType : uint8_t { kInput = 0, kOutput = 1, kFeature = 2 };
inline constexpr int kReportTypeCount = 3;

// HID parser status codes, as the decoders record them in their items.
inline constexpr uint32_t kStatusSuccess = 0x00110000;
inline constexpr uint32_t kStatusNull = 0x80110001;
inline constexpr uint32_t kStatusUsageNotFound = 0xC0110004;
inline constexpr uint32_t kStatusBadLogPhyValues = 0xC0110006;
inline constexpr uint32_t kStatusIncompatibleReportId = 0xC011000A;

struct HidAttributes {
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
    uint16_t version = 0;
};

// HIDP_CAPS: report lengths are the longest report of that kind in the collection in bytes plus
// one for the report id (also when the device uses no report ids), 0 when there is none.
struct HidCaps {
    uint16_t usage = 0;
    uint16_t usage_page = 0;
    uint16_t input_report_length = 0;
    uint16_t output_report_length = 0;
    uint16_t feature_report_length = 0;
    uint16_t button_caps[kReportTypeCount] = {};  // by ReportType
    uint16_t value_caps[kReportTypeCount] = {};
};

// One main-item field of a report (HIDP_BUTTON_CAPS / HIDP_VALUE_CAPS in one shape). Bit offsets
// count from the first bit after the report id byte.
struct HidField {
    ReportType type = ReportType::kInput;
    bool is_button = false;  // 1-bit variable fields and array fields
    bool is_array = false;
    bool is_constant = false;
    bool is_range = false;
    uint8_t report_id = 0;
    uint16_t usage_page = 0;
    uint16_t usage_min = 0;  // the single usage when not a range
    uint16_t usage_max = 0;
    // Array fields declared with a list of usages map element values to this list.
    std::vector<uint16_t> usages;
    uint32_t bit_offset = 0;
    uint16_t report_size = 0;  // bits per element
    uint16_t report_count = 0;
    int32_t logical_min = 0;
    int32_t logical_max = 0;
    int32_t physical_min = 0;
    int32_t physical_max = 0;
};

struct HidCollectionInfo {
    uint16_t index = 0;  // 1-based, the &colNN of the Windows path
    uint16_t usage_page = 0;
    uint16_t usage = 0;
    std::vector<uint8_t> report_ids;  // ids used in the collection, ascending; empty without ids
    bool uses_report_ids = false;     // the interface numbers its reports
    HidCaps caps;
    // Fields of the collection in descriptor order, constant padding excluded.
    std::vector<HidField> fields;
};

// One entry of a HID bus: one TLC of one interface.
struct HidEntryInfo {
    std::string path;  // carries vid_XXXX&pid_XXXX[&mi_XX][&colNN]
    HidAttributes attributes;
    int interface_number = -1;      // -1 when the device has no USB interface number
    uint16_t collection_count = 0;  // TLCs of the interface
    HidCollectionInfo collection;
    // The device kind an emulator names for itself, where the ids of two supported devices are
    // the same; always 0 on the hidraw bus, where binding goes by ids alone.
    uint16_t emulated_kind = 0;
};

}  // namespace platform::hid
