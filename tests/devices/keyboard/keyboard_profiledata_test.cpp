#include "devices/keyboard/keyboard_profiledata.h"

#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

namespace {

class KeyboardProfiledataTest : public ::testing::Test {
protected:
    void Load(const Json::Value& section) { LoadSection(profile, home.Path("k.Json"), section); }
    const Json::Value& Group(int group) const {
        return profile.DeviceSection()["CustomLightMode"]["LightColorInfo"][group];
    }

    CTempDataHome home;
    CKeyboardProfiledata profile;
};

TEST_F(KeyboardProfiledataTest, MissingSystemSettingsReadAsZeroAndWritingCreatesAllSix) {
    Load(ParseJson(R"({"LightInfo": {}})"));
    EXPECT_EQ(profile.GetSystemSettings(), KeyboardSystemStages{});

    profile.SetSystemSettings({30, 2, 1, 3, 0, 1});
    EXPECT_EQ(profile.DeviceSection()["SystemStages"], ParseJson(R"({"Repeat": 30, "RepeatDelay": 2,
        "Key6Flag": 1, "PollingRate": 3, "WFlag": 0, "WinFlag": 1})"));
    EXPECT_EQ(profile.GetSystemSettings(), (KeyboardSystemStages{30, 2, 1, 3, 0, 1}));
}

TEST_F(KeyboardProfiledataTest, SystemSettingsAreCutTo16Bits) {
    Load(ParseJson(R"({"SystemStages": {"Repeat": 65537, "RepeatDelay": "slow", "WinFlag": true}})"));
    const KeyboardSystemStages settings = profile.GetSystemSettings();
    EXPECT_EQ(settings.repeat, 1);
    EXPECT_EQ(settings.repeatDelay, 0);
    EXPECT_EQ(settings.winFlag, 1);
}

TEST_F(KeyboardProfiledataTest, ReadingAMissingGroupCreatesItAsZeroObjects) {
    Load(ParseJson(R"({"LightInfo": {}})"));
    const std::vector<LedColor> colors = profile.GetGroupColors(3, 126);
    EXPECT_EQ(colors, std::vector<LedColor>(126));
    ASSERT_EQ(Group(3).size(), 126u);
    EXPECT_EQ(Group(3)[125], ParseJson(R"({"Red": 0, "Green": 0, "Blue": 0, "Alpha": 0})"));
    EXPECT_TRUE(Group(0).isNull());

    ASSERT_EQ(profile.Save(), 0);
    CKeyboardProfiledata reloaded;
    reloaded.LoadDeviceSection(home.Path("k.Json"));
    EXPECT_EQ(reloaded.DeviceSection()["CustomLightMode"]["LightColorInfo"][3].size(), 126u);
}

TEST_F(KeyboardProfiledataTest, AShortGroupIsReadAndExtendedToTheCount) {
    Json::Value section;
    for (int i = 0; i < 10; ++i) {
        Json::Value& entry = section["CustomLightMode"]["LightColorInfo"][1][i];
        entry["Red"] = i;
        entry["Green"] = 256 + i;  // cut to a byte
        entry["Blue"] = 2;
        entry["Alpha"] = 255;
    }
    section["CustomLightMode"]["LightColorInfo"][1][4] = Json::Value();
    Load(section);

    const std::vector<LedColor> colors = profile.GetGroupColors(1, 126);

    ASSERT_EQ(colors.size(), 126u);
    EXPECT_EQ(colors[3], (LedColor{3, 3, 2, 255}));
    EXPECT_EQ(colors[4], LedColor{});
    EXPECT_EQ(colors[9], (LedColor{9, 9, 2, 255}));
    EXPECT_EQ(colors[10], LedColor{});
    EXPECT_EQ(Group(1).size(), 126u);
    EXPECT_TRUE(Group(1)[4].isObject());
}

TEST_F(KeyboardProfiledataTest, WritingFewerColoursLeavesTheRestOfTheGroup) {
    Load(ParseJson(R"({"LightInfo": {}})"));
    profile.SetGroupColors(std::vector<LedColor>(5, LedColor{9, 9, 9, 9}), 2);
    profile.SetGroupColors({{1, 2, 3, 4}, {5, 6, 7, 8}}, 2);
    ASSERT_EQ(Group(2).size(), 5u);
    EXPECT_EQ(Group(2)[1], ParseJson(R"({"Red": 5, "Green": 6, "Blue": 7, "Alpha": 8})"));
    EXPECT_EQ(Group(2)[4]["Red"].asInt(), 9);
}

TEST_F(KeyboardProfiledataTest, GroupIndexDefaultsToZeroAndRoundTrips) {
    Load(ParseJson(R"({"CustomLightMode": {"CustomLightModeGroupIndex": "two"}})"));
    EXPECT_EQ(profile.GetGroupIndex(), 0);
    profile.SetGroupIndex(2);
    EXPECT_EQ(profile.DeviceSection()["CustomLightMode"]["CustomLightModeGroupIndex"].asInt(), 2);
    EXPECT_EQ(profile.GetGroupIndex(), 2);
}

TEST_F(KeyboardProfiledataTest, GroupNumbersOutsideTheirRangeCreateNothing) {
    Load(ParseJson(R"({"LightInfo": {}})"));
    EXPECT_TRUE(profile.GetGroupColors(-1, 126).empty());
    EXPECT_TRUE(profile.GetGroupColors(1000000, 126).empty());
    profile.SetGroupColors({{1, 1, 1, 1}}, 1000000);
    EXPECT_FALSE(profile.DeviceSection().isMember("CustomLightMode") &&
                 profile.DeviceSection()["CustomLightMode"]["LightColorInfo"].size() > 256);
}

}  // namespace
