#include "platform/hid/entry_path.h"

#include <cctype>
#include <cstdio>

namespace platform::hid {

std::string BuildEntryPath(std::string_view node, const HidAttributes& attributes, int interface_number,
                           uint16_t collection, uint16_t collection_count, std::string_view identity) {
    char middle[64];
    int used = std::snprintf(middle, sizeof middle, "vid_%04x&pid_%04x", attributes.vendor_id,
                             attributes.product_id);
    if (interface_number >= 0) {
        used += std::snprintf(middle + used, sizeof middle - used, "&mi_%02x", interface_number & 0xFF);
    }
    if (collection_count > 1) {
        std::snprintf(middle + used, sizeof middle - used, "&col%02x", collection);
    }
    std::string path(node);
    path.append("#").append(middle).append("#").append(identity);
    return path;
}

bool SplitEntryPath(std::string_view path, EntryPathParts& parts) {
    const size_t first = path.find('#');
    const size_t last = path.rfind('#');
    if (first == std::string_view::npos || first == last || first == 0) {
        return false;
    }
    parts.node = std::string(path.substr(0, first));
    parts.identity = std::string(path.substr(last + 1));
    parts.collection = 0;
    const std::string_view middle = path.substr(first + 1, last - first - 1);
    const size_t col = middle.find("&col");
    if (col != std::string_view::npos) {
        unsigned value = 0;
        for (size_t i = col + 4; i < middle.size() && std::isxdigit(static_cast<unsigned char>(middle[i]));
             ++i) {
            value = (value * 16 + (std::isdigit(static_cast<unsigned char>(middle[i]))
                                       ? middle[i] - '0'
                                       : std::tolower(static_cast<unsigned char>(middle[i])) - 'a' + 10)) &
                    0xFFFF;
        }
        parts.collection = static_cast<uint16_t>(value);
    }
    return true;
}

}  // namespace platform::hid
