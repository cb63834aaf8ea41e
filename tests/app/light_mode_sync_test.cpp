#include "app/light_mode_sync.h"

#include <gtest/gtest.h>

namespace {

TEST(LightModeSync, KeyboardBlinkBecomesEachKindsBlink) {
    const auto effect = CLightModeSync::EffectOfMode(1, 17);
    ASSERT_TRUE(effect.has_value());
    EXPECT_EQ(*effect, SyncEffect::kBlink);
    EXPECT_EQ(CLightModeSync::ModeOfEffect(2, *effect), 7);
    EXPECT_EQ(CLightModeSync::ModeOfEffect(6, *effect), 7);
    EXPECT_EQ(CLightModeSync::ModeOfEffect(3, *effect), 4);
    EXPECT_EQ(CLightModeSync::ModeOfEffect(7, *effect), 4);
}

TEST(LightModeSync, EveryColumnRoundTripsAndUnknownModesAreLeft) {
    for (int kind : {1, 2, 3, 6, 7}) {
        for (int e = 0; e < 5; ++e) {
            const auto effect = static_cast<SyncEffect>(e);
            const auto mode = CLightModeSync::ModeOfEffect(kind, effect);
            ASSERT_TRUE(mode.has_value());
            EXPECT_EQ(CLightModeSync::EffectOfMode(kind, *mode), effect) << kind << " " << e;
        }
    }
    EXPECT_FALSE(CLightModeSync::EffectOfMode(2, 5).has_value());
    EXPECT_FALSE(CLightModeSync::EffectOfMode(1, 4).has_value());
    EXPECT_FALSE(CLightModeSync::ModeOfEffect(0, SyncEffect::kOff).has_value());
}

}  // namespace
