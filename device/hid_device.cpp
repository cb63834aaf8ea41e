#include "device/hid_device.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

using platform::hid::HidField;
using platform::hid::IoResult;
using platform::hid::ReportType;

namespace {

std::optional<uint32_t> ReadBits(const uint8_t* data, size_t length, uint32_t offset, uint32_t size) {
    if (size == 0 || size > 32 || (static_cast<uint64_t>(offset) + size + 7) / 8 > length) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (uint32_t i = 0; i < size; ++i) {
        const uint32_t bit = offset + i;
        value |= static_cast<uint64_t>((data[bit / 8] >> (bit % 8)) & 1) << i;
    }
    return static_cast<uint32_t>(value);
}

int32_t SignExtend(uint32_t value, uint32_t size, bool is_signed) {
    if (!is_signed || size >= 32 || (value & (1u << (size - 1))) == 0) {
        return static_cast<int32_t>(value);
    }
    return static_cast<int32_t>(value | ~((1u << size) - 1));
}

// The usages that are on in one button field of a report, appended to `on` up to its capacity.
void CollectUsages(const HidField& field, const uint8_t* data, size_t length, std::vector<uint16_t>& on,
                   size_t capacity) {
    for (uint32_t element = 0; element < field.report_count && on.size() < capacity; ++element) {
        const auto bits =
            ReadBits(data, length, field.bit_offset + element * field.report_size, field.report_size);
        if (!bits) {
            return;
        }
        uint32_t usage = 0;
        if (!field.is_array) {
            if (*bits == 0) {
                continue;
            }
            usage = field.is_range ? field.usage_min + element : field.usage_min;
        } else {
            const int32_t value = SignExtend(*bits, field.report_size, field.logical_min < 0);
            if (value < field.logical_min || value > field.logical_max) {
                continue;  // outside the logical range: no usage in this element
            }
            const uint32_t index = static_cast<uint32_t>(value - field.logical_min);
            if (!field.usages.empty()) {
                usage = index < field.usages.size() ? field.usages[index] : 0;
            } else {
                usage = field.usage_min + index <= field.usage_max ? field.usage_min + index : 0;
            }
        }
        if (usage != 0) {
            on.push_back(static_cast<uint16_t>(usage));
        }
    }
}

uint16_t HexAfter(std::string_view path, std::string_view marker) {
    auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    auto found = std::search(path.begin(), path.end(), marker.begin(), marker.end(),
                             [&](char a, char b) { return lower(a) == lower(b); });
    if (found == path.end()) {
        return 0;
    }
    uint32_t value = 0;
    for (auto at = found + static_cast<std::ptrdiff_t>(marker.size());
         at != path.end() && std::isxdigit(static_cast<unsigned char>(*at)); ++at) {
        const char c = lower(*at);
        value = ((value << 4) | static_cast<uint32_t>(
                                    std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : c - 'a' + 10)) &
                0xFFFF;
    }
    return static_cast<uint16_t>(value);
}

}  // namespace

uint16_t VendorIdOfPath(std::string_view path) {
    return HexAfter(path, "vid_");
}
uint16_t ProductIdOfPath(std::string_view path) {
    return HexAfter(path, "pid_");
}
uint16_t InterfaceOfPath(std::string_view path) {
    return HexAfter(path, "&mi_");
}
uint16_t CollectionOfPath(std::string_view path) {
    return HexAfter(path, "&col");
}

HidDevice::HidDevice() : HidDevice(platform::hid::ProcessBackend()) {}

HidDevice::HidDevice(std::shared_ptr<platform::hid::CHidBackend> backend) : backend_(std::move(backend)) {}

HidDevice::~HidDevice() {
    Close();
    ReleasePaths();
}

bool HidDevice::EnumerateInterfaces() {
    cursor_ = 0;
    ReleasePaths();
    std::vector<platform::hid::HidEntryInfo> entries;
    if (backend_ == nullptr || !backend_->Enumerate(entries)) {
        return false;
    }
    paths_.reserve(kInitialPathCapacity);
    for (const auto& entry : entries) {
        if (paths_.size() == paths_.capacity()) {
            paths_.reserve(paths_.capacity() * 2);
        }
        paths_.push_back(entry.path);
    }
    path_count_ = static_cast<uint32_t>(paths_.size());
    return true;
}

