#include "macro/macro_image.h"

#include <algorithm>

namespace {

void Put16(std::vector<uint8_t>& bytes, size_t offset, size_t value) {
    bytes[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8 & 0xFF);
}

}  // namespace

size_t CMacroImage::Size(const std::vector<size_t>& eventCounts) {
    size_t size = kHeaderSize + 2 * eventCounts.size();
    for (const size_t count : eventCounts) {
        size += 4 + 4 * count;
    }
    return size;
}

int CMacroImage::Overflow(size_t size, std::optional<size_t> capacity) {
    const size_t limit = std::min(capacity.value_or(kMaxSize), kMaxSize);
    return size > limit ? static_cast<int>(std::min<size_t>(((size - limit) >> 2) + 1, INT32_MAX)) : 0;
}

CMacroImage::Result CMacroImage::Build(const std::vector<std::vector<MacroEvent>>& entries,
                                       std::optional<size_t> capacity) {
    std::vector<size_t> counts;
    counts.reserve(entries.size());
    for (const auto& events : entries) {
        counts.push_back(events.size());
    }
    const size_t size = Size(counts);
    if (const int overflow = Overflow(size, capacity); overflow > 0) {
        return {{}, overflow};
    }

    Result result;
    std::vector<uint8_t>& bytes = result.bytes;
    bytes.assign(size, 0);
    Put16(bytes, 0, kSignature);
    Put16(bytes, 2, size);
    Put16(bytes, 4, entries.size());
    size_t offset = kHeaderSize + 2 * entries.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        Put16(bytes, kHeaderSize + 2 * i, offset);
        Put16(bytes, offset, entries[i].size());
        offset += 4;
        for (const MacroEvent& event : entries[i]) {
            const auto encoded = event.Encode();
            std::copy(encoded.begin(), encoded.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
            offset += 4;
        }
    }
    return result;
}
