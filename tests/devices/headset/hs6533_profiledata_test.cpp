#include "devices/headset/hs6533_profiledata.h"

#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

namespace {

Json::Value Bands(std::initializer_list<int> gains) {
    Json::Value bands(Json::arrayValue);
    for (int gain : gains) {
        Json::Value band;
        band["value"] = gain;
        bands.append(band);
    }
    return bands;
}

class Hs6533ProfiledataTest : public ::testing::Test {
protected:
    void Load(const Json::Value& section) { LoadSection(profile, home.Path("h.Json"), section); }
    const Json::Value& Section(const char* key) const { return profile.DeviceSection()[key]; }

    CTempDataHome home;
    CHs6533Profiledata profile;
};

TEST_F(Hs6533ProfiledataTest, VoiceSettingsRoundTripAndDefaultToZero) {
    Load(ParseJson(R"({"LightInfo": {}})"));
    EXPECT_EQ(profile.GetVoiceSettings(), VoiceSettings{});
    const VoiceSettings settings{1, 3, 13, 2, 1, 80, 0, 45};
    profile.SetVoiceSettings(settings);
    EXPECT_EQ(Section("SystemSetStages"), ParseJson(R"({"MagicEnable": 1, "MagicType": 3, "EqType": 13,
        "CustomEqSeletIndex": 2, "MicInSelect": 1, "MicInValue": 80, "MicMoniterSelect": 0,
        "MicMoniterValue": 45})"));
    EXPECT_EQ(profile.GetVoiceSettings(), settings);
}

TEST_F(Hs6533ProfiledataTest, PresetGainsMapPresetNumbersAndSkipTheCustomPreset) {
    Json::Value section;
    section["EQHzValueInfo"][1] = Bands({7, 11, 2, -3, -1, 4, 9, 12, 9, 5});
    section["EQHzValueInfo"][12] = Bands({2, 1, -2, -4, -8, 4, 12, 16, 18, 15});
    Load(section);

    EXPECT_EQ(profile.GetPresetGains(12), (std::vector<int>{2, 1, -2, -4, -8, 4, 12, 16, 18, 15}));
    EXPECT_EQ(profile.GetPresetGains(0), (std::vector<int>{7, 11, 2, -3, -1, 4, 9, 12, 9, 5}));
    EXPECT_EQ(profile.GetPresetGains(14), profile.GetPresetGains(1));
    EXPECT_TRUE(profile.GetPresetGains(13).empty());

    profile.SetPresetGains(13, std::vector<int>(10, 5));
    EXPECT_EQ(Section("EQHzValueInfo").size(), 13u);
    profile.SetPresetGains(-2, std::vector<int>(10, -6));
    EXPECT_EQ(Section("EQHzValueInfo")[1][9]["value"].asInt(), -6);
}

TEST_F(Hs6533ProfiledataTest, AMissingPresetIsCreatedWithZeroGains) {
    Load(ParseJson(R"({"LightInfo": {}})"));
    EXPECT_EQ(profile.GetPresetGains(5), std::vector<int>(10, 0));
    ASSERT_EQ(Section("EQHzValueInfo")[5].size(), 10u);
    EXPECT_EQ(Section("EQHzValueInfo")[5][9], ParseJson(R"({"value": 0})"));
    EXPECT_TRUE(Section("EQHzValueInfo")[0].isNull());
}

TEST_F(Hs6533ProfiledataTest, CustomNamesAndGainsStayParallel) {
    Load(ParseJson(R"({"CustomEQNameInfo": [{"Name": "old"}]})"));
    profile.SetCustomNames({"Bass", "Vocal 人声", "Night"});
    EXPECT_EQ(Section("CustomEQNameInfo"), ParseJson(R"([{"Name": "Bass"}, {"Name": "Vocal 人声"},
        {"Name": "Night"}])"));
    EXPECT_EQ(profile.GetCustomNames(), (std::vector<std::string>{"Bass", "Vocal 人声", "Night"}));

    for (int i = 0; i < 3; ++i) {
        profile.SetCustomGains(i, std::vector<int>(10, i + 1));
    }
    profile.RemoveCustomGains(1);
    EXPECT_EQ(Section("CustomEQHzValueInfo").size(), 2u);
    EXPECT_EQ(profile.GetCustomGains(1), std::vector<int>(10, 3));
    profile.RemoveCustomGains(5);
    EXPECT_EQ(Section("CustomEQHzValueInfo").size(), 2u);
}

TEST_F(Hs6533ProfiledataTest, MissingCustomGainsReadAsZeroAndShortListsAreFilled) {
    Json::Value section;
    section["CustomEQHzValueInfo"][0] = Bands({1, 2, 3});
    Load(section);
    EXPECT_EQ(profile.GetCustomGains(0), (std::vector<int>{1, 2, 3, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(profile.GetCustomGains(2), std::vector<int>(10, 0));
    EXPECT_EQ(Section("CustomEQHzValueInfo")[2].size(), 10u);
    EXPECT_EQ(profile.GetCustomGains(-1), std::vector<int>(10, 0));
    profile.SetCustomGains(100000, std::vector<int>(10, 1));
    EXPECT_EQ(Section("CustomEQHzValueInfo").size(), 3u);
}

TEST_F(Hs6533ProfiledataTest, NamesOfTheWrongTypeReadAsEmpty) {
    Load(ParseJson(R"({"CustomEQNameInfo": [{"Name": 5}, "bare", {"Name": "ok"}]})"));
    EXPECT_EQ(profile.GetCustomNames(), (std::vector<std::string>{"", "", "ok"}));
}

}  // namespace
