#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

// The three static tables by which the program knows its devices, and the lookups over them.
//
//   supported-interface table  one row per HID interface the program can use (9 rows); the
//                              discovery engine keeps a working copy of it as the slot list
//   device descriptor table    one row per device page (5 rows)
//   device page table          page sizes and layout, parallel to the descriptor table
//
// Only the two mice carry real ids; the keyboard, mouse pad and headset rows hold id 0 and never
// match a real interface. Thread safety: the tables are constant; lookups are pure.

enum DeviceKind : uint16_t {
    kKindKeyboard = 1,
    kKindMouse = 2,
    kKindMousePad = 3,
    kKindWirelessMouse = 6,
    kKindHeadset = 7,
};

inline constexpr uint16_t kSubKindCommand = 0;
inline constexpr uint16_t kSubKindNotification = 0xFF;

// One row of the supported-interface table, and one slot of the slot list.
struct InterfaceSlot {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;
    uint16_t collection = 0;
    uint16_t kind = 0;
    uint16_t subKind = 0;
    uint16_t connected = 0;  // 1 while an interface is bound to the slot
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t pairingFlag = 0;  // 0 in every row
    uint16_t partnerRow = 0;   // 0 in every row
    std::string path;          // device path of the bound interface, empty while not connected

    // Binding compares the eight identifying fields only.
    bool SameInterface(const InterfaceSlot& other) const;
    // Free for binding: neither connected nor holding a path.
    bool IsFree() const { return connected == 0 && path.empty(); }
};

struct DeviceDescriptor {
    const char* itemLayout;  // layout file of the device bar item
    const char* tabHeader;
    const char* powerSwitch;
    const char* deviceName;  // names the data folder and the default profile
    uint8_t iconKinds[2];
    int typeCode;
    uint16_t vendorId;
    uint16_t productId;
    uint16_t kind;
    uint16_t subKind;
};

struct DevicePageInfo {
    int ledCount;
    int keyCount;
    bool reportsPowerState;
    int logoLed;
    const char* pageLayout;
    const char* configBaseName;
};

inline constexpr size_t kSupportedInterfaceCount = 9;
inline constexpr size_t kDeviceDescriptorCount = 5;

const std::array<InterfaceSlot, kSupportedInterfaceCount>& SupportedInterfaces();
const std::array<DeviceDescriptor, kDeviceDescriptorCount>& DeviceDescriptors();
const std::array<DevicePageInfo, kDeviceDescriptorCount>& DevicePages();

// The first slot whose four fields are equal, or -1.
int FindSlot(std::span<const InterfaceSlot> slots, uint16_t vendorId, uint16_t productId, uint16_t kind,
             uint16_t subKind);
// The first descriptor row whose four fields are equal, or -1.
int FindDescriptor(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t subKind);

// Mouse kinds share one page class and one set of debug texts.
inline bool IsMouseKind(uint16_t kind) {
    return kind == kKindMouse || kind == kKindWirelessMouse;
}
