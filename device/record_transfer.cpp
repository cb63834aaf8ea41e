#include "device/record_transfer.h"

#include <algorithm>
#include <vector>

namespace record_transfer {
namespace {

// The first result that is not a success, so a sequence reports its first failure.
int Worst(int sofar, int result) {
    return sofar == channel_result::kOk ? result : sofar;
}

}  // namespace

int ReadActiveRecord(CommandChannel& channel, size_t slotSize, uint8_t& slot, std::span<uint8_t> record) {
    uint8_t active = 0;
    int result = channel.ReadMemory(0, std::span(&active, 1));
    if (result != channel_result::kOk) {
        return result;
    }
    std::vector<uint8_t> bytes(record.size());
    result = channel.ReadMemory(static_cast<uint16_t>(active * slotSize), bytes);
    if (result != channel_result::kOk) {
        return result;
    }
    slot = active;
    std::copy(bytes.begin(), bytes.end(), record.begin());
    return channel_result::kOk;
}

int WriteRecord(CommandChannel& channel, uint16_t address, std::span<const uint8_t> bytes) {
    int result = channel.BeginTransfer();
    result = Worst(result, channel.WriteMemory(address, bytes));
    return Worst(result, channel.EndTransfer());
}

}  // namespace record_transfer
