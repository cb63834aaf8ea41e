#pragma once

#include <cstdint>

// The fixed binary records that the device code, the panels and the firmware work with, decoded
// from and encoded into a profile's device section by CBasicProfiledata. The layouts are byte
// exact: the device code copies them into firmware records.

// The three-byte function code that key assignments, defaults and macros hand to the firmware.
// A plain value; any thread.
struct KeyFunctionCode {
    uint8_t type = 0;
    uint8_t param1 = 0;
    uint8_t param2 = 0;

    bool operator==(const KeyFunctionCode&) const = default;

    // The profile file keeps a code as one integer: type << 16 | param1 << 8 | param2.
    constexpr uint32_t Packed() const { return uint32_t{type} << 16 | uint32_t{param1} << 8 | param2; }
    static constexpr KeyFunctionCode FromPacked(uint32_t value) {
        return {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                static_cast<uint8_t>(value)};
    }
};
static_assert(sizeof(KeyFunctionCode) == 3);

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

// The light record as three words, lowest byte first: a = select item, light, speed, fx;
// b = multicolour, red, green, blue; c = the extra word (bits 0-15) and extra byte (bits 16-23).
inline LightInfo UnpackLightRecord(uint32_t a, uint32_t b, uint32_t c) {
    const auto byte = [](uint32_t word, int index) { return static_cast<uint8_t>(word >> (8 * index)); };
    LightInfo light;
    light.selectItem = byte(a, 0);
    light.light = byte(a, 1);
    light.speed = byte(a, 2);
    light.fx = byte(a, 3);
    light.multiColor = byte(b, 0);
    light.red = byte(b, 1);
    light.green = byte(b, 2);
    light.blue = byte(b, 3);
    light.extraWord = static_cast<uint16_t>(c);
    light.extraByte = byte(c, 2);
    return light;
}

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

    KeyFunctionCode Code() const { return {code1, code2, code3}; }
    KeyFunctionCode DefaultCode() const { return {defaultCode1, defaultCode2, defaultCode3}; }
    void SetCode(const KeyFunctionCode& code);
    void SetDefaultCode(const KeyFunctionCode& code);
};
static_assert(sizeof(KeyAssignment) == 12);

inline void KeyAssignment::SetCode(const KeyFunctionCode& code) {
    code1 = code.type;
    code2 = code.param1;
    code3 = code.param2;
}

inline void KeyAssignment::SetDefaultCode(const KeyFunctionCode& code) {
    defaultCode1 = code.type;
    defaultCode2 = code.param1;
    defaultCode3 = code.param2;
}
