#pragma once

#include <cstdint>

// The fixed binary records that the device code, the panels and the firmware work with, decoded
// from and encoded into a profile's device section by CBasicProfiledata.

// Lighting parameters of a device.
struct LightInfo {
    uint8_t selectItem = 0;  // "SelectItem": selected effect number
    uint8_t light = 0;       // "Light": brightness level
    uint8_t speed = 0;       // "Speed": speed level
    uint8_t fx = 0;          // "Fx": effect variant
    uint8_t multiColor = 0;  // "MultiColor": 1 multicolour, 0 single colour
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint16_t extraWord = 0;  // given to SetLightInfo, never stored
    uint8_t extraByte = 0;   // given to SetLightInfo, never stored

    bool operator==(const LightInfo&) const = default;
};

// One element of "LightList": one lighting zone.
struct LightZone {
    uint8_t mode = 0;        // "LEDREGMode"
    uint8_t brightness = 0;  // "LEDBrightness"
    uint8_t speed = 0;       // "LEDSpeed"
    uint8_t direction = 0;   // "LEDDirection" as 0 or 1
    uint8_t multiColor = 0;  // "LEDMultiColor" as 0 or 1
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint16_t reserved = 0;
    uint8_t present = 0;  // 1 when the element exists and is not null

    bool operator==(const LightZone&) const = default;
};

// One step of a custom light effect ("LEDEffectList").
struct LedEffectStep {
    uint8_t mode = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t multiColor = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    int32_t time = 0;   // "Time"
    int32_t cycle = 0;  // "Cyle"

    bool operator==(const LedEffectStep&) const = default;
};

// One element of "KeyList": a key position with its current and default 3-byte function codes.
struct KeyAssignment {
    uint16_t keyPosition = 0;
    uint8_t code1 = 0;
    uint8_t code2 = 0;
    uint8_t code3 = 0;
    uint16_t defaultKeyPosition = 0;
    uint8_t defaultCode1 = 0;
    uint8_t defaultCode2 = 0;
    uint8_t defaultCode3 = 0;

    bool operator==(const KeyAssignment&) const = default;
};
