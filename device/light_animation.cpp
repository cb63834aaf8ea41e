#include "device/light_animation.h"

#include <algorithm>

namespace {

constexpr std::array<uint8_t, 32> kRising = {1,   3,   5,   7,   10,  14,  18,  22,  26,  32,  38,
                                             44,  50,  57,  65,  73,  81,  89,  99,  109, 119, 129,
                                             140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<uint8_t, 32> kFalling = {248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124,
                                              114, 104, 94,  85,  77,  69,  61,  53,  47,  41,  35,
                                              29,  24,  20,  16,  12,  8,   6,   4,   2,   0};
constexpr std::array<uint8_t, 64> kBreathRising = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};
constexpr std::array<uint8_t, CLightAnimation::kLevels> kBrightness = {30, 80, 135, 195, 255};
constexpr std::array<int, CLightAnimation::kLevels> kSteps = {28, 23, 18, 13, 7};

std::array<LightRgb, CLightAnimation::kWheelSize> BuildWheel() {
    std::array<LightRgb, CLightAnimation::kWheelSize> wheel{};
    for (size_t i = 0; i < 32; ++i) {
        const uint8_t up = kRising[i];
        const uint8_t down = kFalling[i];
        wheel[i] = {255, up, 0};          // red -> yellow
        wheel[32 + i] = {down, 255, 0};   // yellow -> green
        wheel[64 + i] = {0, 255, up};     // green -> cyan
        wheel[96 + i] = {0, down, 255};   // cyan -> blue
        wheel[128 + i] = {up, 0, 255};    // blue -> magenta
        wheel[160 + i] = {255, 0, down};  // magenta -> red
    }
    return wheel;
}

std::array<uint8_t, CLightAnimation::kBreathSize> BuildBreath() {
    std::array<uint8_t, CLightAnimation::kBreathSize> breath{};
    std::copy(kBreathRising.begin(), kBreathRising.end(), breath.begin());
    std::copy(kBreathRising.rbegin(), kBreathRising.rend(), breath.begin() + 64);
    return breath;
}

int Level(int level) {
    return std::clamp(level, 0, CLightAnimation::kLevels - 1);
}

// Moves the wheel by step places; a place at or past the end restarts at 0.
void AdvanceWheel(LightAnimationState& state, int step) {
    state.wheel += step;
    if (state.wheel >= CLightAnimation::kWheelSize)
        state.wheel = 0;
}

}  // namespace

const std::array<LightRgb, CLightAnimation::kWheelSize>& CLightAnimation::Wheel() {
    static const auto wheel = BuildWheel();
    return wheel;
}

const std::array<uint8_t, CLightAnimation::kBreathSize>& CLightAnimation::Breath() {
    static const auto breath = BuildBreath();
    return breath;
}

uint8_t CLightAnimation::Brightness(int level) {
    return kBrightness[Level(level)];
}

int CLightAnimation::Steps(int speedLevel) {
    return kSteps[Level(speedLevel)];
}

uint32_t CLightAnimation::NextFrame(LightAnimationState& state, const LightAnimationSettings& settings,
                                    int64_t nowMs) {
    const uint8_t brightness = Brightness(settings.brightnessLevel);
    switch (settings.effect) {
        case SyncEffect::kColourCycle:
            AdvanceWheel(state, 1);
            return Pack(Wheel()[state.wheel], brightness);
        case SyncEffect::kBreathing: {
            state.breath = (state.breath + (settings.forward ? 1 : -1) + kBreathSize) % kBreathSize;
            LightRgb colour = settings.colour;
            if (settings.colourMode) {
                if (state.breath < 2)
                    AdvanceWheel(state, 16);
                colour = Wheel()[state.wheel];
            }
            return Pack(colour, static_cast<uint8_t>(brightness * Breath()[state.breath] >> 8));
        }
        case SyncEffect::kBlink: {
            if (nowMs - state.lastBlinkMs >= int64_t{Steps(settings.speedLevel)} * 200) {
                state.blinkOn = !state.blinkOn;
                state.lastBlinkMs = nowMs;
                AdvanceWheel(state, 14);
            }
            if (!state.blinkOn)
                return 0;
            return Pack(settings.colourMode ? Wheel()[state.wheel] : settings.colour, brightness);
        }
        case SyncEffect::kStatic:
            return Pack(settings.colour, brightness);
        case SyncEffect::kOff:
            return 0;
    }
    return 0;
}
