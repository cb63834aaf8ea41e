#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The figures that make one mouse product: identity, sensor, memory sizes and the factory key
// table. The emulator is built from these, so a model is the whole difference between the two
// products it can stand in for.

// The 32-byte block that command 0x03 returns.
struct MouseInfoBlock {
    uint8_t firmwareVersionLow;   // 0x00
    uint8_t firmwareVersionHigh;  // 0x01
    uint8_t unknown_2;            // 0x02
    uint8_t profileCount;         // 0x03: parameter records in memory
    uint8_t unknown_4;            // 0x04
    uint8_t keyCount;             // 0x05: firmware key positions
    uint8_t macroUnits;           // 0x06: macro memory in units of 128 bytes
    uint8_t ledCount;             // 0x07
    uint8_t unknown_8;            // 0x08
    uint8_t sensorIdLow;          // 0x09
    uint8_t sensorIdHigh;         // 0x0A
    uint8_t dpiStep;              // 0x0B: DPI per slider step
    uint8_t highestPosition;      // 0x0C: highest DPI slider position
    uint8_t lowestDpi;            // 0x0D: DPI of slider position 0
    uint8_t reserved[18];         // 0x0E..0x1F
};
static_assert(sizeof(MouseInfoBlock) == 32);

using KeyCode = std::array<uint8_t, 3>;

struct MouseModel {
    std::string name;  // the simulated-device name ("mouse", "mouse3389")
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string productName;
    bool wireless = false;  // reached through a receiver that answers IsOnline
    uint16_t firmwareVersion = 0;
    uint16_t sensorId = 0;
    uint8_t dpiStep = 0;
    uint8_t highestPosition = 0;
    uint8_t lowestDpi = 0;
    uint8_t profileCount = 0;
    uint8_t macroUnits = 0;
    uint8_t ledCount = 0;
    size_t shootMemorySize = 0;
    std::vector<KeyCode> factoryKeys;      // function code of each firmware key position
    std::vector<uint16_t> stagePositions;  // factory DPI slider position of stages 1..7

    MouseInfoBlock InfoBlock() const;
};

// Product 0x2002: sensor 0x3325, whose DPI scale doubles its step above position 48.
MouseModel MouseModel3325();
// Product 0x21FD: sensor 0x3389, linear up to 16000 DPI.
MouseModel MouseModel3389();
// The 0x21FD mouse behind its wireless receiver.
MouseModel MouseModel3389Wireless();
