#include "device/device_tables.h"

namespace {

constexpr uint16_t kVendorPage = 0xFF1C;
constexpr uint16_t kVendorUsage = 0x92;
constexpr uint16_t kConsumerPage = 0x0C;
constexpr uint16_t kConsumerUsage = 0x01;
constexpr uint16_t kVendor = 0x320F;

InterfaceSlot Row(uint16_t vendorId, uint16_t productId, uint16_t interfaceNumber, uint16_t collection,
                  uint16_t kind, uint16_t subKind, uint16_t usagePage, uint16_t usage) {
    InterfaceSlot row;
    row.vendorId = vendorId;
    row.productId = productId;
    row.interfaceNumber = interfaceNumber;
    row.collection = collection;
    row.kind = kind;
    row.subKind = subKind;
    row.usagePage = usagePage;
    row.usage = usage;
    return row;
}

constexpr const char* kItemLayout = "XML\\CustomControlXML\\DeviceOption.xml";
constexpr const char* kMousePage = "XML\\DeviceXml\\mousedevice.xml";

}  // namespace

bool InterfaceSlot::SameInterface(const InterfaceSlot& other) const {
    return vendorId == other.vendorId && productId == other.productId &&
           interfaceNumber == other.interfaceNumber && collection == other.collection && kind == other.kind &&
           subKind == other.subKind && usagePage == other.usagePage && usage == other.usage;
}

const std::array<InterfaceSlot, kSupportedInterfaceCount>& SupportedInterfaces() {
    static const std::array<InterfaceSlot, kSupportedInterfaceCount> rows{
        Row(0, 0, 1, 4, kKindKeyboard, kSubKindCommand, kVendorPage, kVendorUsage),
        Row(0, 0, 1, 3, kKindKeyboard, kSubKindNotification, kConsumerPage, kConsumerUsage),
        Row(kVendor, 0x2002, 1, 4, kKindMouse, kSubKindCommand, kVendorPage, kVendorUsage),
        Row(kVendor, 0x2002, 1, 3, kKindMouse, kSubKindNotification, kConsumerPage, kConsumerUsage),
        Row(kVendor, 0x21FD, 1, 4, kKindMouse, kSubKindCommand, kVendorPage, kVendorUsage),
        Row(kVendor, 0x21FD, 1, 3, kKindMouse, kSubKindNotification, kConsumerPage, kConsumerUsage),
        Row(0, 0, 1, 4, kKindMousePad, kSubKindCommand, kVendorPage, kVendorUsage),
        Row(0, 0, 1, 3, kKindMousePad, kSubKindNotification, kConsumerPage, kConsumerUsage),
        Row(0, 0, 3, 0, kKindHeadset, kSubKindCommand, kConsumerPage, kConsumerUsage),
    };
    return rows;
}

const std::array<DeviceDescriptor, kDeviceDescriptorCount>& DeviceDescriptors() {
    static const std::array<DeviceDescriptor, kDeviceDescriptorCount> rows{{
        {kItemLayout,
         "tab_header_device",
         "device_power_switch",
         "mouse",
         {0, 0},
         1,
         kVendor,
         0x2002,
         kKindMouse,
         kSubKindCommand},
        {kItemLayout,
         "tab_header_device",
         "device_power_switch",
         "keyboard",
         {1, 1},
         0,
         0,
         0,
         kKindKeyboard,
         kSubKindCommand},
        {kItemLayout,
         "tab_header_device",
         "device_power_switch",
         "MousePad",
         {2, 2},
         2,
         0,
         0,
         kKindMousePad,
         kSubKindCommand},
        {kItemLayout,
         "tab_header_device",
         "device_power_switch",
         "HD",
         {3, 3},
         3,
         0,
         0,
         kKindHeadset,
         kSubKindCommand},
        {kItemLayout,
         "tab_header_device",
         "device_power_switch",
         "mouse3389",
         {0, 0},
         1,
         kVendor,
         0x21FD,
         kKindMouse,
         kSubKindCommand},
    }};
    return rows;
}

const std::array<DevicePageInfo, kDeviceDescriptorCount>& DevicePages() {
    static const std::array<DevicePageInfo, kDeviceDescriptorCount> rows{{
        {6, 7, false, -1, kMousePage, "quorl_light"},
        {126, 126, false, -1, "XML\\DeviceXml\\keyboarddevice.xml", "quorl_light"},
        {15, 0, false, -1, "XML\\DeviceXml\\mousepaddevice.xml", "quorl_light"},
        {13, 0, false, -1, "XML\\DeviceXml\\hs6533device.xml", "quorl_light"},
        {6, 7, false, -1, kMousePage, "quorl_light"},
    }};
    return rows;
}

int FindSlot(std::span<const InterfaceSlot> slots, uint16_t vendorId, uint16_t productId, uint16_t kind,
             uint16_t subKind) {
    for (size_t index = 0; index < slots.size(); ++index) {
        const InterfaceSlot& slot = slots[index];
        if (slot.vendorId == vendorId && slot.productId == productId && slot.kind == kind &&
            slot.subKind == subKind) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

int FindDescriptor(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t subKind) {
    const auto& rows = DeviceDescriptors();
    for (size_t index = 0; index < rows.size(); ++index) {
        const DeviceDescriptor& row = rows[index];
        if (row.vendorId == vendorId && row.productId == productId && row.kind == kind &&
            row.subKind == subKind) {
            return static_cast<int>(index);
        }
    }
    return -1;
}