std::optional<std::string> HidDevice::NextPath() {
    if (cursor_ >= path_count_ || cursor_ >= paths_.size()) {
        return std::nullopt;
    }
    return paths_[cursor_++];
}

void HidDevice::ReleasePaths() {
    std::vector<std::string>().swap(paths_);
    path_count_ = 0;
    cursor_ = 0;
}

std::shared_ptr<platform::hid::CHidConnection> HidDevice::Connection() const {
    std::lock_guard lock(connection_mutex_);
    return connection_;
}

bool HidDevice::IsOpen() const {
    return Connection() != nullptr;
}

bool HidDevice::Open(const std::string& path, bool want_read, bool want_write, bool overlapped,
                     bool exclusive) {
    want_read_ = want_read;
    want_write_ = want_write;
    overlapped_ = overlapped;
    exclusive_ = exclusive;
    Close();
    if (path.size() > kMaxPathLength) {
        return false;
    }
    path_ = path;
    if (backend_ == nullptr) {
        return false;
    }
    std::shared_ptr<platform::hid::CHidConnection> connection =
        backend_->Open(path, platform::hid::OpenMode{want_read, want_write});
    if (connection == nullptr) {
        return false;
    }
    const platform::hid::HidEntryInfo& info = connection->Info();
    collection_ = info.collection;
    caps_ = info.collection.caps;
    attributes_ = info.attributes;
    emulated_kind_ = info.emulated_kind;
    input_report_.assign(caps_.input_report_length, 0);
    BuildInputItems();
    interface_number_ = InterfaceOfPath(path_);
    collection_number_ = CollectionOfPath(path_);
    std::lock_guard lock(connection_mutex_);
    connection_ = std::move(connection);
    return true;
}

void HidDevice::Close() {
    std::shared_ptr<platform::hid::CHidConnection> connection;
    {
        std::lock_guard lock(connection_mutex_);
        connection.swap(connection_);
    }
    // Shutting the handle down wakes a transfer waiting on it at once; unlike setting the abort
    // event, it cannot leave a stale abort behind for the next transfer.
    if (connection != nullptr) {
        connection->Shutdown();
    }
    std::vector<uint8_t>().swap(input_report_);
    std::vector<HidDataItem>().swap(input_items_);
}

bool HidDevice::Read(uint8_t* buffer, size_t length, int timeout_ms, size_t* transferred) {
    if (transferred != nullptr) {
        *transferred = 0;
    }
    read_pending_ = true;
    std::shared_ptr<platform::hid::CHidConnection> connection = Connection();
    size_t moved = 0;
    const IoResult result = connection == nullptr
                                ? IoResult::kClosed
                                : connection->Read(buffer, length, timeout_ms, abort_, moved);
    read_pending_ = false;
    if (result != IoResult::kOk) {
        return false;
    }
    if (transferred != nullptr) {
        *transferred = moved;
    }
    return true;
}

bool HidDevice::Write(const uint8_t* buffer, size_t length, int timeout_ms, size_t* transferred) {
    if (transferred != nullptr) {
        *transferred = 0;
    }
    write_pending_ = true;
    std::shared_ptr<platform::hid::CHidConnection> connection = Connection();
    size_t moved = 0;
    const IoResult result = connection == nullptr
                                ? IoResult::kClosed
                                : connection->Write(buffer, length, timeout_ms, abort_, moved);
    write_pending_ = false;
    if (result != IoResult::kOk) {
        return false;
    }
    if (transferred != nullptr) {
        *transferred = moved;
    }
    return true;
}

size_t HidDevice::DiscardPendingInput(size_t limit) {
    std::shared_ptr<platform::hid::CHidConnection> connection = Connection();
    if (connection == nullptr) {
        return 0;
    }
    std::array<uint8_t, 64> discarded{};  // cut at its length: only the count matters
    size_t dropped = 0;
    size_t moved = 0;
    while (dropped < limit &&
           connection->Read(discarded.data(), discarded.size(), 0, abort_, moved) == IoResult::kOk) {
        ++dropped;
    }
    return dropped;
}

