#include "platform/hid/report_descriptor_parser.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <utility>

namespace platform::hid {
namespace {

constexpr int kMaxGlobalStack = 16;
constexpr int kMaxCollectionDepth = 32;
// More usages than this in one main item is no real device; it only feeds memory to a fuzzer.
constexpr size_t kMaxLocalUsages = 1024;

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };

struct Globals {
    uint16_t usage_page = 0;
    int32_t logical_min = 0;
    int32_t logical_max = 0;
    int32_t physical_min = 0;
    int32_t physical_max = 0;
    uint32_t report_size = 0;
    uint32_t report_count = 0;
    uint8_t report_id = 0;
};

// One usage or usage range in the order the local items declared them.
struct UsageEntry {
    uint16_t page = 0;
    uint16_t min = 0;
    uint16_t max = 0;
    bool is_range = false;
};

struct Locals {
    std::vector<UsageEntry> usages;
    bool has_min = false;
    bool has_max = false;
    uint32_t min = 0;
    uint32_t max = 0;
};

struct CollectionState {
    HidCollectionInfo info;
    // Bits per report id, by report type.
    std::array<std::map<uint8_t, uint32_t>, kReportTypeCount> bits;
};

uint32_t Unsigned(const uint8_t* data, int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        value |= static_cast<uint32_t>(data[i]) << (8 * i);
    }
    return value;
}

int32_t Signed(const uint8_t* data, int size) {
    const uint32_t value = Unsigned(data, size);
    if (size == 1) {
        return static_cast<int8_t>(value);
    }
    if (size == 2) {
        return static_cast<int16_t>(value);
    }
    return static_cast<int32_t>(value);
}

UsageEntry SingleUsage(uint32_t value, int size, uint16_t page) {
    const uint16_t usage_page = size == 4 ? static_cast<uint16_t>(value >> 16) : page;
    return UsageEntry{usage_page, static_cast<uint16_t>(value), static_cast<uint16_t>(value), false};
}

class CParser {
public:
    bool Run(std::span<const uint8_t> descriptor, std::vector<HidCollectionInfo>& out, std::string& error);

private:
    bool Item(uint8_t type, uint8_t tag, const uint8_t* data, int size, std::string& error);
    bool Main(uint8_t tag, uint32_t value, std::string& error);
    bool Global(uint8_t tag, const uint8_t* data, int size, std::string& error);
    void Local(uint8_t tag, const uint8_t* data, int size);
    void AddFields(ReportType type, uint32_t flags);
    void AddField(HidField field, const std::vector<UsageEntry>& usages, uint32_t bit_offset);
    void Finish(std::vector<HidCollectionInfo>& out) const;

    Globals globals_;
    std::vector<Globals> stack_;
    Locals locals_;
    int depth_ = 0;
    bool uses_report_ids_ = false;
    std::vector<CollectionState> collections_;
};

bool CParser::Run(std::span<const uint8_t> descriptor, std::vector<HidCollectionInfo>& out,
                  std::string& error) {
    if (descriptor.size() > CReportDescriptorParser::kMaxDescriptorSize) {
        error = "the report descriptor is longer than 4096 bytes";
        return false;
    }
    size_t pos = 0;
    while (pos < descriptor.size()) {
        const uint8_t prefix = descriptor[pos];
        if (prefix == 0xFE) {  // long item: skipped, no device uses one
            const size_t length = pos + 1 < descriptor.size() ? descriptor[pos + 1] : 0;
            pos += 3 + length;
            if (pos > descriptor.size()) {
                error = "truncated long item";
                return false;
            }
            continue;
        }
        const int size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (pos + 1 + size > descriptor.size()) {
            error = "truncated item at byte " + std::to_string(pos);
            return false;
        }
        if (!Item((prefix >> 2) & 3, prefix >> 4, descriptor.data() + pos + 1, size, error)) {
            return false;
        }
        pos += 1 + size;
    }
    if (depth_ != 0) {
        error = "a collection is not closed";
        return false;
    }
    Finish(out);
    return true;
}

bool CParser::Item(uint8_t type, uint8_t tag, const uint8_t* data, int size, std::string& error) {
    switch (type) {
        case kMain:
            return Main(tag, Unsigned(data, size), error);
        case kGlobal:
            return Global(tag, data, size, error);
        case kLocal:
            Local(tag, data, size);
            return true;
        default:
            return true;  // reserved item type: ignored as Windows does
    }
}

