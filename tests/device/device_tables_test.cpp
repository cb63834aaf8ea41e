#include "device/device_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

TEST(DeviceTables, SupportedInterfacesHaveNoDuplicateRowsAndStartFree) {
    const auto& rows = SupportedInterfaces();
    for (size_t a = 0; a < rows.size(); ++a) {
        EXPECT_TRUE(rows[a].IsFree()) << a;
        EXPECT_EQ(rows[a].pairingFlag, 0) << a;
        const std::set<uint16_t> kinds{kKindKeyboard, kKindMouse, kKindMousePad, kKindWirelessMouse,
                                       kKindHeadset};
        EXPECT_TRUE(kinds.count(rows[a].kind)) << a;
        EXPECT_TRUE(rows[a].subKind == kSubKindCommand || rows[a].subKind == kSubKindNotification) << a;
        for (size_t b = a + 1; b < rows.size(); ++b) {
            EXPECT_FALSE(rows[a].SameInterface(rows[b])) << a << " and " << b;
        }
    }
}

TEST(DeviceTables, EachMouseHasACommandAndANotificationRow) {
    const auto& rows = SupportedInterfaces();
    for (uint16_t productId : {0x2002, 0x21FD}) {
        const int command = FindSlot(rows, 0x320F, productId, kKindMouse, kSubKindCommand);
        const int notification = FindSlot(rows, 0x320F, productId, kKindMouse, kSubKindNotification);
        ASSERT_GE(command, 0);
        ASSERT_GE(notification, 0);
        EXPECT_EQ(std::tie(rows[command].interfaceNumber, rows[command].collection, rows[command].usagePage,
                           rows[command].usage),
                  std::make_tuple(uint16_t{1}, uint16_t{4}, uint16_t{0xFF1C}, uint16_t{0x92}));
        EXPECT_EQ(std::tie(rows[notification].interfaceNumber, rows[notification].collection,
                           rows[notification].usagePage, rows[notification].usage),
                  std::make_tuple(uint16_t{1}, uint16_t{3}, uint16_t{0x0C}, uint16_t{0x01}));
        const int descriptor = FindDescriptor(0x320F, productId, kKindMouse, kSubKindCommand);
        ASSERT_GE(descriptor, 0);
        EXPECT_EQ(DevicePages()[descriptor].keyCount, 7);
    }
    EXPECT_EQ(FindSlot(rows, 0x320F, 0x21FD, kKindMouse, kSubKindCommand), 4);
    EXPECT_EQ(FindSlot(rows, 0x320F, 0x21FD, kKindMouse, kSubKindNotification), 5);
    EXPECT_EQ(FindSlot(rows, 0x320F, 0x9999, kKindMouse, kSubKindCommand), -1);
}

TEST(DeviceTables, DescriptorsNameDistinctDevicesAndFindTheirSlots) {
    std::set<std::string> names;
    for (const DeviceDescriptor& row : DeviceDescriptors()) {
        EXPECT_TRUE(names.insert(row.deviceName).second) << row.deviceName;
        EXPECT_GE(FindSlot(SupportedInterfaces(), row.vendorId, row.productId, row.kind, row.subKind), 0)
            << row.deviceName;
    }
    EXPECT_EQ(FindDescriptor(0x320F, 0x21FD, kKindMouse, kSubKindCommand), 4);
    EXPECT_STREQ(DeviceDescriptors()[4].deviceName, "mouse3389");
    EXPECT_STREQ(DeviceDescriptors()[0].deviceName, "mouse");
}
