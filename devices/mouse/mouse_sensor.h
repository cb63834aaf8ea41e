#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "devices/mouse/mouse_wire_format.h"

// DPI slider positions and DPI values of the mouse's sensor. The firmware stores slider
// positions; the page and norvikctl show DPI. The sensor id and the three scale bytes come from
// the device info block.
//
// Known sensors: 0x3389 and 0x3360 are linear (position x step + lowest DPI); 0x3325 is linear up
// to position 48 (5000 DPI on its usual scale) and doubles its step above; 0x3327 and unknown
// sensors show the position itself.
//
// Thread safety: a value type; const calls from any thread.
class CMouseSensor {
public:
    static constexpr uint16_t kSensor3389 = 0x3389;
    static constexpr uint16_t kSensor3360 = 0x3360;
    static constexpr uint16_t kSensor3327 = 0x3327;
    static constexpr uint16_t kSensor3325 = 0x3325;

    CMouseSensor() = default;
    CMouseSensor(uint16_t sensorId, uint8_t dpiStep, uint8_t highestPosition, uint8_t lowestDpi);
    explicit CMouseSensor(const mousewire::InfoBlock& info);

    uint16_t SensorId() const { return sensorId_; }
    int LowestDpi() const { return lowestDpi_; }

    // The DPI shown for a slider position.
    int PositionToDpi(int position) const;
    // The slider position for a DPI value; values not above the lowest DPI count as the lowest.
    int DpiToPosition(int dpi) const;
    // The same for the text of a number entry: empty or not a number counts as 0.
    int EntryToPosition(std::string_view entry) const;

    // Largest slider position and largest entry value, or nothing for a sensor whose limits the
    // page layout keeps. Minimums are always 0.
    std::optional<int> SliderMaximum() const;
    std::optional<int> EntryMaximum() const;

    // Reads a decimal integer as the entry control holds it: leading spaces and a sign allowed,
    // digits up to the first other character, nothing readable gives 0.
    static int ParseEntry(std::string_view entry);

private:
    static constexpr int kSplitPosition = 48;  // 0x3325: where the double step starts
    static constexpr int kSplitDpi = 5000;

    uint16_t sensorId_ = kSensor3325;
    int dpiStep_ = 0;
    int highestPosition_ = 0;
    int lowestDpi_ = 0;
};
