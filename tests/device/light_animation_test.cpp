#include "device/light_animation.h"

#include <gtest/gtest.h>

namespace {

uint8_t BrightnessOf(uint32_t frame) {
    return static_cast<uint8_t>(frame >> 24);
}

TEST(LightAnimation, WheelRunsThroughTheSixSegmentsEvenly) {
    const auto& wheel = CLightAnimation::Wheel();
    EXPECT_EQ(wheel[0], (LightRgb{255, 1, 0}));
    EXPECT_EQ(wheel[31], (LightRgb{255, 255, 0}));
    EXPECT_EQ(wheel[63], (LightRgb{0, 255, 0}));
    EXPECT_EQ(wheel[64], (LightRgb{0, 255, 1}));
    EXPECT_EQ(wheel[128], (LightRgb{1, 0, 255}));
    EXPECT_EQ(wheel[191], (LightRgb{255, 0, 0}));
    const auto& breath = CLightAnimation::Breath();
    EXPECT_EQ(breath[63], 255);
    EXPECT_EQ(breath[64], 255);
    EXPECT_EQ(breath[127], 0);
}

TEST(LightAnimation, BreathingFrameFollowsTheCurveAtFullBrightness) {
    LightAnimationSettings settings;
    settings.effect = SyncEffect::kBreathing;
    settings.colourMode = false;
    LightAnimationState state;
    state.breath = 127;  // the next step wraps to the first position
    EXPECT_EQ(BrightnessOf(CLightAnimation::NextFrame(state, settings, 0)), 0);
    state.breath = 62;
    EXPECT_EQ(BrightnessOf(CLightAnimation::NextFrame(state, settings, 0)), 254);
    settings.forward = false;
    state.breath = 0;
    CLightAnimation::NextFrame(state, settings, 0);
    EXPECT_EQ(state.breath, 127);
}

TEST(LightAnimation, ColourCycleWrapsAndBlinkTogglesOnItsPace) {
    LightAnimationSettings settings;
    LightAnimationState state;
    state.wheel = 191;
    const uint32_t frame = CLightAnimation::NextFrame(state, settings, 0);
    EXPECT_EQ(state.wheel, 0);
    EXPECT_EQ(frame, CLightAnimation::Pack({255, 1, 0}, 255));

    settings.effect = SyncEffect::kBlink;
    settings.speedLevel = 4;  // 7 x 200 ms
    state = {};
    state.lastBlinkMs = 0;
    EXPECT_EQ(CLightAnimation::NextFrame(state, settings, 1399), 0u);
    EXPECT_NE(CLightAnimation::NextFrame(state, settings, 1400), 0u);
    EXPECT_EQ(state.wheel, 14);
    EXPECT_NE(CLightAnimation::NextFrame(state, settings, 2000), 0u);
    EXPECT_EQ(CLightAnimation::NextFrame(state, settings, 2800), 0u);

    settings.effect = SyncEffect::kStatic;
    settings.brightnessLevel = 0;
    settings.colour = {1, 2, 3};
    EXPECT_EQ(CLightAnimation::NextFrame(state, settings, 0), 0x1E030201u);
    settings.effect = SyncEffect::kOff;
    EXPECT_EQ(CLightAnimation::NextFrame(state, settings, 0), 0u);
}

}  // namespace