void HidDevice::BuildInputItems() {
    input_items_.clear();
    auto max_usage_length = [this](uint16_t usage_page) {
        uint32_t total = 0;
        for (const HidField& field : collection_.fields) {
            if (field.type == ReportType::kInput && field.is_button && field.usage_page == usage_page) {
                total += field.report_count;
            }
        }
        // Every button item keeps a list this long: a damaged descriptor with many huge fields
        // must not make each of them megabytes.
        return std::min<uint32_t>(total, HidDataItem::kMaxUsageListLength);
    };
    for (const HidField& field : collection_.fields) {
        if (field.type != ReportType::kInput || !field.is_button) {
            continue;
        }
        HidDataItem item;
        item.is_button_data = true;
        item.usage_page = field.usage_page;
        item.report_id = field.report_id;
        item.usage_min = field.usage_min;
        item.usage_max = field.usage_max;
        item.max_usage_length = max_usage_length(field.usage_page);
        item.usages.assign(item.max_usage_length, 0);
        input_items_.push_back(std::move(item));
    }
    for (const HidField& field : collection_.fields) {
        if (field.type != ReportType::kInput || field.is_button) {
            continue;
        }
        // Usages beyond the field's element count carry no data; they get no item.
        const uint32_t span = field.is_range ? field.usage_max - field.usage_min + 1u : 1u;
        const uint32_t usages = std::min<uint32_t>(span, field.report_count);
        for (uint32_t i = 0; i < usages; ++i) {
            HidDataItem item;
            item.usage_page = field.usage_page;
            item.report_id = field.report_id;
            item.usage = field.usage_min + i;
            item.usage_min = item.usage;
            input_items_.push_back(std::move(item));
        }
    }
}

bool HidDevice::UnpackInputReport(const uint8_t* report, size_t length, ReportType type,
                                  std::vector<HidDataItem>& items) const {
    if (type != ReportType::kInput || report == nullptr || length == 0) {
        return false;
    }
    const uint8_t report_id = report[0];
    const uint8_t* data = report + 1;
    const size_t data_length = length - 1;
    for (HidDataItem& item : items) {
        if (item.report_id != report_id) {
            continue;
        }
        if (item.is_button_data) {
            std::vector<uint16_t> on;
            for (const HidField& field : collection_.fields) {
                if (field.type == ReportType::kInput && field.is_button && field.report_id == report_id &&
                    field.usage_page == item.usage_page) {
                    CollectUsages(field, data, data_length, on, item.max_usage_length);
                }
            }
            std::erase_if(on,
                          [&](uint16_t usage) { return usage < item.usage_min || usage > item.usage_max; });
            item.usages.assign(item.max_usage_length, 0);
            std::copy_n(on.begin(), std::min(on.size(), item.usages.size()), item.usages.begin());
            item.status = platform::hid::kStatusSuccess;
            item.is_data_set = true;
            continue;
        }
        const HidField* owner = nullptr;
        for (const HidField& field : collection_.fields) {
            if (field.type == ReportType::kInput && !field.is_button && field.report_id == report_id &&
                field.usage_page == item.usage_page && item.usage >= field.usage_min &&
                item.usage <= field.usage_max) {
                owner = &field;
                break;
            }
        }
        const uint32_t element = owner == nullptr ? 0 : item.usage - owner->usage_min;
        const auto bits = owner == nullptr
                              ? std::nullopt
                              : ReadBits(data, data_length, owner->bit_offset + element * owner->report_size,
                                         owner->report_size);
        if (!bits) {
            item.status = platform::hid::kStatusUsageNotFound;
            return false;
        }
        item.raw_value = static_cast<int32_t>(*bits);
        const int32_t value = SignExtend(*bits, owner->report_size, owner->logical_min < 0);
        int64_t physical_min = owner->physical_min;
        int64_t physical_max = owner->physical_max;
        if (physical_min == 0 && physical_max == 0) {
            physical_min = owner->logical_min;
            physical_max = owner->logical_max;
        }
        if (owner->logical_min >= owner->logical_max || physical_min >= physical_max) {
            item.status = platform::hid::kStatusBadLogPhyValues;
        } else if (value < owner->logical_min || value > owner->logical_max) {
            item.status = platform::hid::kStatusNull;
        } else {
            item.scaled_value = static_cast<int32_t>(
                physical_min + (static_cast<int64_t>(value) - owner->logical_min) *
                                   (physical_max - physical_min) / (owner->logical_max - owner->logical_min));
            item.status = platform::hid::kStatusSuccess;
        }
        item.is_data_set = true;
    }
    return true;
}
