#include "sim/mouse_model.h"

namespace {

constexpr uint16_t kVendorId = 0x320F;

const KeyCode kLeft{0x10, 0x01, 0x00};
const KeyCode kRight{0x10, 0x02, 0x00};
const KeyCode kMiddle{0x10, 0x04, 0x00};
const KeyCode kBack{0x10, 0x08, 0x00};
const KeyCode kForward{0x10, 0x10, 0x00};
const KeyCode kDpiAdd{0x13, 0x01, 0x00};
const KeyCode kDpiSub{0x13, 0x02, 0x00};
const KeyCode kDpiLoop{0x13, 0x03, 0x00};
const KeyCode kGameMode{0xA0, 0x1B, 0x00};
const KeyCode kM8{0x16, 0x90, 0x01};

}  // namespace

MouseInfoBlock MouseModel::InfoBlock() const {
    MouseInfoBlock info{};
    info.firmwareVersionLow = static_cast<uint8_t>(firmwareVersion & 0xFF);
    info.firmwareVersionHigh = static_cast<uint8_t>(firmwareVersion >> 8);
    info.profileCount = profileCount;
    info.keyCount = static_cast<uint8_t>(factoryKeys.size());
    info.macroUnits = macroUnits;
    info.ledCount = ledCount;
    info.sensorIdLow = static_cast<uint8_t>(sensorId & 0xFF);
    info.sensorIdHigh = static_cast<uint8_t>(sensorId >> 8);
    info.dpiStep = dpiStep;
    info.highestPosition = highestPosition;
    info.lowestDpi = lowestDpi;
    return info;
}

// Room for the shipped shoot files' image (four guns of 180 events, 2920 bytes).
constexpr size_t kShootMemorySize = 4096;

MouseModel MouseModel3325() {
    MouseModel model;
    model.name = "mouse";
    model.vendorId = kVendorId;
    model.productId = 0x2002;
    model.productName = "Norvik 400100 Gaming Mouse";
    model.firmwareVersion = 0x0105;
    model.sensorId = 0x3325;
    // Positions 0..48 give 200..5000 DPI, then 200 DPI a step up to 10000 at position 73,
    // the top of the slider range (highest position - 7).
    model.dpiStep = 100;
    model.highestPosition = 80;
    model.lowestDpi = 200;
    model.profileCount = 4;
    model.macroUnits = 8;
    model.ledCount = 6;
    model.shootMemorySize = kShootMemorySize;
    // Back comes before forward in this firmware, unlike the host's button order.
    model.factoryKeys = {kLeft, kRight, kMiddle, kBack, kForward, kDpiAdd, kDpiSub};
    model.stagePositions = {2, 6, 14, 30, 48, 60, 73};  // 400, 800, 1600, 3200, 5000, 7400, 10000
    return model;
}

MouseModel MouseModel3389() {
    MouseModel model;
    model.name = "mouse3389";
    model.vendorId = kVendorId;
    model.productId = 0x21FD;
    model.productName = "Norvik 400100 Gaming Mouse";
    model.firmwareVersion = 0x0203;
    model.sensorId = 0x3389;
    // Position p gives p * 100 + 100 DPI: 100..16000.
    model.dpiStep = 100;
    model.highestPosition = 159;
    model.lowestDpi = 100;
    model.profileCount = 4;
    model.macroUnits = 16;
    model.ledCount = 6;
    model.shootMemorySize = kShootMemorySize;
    // No separate DPI up and down keys: those host buttons find no position.
    model.factoryKeys = {kLeft, kRight, kMiddle, kForward, kBack, kDpiLoop, kGameMode, kM8};
    model.stagePositions = {3, 7, 15, 31, 63, 119, 159};  // 400, 800, 1600, 3200, 6400, 12000, 16000
    return model;
}

MouseModel MouseModel3389Wireless() {
    MouseModel model = MouseModel3389();
    model.name = "mouse3389_wireless";
    model.wireless = true;
    return model;
}