bool CParser::Main(uint8_t tag, uint32_t value, std::string& error) {
    switch (tag) {
        case 0x8:
            AddFields(ReportType::kInput, value);
            break;
        case 0x9:
            AddFields(ReportType::kOutput, value);
            break;
        case 0xB:
            AddFields(ReportType::kFeature, value);
            break;
        case 0xA:
            if (depth_ == kMaxCollectionDepth) {
                error = "collections nested too deep";
                return false;
            }
            if (depth_ == 0) {
                CollectionState state;
                state.info.index = static_cast<uint16_t>(collections_.size() + 1);
                if (!locals_.usages.empty()) {
                    state.info.usage_page = locals_.usages.front().page;
                    state.info.usage = locals_.usages.front().min;
                } else {
                    state.info.usage_page = globals_.usage_page;
                }
                collections_.push_back(std::move(state));
            }
            ++depth_;
            break;
        case 0xC:
            if (depth_ == 0) {
                error = "End Collection without a Collection";
                return false;
            }
            --depth_;
            break;
        default:
            break;
    }
    locals_ = Locals{};
    return true;
}

bool CParser::Global(uint8_t tag, const uint8_t* data, int size, std::string& error) {
    const uint32_t value = Unsigned(data, size);
    switch (tag) {
        case 0x0:
            globals_.usage_page = static_cast<uint16_t>(value);
            break;
        case 0x1:
            globals_.logical_min = Signed(data, size);
            break;
        case 0x2:
            globals_.logical_max = Signed(data, size);
            break;
        case 0x3:
            globals_.physical_min = Signed(data, size);
            break;
        case 0x4:
            globals_.physical_max = Signed(data, size);
            break;
        case 0x7:
            globals_.report_size = value;
            break;
        case 0x8:
            globals_.report_id = static_cast<uint8_t>(value);
            uses_report_ids_ = true;
            break;
        case 0x9:
            globals_.report_count = value;
            break;
        case 0xA:
            if (stack_.size() == kMaxGlobalStack) {
                error = "Push nested too deep";
                return false;
            }
            stack_.push_back(globals_);
            break;
        case 0xB:
            if (stack_.empty()) {
                error = "Pop without Push";
                return false;
            }
            globals_ = stack_.back();
            stack_.pop_back();
            break;
        default:
            break;
    }
    return true;
}

void CParser::Local(uint8_t tag, const uint8_t* data, int size) {
    const uint32_t value = Unsigned(data, size);
    if (locals_.usages.size() >= kMaxLocalUsages) {
        return;
    }
    if (tag == 0x0) {
        locals_.usages.push_back(SingleUsage(value, size, globals_.usage_page));
        return;
    }
    if (tag == 0x1) {
        locals_.has_min = true;
        locals_.min = size == 4 ? value : (static_cast<uint32_t>(globals_.usage_page) << 16) | value;
    } else if (tag == 0x2) {
        locals_.has_max = true;
        locals_.max = size == 4 ? value : (static_cast<uint32_t>(globals_.usage_page) << 16) | value;
    } else {
        return;
    }
    if (locals_.has_min && locals_.has_max) {
        const uint16_t min = static_cast<uint16_t>(locals_.min);
        const uint16_t max = static_cast<uint16_t>(locals_.max);
        locals_.usages.push_back(UsageEntry{static_cast<uint16_t>(locals_.min >> 16), std::min(min, max),
                                            std::max(min, max), true});
        locals_.has_min = locals_.has_max = false;
    }
}

void CParser::AddFields(ReportType type, uint32_t flags) {
    if (depth_ == 0 || collections_.empty()) {
        return;  // fields outside every collection belong to no entry
    }
    CollectionState& collection = collections_.back();
    // Sizes beyond 32 bits per element or 65535 elements come from broken descriptors; clamping
    // keeps the bit counts finite without rejecting the rest of the descriptor.
    const uint32_t size = std::min<uint32_t>(globals_.report_size, 32);
    const uint32_t count = std::min<uint32_t>(globals_.report_count, 0xFFFF);
    uint32_t& bits = collection.bits[static_cast<int>(type)][globals_.report_id];
    const uint32_t offset = bits;
    bits = std::min<uint32_t>(bits + size * count, 0xFFFF * 8);
    const bool constant = (flags & 0x01) != 0;
    if (constant || size == 0 || count == 0) {
        return;
    }
    HidField field;
    field.type = type;
    field.report_id = globals_.report_id;
    field.report_size = static_cast<uint16_t>(size);
    field.report_count = static_cast<uint16_t>(count);
    field.is_array = (flags & 0x02) == 0;
    field.is_button = field.is_array || size == 1;
    field.logical_min = globals_.logical_min;
    field.logical_max = globals_.logical_max;
    // A maximum written in too few bytes (0xFF for 255) reads negative; with a non-negative
    // minimum it was meant unsigned.
    if (field.logical_min >= 0 && field.logical_max < 0) {
        field.logical_max = static_cast<int32_t>(static_cast<uint32_t>(field.logical_max) &
                                                 (field.logical_max >= -128 ? 0xFFu : 0xFFFFu));
    }
    field.physical_min = globals_.physical_min;
    field.physical_max = globals_.physical_max;
    AddField(std::move(field), locals_.usages, offset);
}

