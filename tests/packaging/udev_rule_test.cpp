#include "device/device_tables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <utility>

namespace {

using Ids = std::set<std::pair<uint16_t, uint16_t>>;

// The vendor and product ids that the rule grants access to, from its hidraw lines with uaccess.
Ids RuleIds() {
    Ids ids;
    std::ifstream rule(NORVIK_UDEV_RULE);
    std::string line;
    while (std::getline(rule, line)) {
        if (line.empty() || line[0] == '#' || line.find("SUBSYSTEM==\"hidraw\"") == std::string::npos ||
            line.find("TAG+=\"uaccess\"") == std::string::npos) {
            continue;
        }
        unsigned vendor = 0;
        unsigned product = 0;
        const size_t at = line.find("ATTRS{idVendor}==\"");
        if (at != std::string::npos &&
            std::sscanf(line.c_str() + at, "ATTRS{idVendor}==\"%4x\", ATTRS{idProduct}==\"%4x\"", &vendor,
                        &product) == 2) {
            ids.emplace(static_cast<uint16_t>(vendor), static_cast<uint16_t>(product));
        }
    }
    return ids;
}

// Every device the tables can match must be reachable without root, and the rule grants nothing
// beyond them.
TEST(UdevRuleTest, CoversExactlyTheDevicesOfTheTables) {
    Ids wanted;
    for (const InterfaceSlot& row : SupportedInterfaces()) {
        if (row.vendorId != 0) {
            wanted.emplace(row.vendorId, row.productId);
        }
    }
    for (const DeviceDescriptor& row : DeviceDescriptors()) {
        if (row.vendorId != 0) {
            wanted.emplace(row.vendorId, row.productId);
        }
    }
    ASSERT_FALSE(wanted.empty());
    EXPECT_EQ(RuleIds(), wanted);
}

}  // namespace
