#include "devices/keyboard/keyboard_profiledata.h"

#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

namespace {

class CustomGroupTest : public ::testing::Test {
protected:
    void SetUp() override { LoadSection(profile, home.Path("k.Json"), ParseJson(R"({"LightInfo": {}})")); }
    const Json::Value& Group(int group) const {
        return profile.DeviceSection()["CustomLightMode"]["LightColorInfo"][group];
    }

    CTempDataHome home;
    CKeyboardProfiledata profile;
    std::vector<LedColor> leds;
};

TEST_F(CustomGroupTest, SelectingAGroupStoresItsNumberAndLoadsItsColours) {
    profile.SetGroupColors({{1, 2, 3, 4}}, 2);
    EXPECT_TRUE(profile.SelectCustomGroup(2, 126, leds));
    EXPECT_EQ(profile.DeviceSection()["CustomLightMode"]["CustomLightModeGroupIndex"], Json::Value(2));
    ASSERT_EQ(leds.size(), 126u);
    EXPECT_EQ(leds[0], (LedColor{1, 2, 3, 4}));
    EXPECT_EQ(leds[125], LedColor{});
}

TEST_F(CustomGroupTest, FillingSetsEveryLedKeepsAlphaAndStoresOnlyWithAGroup) {
    leds.assign(126, LedColor{9, 9, 9, 7});
    EXPECT_FALSE(profile.FillCustomGroup(leds, 10, 20, 30, -1));
    EXPECT_EQ(leds[5], (LedColor{10, 20, 30, 7}));
    EXPECT_TRUE(Group(1).isNull());

    EXPECT_TRUE(profile.FillCustomGroup(leds, 0, 0, 0, 1));
    ASSERT_EQ(Group(1).size(), 126u);
    EXPECT_EQ(Group(1)[125], ParseJson(R"({"Red": 0, "Green": 0, "Blue": 0, "Alpha": 7})"));

    // A short LED array is filled out to the keyboard's 126 LEDs.
    leds.clear();
    profile.FillCustomGroup(leds, 1, 1, 1, -1);
    EXPECT_EQ(leds.size(), 126u);
}

TEST_F(CustomGroupTest, SettingOneLed) {
    leds.assign(126, LedColor{});
    EXPECT_TRUE(profile.SetCustomGroupLed(leds, 40, 255, 0, 0, 0));
    EXPECT_EQ(Group(0)[40]["Red"], Json::Value(255));
    EXPECT_EQ(Group(0)[39]["Red"], Json::Value(0));
    EXPECT_FALSE(profile.SetCustomGroupLed(leds, 41, 1, 1, 1, -1));
    EXPECT_EQ(leds[41], (LedColor{1, 1, 1, 0}));
    EXPECT_FALSE(profile.SetCustomGroupLed(leds, 126, 1, 1, 1, 0));
    EXPECT_FALSE(profile.SetCustomGroupLed(leds, -1, 1, 1, 1, 0));
    EXPECT_EQ(leds.size(), 126u);
}

}  // namespace