void CParser::AddField(HidField field, const std::vector<UsageEntry>& usages, uint32_t bit_offset) {
    CollectionState& collection = collections_.back();
    auto push = [&](HidField&& one) {
        HidCaps& caps = collection.info.caps;
        uint16_t& counter = (one.is_button ? caps.button_caps : caps.value_caps)[static_cast<int>(one.type)];
        if (counter < 0xFFFF) {
            ++counter;
        }
        collection.info.fields.push_back(std::move(one));
    };
    if (usages.empty()) {
        field.usage_page = globals_.usage_page;
        field.bit_offset = bit_offset;
        push(std::move(field));
        return;
    }
    if (field.is_array) {
        // One array field; its element values index the declared usages in order.
        field.usage_page = usages.front().page;
        field.bit_offset = bit_offset;
        if (usages.size() == 1 && usages.front().is_range) {
            field.is_range = true;
            field.usage_min = usages.front().min;
            field.usage_max = usages.front().max;
        } else {
            for (const UsageEntry& entry : usages) {
                for (uint32_t u = entry.min; u <= entry.max && field.usages.size() < kMaxLocalUsages; ++u) {
                    field.usages.push_back(static_cast<uint16_t>(u));
                }
            }
            field.usage_min = *std::min_element(field.usages.begin(), field.usages.end());
            field.usage_max = *std::max_element(field.usages.begin(), field.usages.end());
            field.is_range = usages.size() > 1 || usages.front().is_range;
        }
        push(std::move(field));
        return;
    }
    // Variable fields: each declared usage takes elements in order; a range takes one element per
    // usage, and the last declaration takes whatever elements are left.
    uint32_t element = 0;
    const uint32_t count = field.report_count;
    for (size_t i = 0; i < usages.size() && element < count; ++i) {
        const UsageEntry& entry = usages[i];
        const bool last = i + 1 == usages.size();
        const uint32_t span = entry.is_range ? static_cast<uint32_t>(entry.max - entry.min) + 1 : 1;
        const uint32_t take = last ? count - element : std::min(span, count - element);
        HidField one = field;
        one.usage_page = entry.page;
        one.is_range = entry.is_range;
        one.usage_min = entry.min;
        one.usage_max = entry.is_range ? entry.max : entry.min;
        one.report_count = static_cast<uint16_t>(take);
        one.bit_offset = bit_offset + element * field.report_size;
        element += take;
        push(std::move(one));
    }
}

uint16_t LongestReport(const std::map<uint8_t, uint32_t>& bits) {
    uint32_t longest = 0;
    for (const auto& [id, count] : bits) {
        longest = std::max(longest, (count + 7) / 8);
    }
    return bits.empty() ? 0 : static_cast<uint16_t>(std::min<uint32_t>(longest + 1, 0xFFFF));
}

void CParser::Finish(std::vector<HidCollectionInfo>& out) const {
    out.clear();
    for (const CollectionState& state : collections_) {
        HidCollectionInfo info = state.info;
        info.uses_report_ids = uses_report_ids_;
        info.caps.usage = info.usage;
        info.caps.usage_page = info.usage_page;
        info.caps.input_report_length = LongestReport(state.bits[0]);
        info.caps.output_report_length = LongestReport(state.bits[1]);
        info.caps.feature_report_length = LongestReport(state.bits[2]);
        std::set<uint8_t> ids;
        for (const auto& by_type : state.bits) {
            for (const auto& [id, count] : by_type) {
                if (uses_report_ids_ && id != 0) {
                    ids.insert(id);
                }
            }
        }
        info.report_ids.assign(ids.begin(), ids.end());
        out.push_back(std::move(info));
    }
}

}  // namespace

bool CReportDescriptorParser::Parse(std::span<const uint8_t> descriptor,
                                    std::vector<HidCollectionInfo>& collections, std::string* error) {
    std::string text;
    CParser parser;
    if (parser.Run(descriptor, collections, text)) {
        return true;
    }
    collections.clear();
    if (error != nullptr) {
        *error = text;
    }
    return false;
}

}  // namespace platform::hid
