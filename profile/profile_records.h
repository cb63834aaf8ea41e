#pragma once

#include <cstdint>

// The fixed binary records that the device code, the panels and the firmware work with, decoded
// from and encoded into a profile's device section by CBasicProfiledata. The layouts are byte
// exact: the device code copies them into firmware records.

// Lighting parameters of a device (11 bytes).
struct __attribute__((packed)) LightInfo {
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
static_assert(sizeof(LightInfo) == 11);

// One element of "LightList": one lighting zone (11 bytes).
struct __attribute__((packed)) LightZone {
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
static_assert(sizeof(LightZone) == 11);

// One step of a custom light effect ("LEDEffectList"), 16 bytes.
struct LedEffectStep {
    uint8_t mode = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t multiColor = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    int32_t time = 0;   // "Time", milliseconds
    int32_t cycle = 0;  // "Cyle", repeat count

    bool operator==(const LedEffectStep&) const = default;
};
static_assert(sizeof(LedEffectStep) == 16);

// One element of "KeyList" (12 bytes): a key position with its current and default 3-byte
// function codes, each code record 6 bytes with one pad byte.
struct KeyAssignment {
    uint16_t keyPosition = 0;
    uint8_t code1 = 0;  // type
    uint8_t code2 = 0;  // param1
    uint8_t code3 = 0;  // param2
    uint8_t pad = 0;
    uint16_t defaultKeyPosition = 0;
    uint8_t defaultCode1 = 0;
    uint8_t defaultCode2 = 0;
    uint8_t defaultCode3 = 0;
    uint8_t defaultPad = 0;

    bool operator==(const KeyAssignment&) const = default;
};
static_assert(sizeof(KeyAssignment) == 12);
