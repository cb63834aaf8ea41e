#pragma once

#include "profile/profile_records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Which parameter groups the lighting panel offers in a keyboard light mode.
struct LightParameterGroups {
    bool colour = false;      // "deng_color_layout"
    bool palette = false;     // "colorpallet_layout"
    bool multi = false;       // "deng_7color_check"
    bool direction = false;   // "deng_fx_layout"
    bool brightness = false;  // "deng_light_layout"
    bool speed = false;       // "deng_speed_layout"
    bool sameMode = false;    // "deng_same_mode", when the panel's same-mode permission is set
    bool custom = false;      // "lightcustom_layout": per-key colours

    bool operator==(const LightParameterGroups&) const = default;
};

// The lighting vocabulary of the keyboard: parameter groups per mode, brightness levels, the
// mode the firmware is given and the rules of the colour edits. Pure functions; any thread.
class CLightModel {
public:
    static constexpr int kBrightnessLevels = 5;
    static constexpr int kSpeedLevels = 5;
    static constexpr uint8_t kCustomColourMode = 8;
    static constexpr uint8_t kOffMode = 24;
    // Modes from here on are custom effect lists that only the preview plays.
    static constexpr uint8_t kFirstCustomEffectMode = 25;
    static constexpr int kKeyboardLedCount = 126;

    static LightParameterGroups Groups(uint8_t mode);
    // The groups of a device kind's mode: the keyboard's table above (kind 1), the mouse's own
    // (kinds 2 and 6); other kinds offer every group but the per-key colours.
    static LightParameterGroups GroupsOfKind(int deviceKind, uint8_t mode);

    // The LED intensity of a brightness level (levels above 4 give full intensity).
    static uint8_t Intensity(uint8_t level);

    // The mode the firmware record carries: custom effect lists play as mode 0.
    static uint8_t FirmwareMode(uint8_t mode) { return mode >= kFirstCustomEffectMode ? 0 : mode; }

    // A colour edit that lost the focus: its value 0-255 and, when the edit must show something
    // else than it holds (empty, above 255, below 0, not a number), the text to write back.
    struct Component {
        uint8_t value;
        std::optional<std::string> text;
    };
    static Component ColourComponent(const std::string& text);

    // The colour the palette and the swatch show for a record: 0xFF000000 | R << 16 | G << 8 | B.
    static uint32_t Argb(const LightInfo& light) {
        return 0xFF000000u | uint32_t{light.red} << 16 | uint32_t{light.green} << 8 | light.blue;
    }
};
