#pragma once

#include <array>
#include <cstdint>

// The light animation shared by every device's light thread and the main window's light
// synchronisation thread: the colour wheel, the breathing curve, the brightness and pacing tables,
// and one frame step of each synchronised effect. Pure functions over a state the caller owns;
// any thread.

struct LightRgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const LightRgb&) const = default;
};

// The effect types of synchronised lighting.
enum class SyncEffect : uint8_t { kBreathing = 0, kStatic = 1, kBlink = 2, kColourCycle = 3, kOff = 4 };

// What the user chose for an animation (brightness and speed are levels 0..4).
struct LightAnimationSettings {
    SyncEffect effect = SyncEffect::kColourCycle;
    uint8_t brightnessLevel = 4;
    uint8_t speedLevel = 0;
    bool forward = true;     // breathing direction
    bool colourMode = true;  // colours from the wheel, else the fixed colour
    LightRgb colour{255, 0, 0};
};

// Where the animation stands.
struct LightAnimationState {
    int wheel = 0;
    int breath = 0;
    bool blinkOn = false;
    int64_t lastBlinkMs = 0;
};

class CLightAnimation {
public:
    static constexpr int kWheelSize = 192;
    static constexpr int kBreathSize = 128;
    static constexpr int kLevels = 5;

    static const std::array<LightRgb, kWheelSize>& Wheel();
    static const std::array<uint8_t, kBreathSize>& Breath();
    // Brightness by level (30 .. 255) and the pacing steps by speed level (28 .. 7); a level
    // above 4 reads as 4.
    static uint8_t Brightness(int level);
    static int Steps(int speedLevel);

    // Advances the state by one frame of the effect and returns the frame packed as red in bits
    // 0-7, green 8-15, blue 16-23 and brightness 24-31.
    static uint32_t NextFrame(LightAnimationState& state, const LightAnimationSettings& settings,
                              int64_t nowMs);

    static uint32_t Pack(LightRgb colour, uint8_t brightness) {
        return uint32_t{colour.red} | uint32_t{colour.green} << 8 | uint32_t{colour.blue} << 16 |
               uint32_t{brightness} << 24;
    }
};
