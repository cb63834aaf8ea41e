#include "devices/common/light_model.h"
#include "devices/common/light_name_lists.h"

#include "profile/data_folders.h"
#include "profile/json_document.h"
#include "tests/support/temp_data_home.h"

#include <json/reader.h>

#include <gtest/gtest.h>

#include <sstream>

namespace {

Json::Value Parse(const std::string& text) {
    Json::Value value;
    std::istringstream in(text);
    std::string errors;
    EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &value, &errors)) << errors;
    return value;
}

TEST(LightModelTest, ParameterGroupsPerMode) {
    const LightParameterGroups all{true, true, true, true, true, true, false, false};
    for (const uint8_t mode : {0, 6, 7, 10, 12, 14, 18}) {
        EXPECT_EQ(CLightModel::Groups(mode), all) << int(mode);
    }
    // Mode 3 (static) has no speed and no direction.
    EXPECT_EQ(CLightModel::Groups(3),
              (LightParameterGroups{true, true, false, false, true, false, true, false}));
    // Mode 24 (off) offers nothing but "deng_same_mode".
    EXPECT_EQ(CLightModel::Groups(24),
              (LightParameterGroups{false, false, false, false, false, false, true, false}));
    EXPECT_TRUE(CLightModel::Groups(8).custom);
    EXPECT_FALSE(CLightModel::Groups(8).speed);
    EXPECT_TRUE(CLightModel::Groups(13).direction);
    EXPECT_FALSE(CLightModel::Groups(13).colour);
    EXPECT_TRUE(CLightModel::Groups(17).sameMode);
    EXPECT_FALSE(CLightModel::Groups(21).sameMode);
    EXPECT_EQ(CLightModel::Groups(25), LightParameterGroups{});
    EXPECT_EQ(CLightModel::Groups(255), LightParameterGroups{});
    for (int mode = 0; mode < 256; ++mode) {
        EXPECT_EQ(CLightModel::Groups(static_cast<uint8_t>(mode)).custom, mode == 8) << mode;
    }
}

TEST(LightModelTest, EachKindHasItsOwnModeGroups) {
    for (int mode = 0; mode < 256; ++mode) {
        const auto m = static_cast<uint8_t>(mode);
        EXPECT_EQ(CLightModel::GroupsOfKind(1, m), CLightModel::Groups(m)) << mode;
        for (const int mouse : {2, 6}) {
            const LightParameterGroups groups = CLightModel::GroupsOfKind(mouse, m);
            // Same mode for all is offered for the modes with a synchronised effect.
            const bool synchronised = mode == 1 || mode == 2 || mode == 4 || mode == 7 || mode == 11;
            EXPECT_EQ(groups.sameMode, synchronised) << mode;
            EXPECT_FALSE(groups.custom) << mode;
            EXPECT_EQ(groups.brightness, mode < 11) << mode;
        }
    }
    // Wave and flow run along a direction; the static modes have no speed.
    EXPECT_TRUE(CLightModel::GroupsOfKind(2, 3).direction);
    EXPECT_FALSE(CLightModel::GroupsOfKind(2, 4).speed);
    EXPECT_TRUE(CLightModel::GroupsOfKind(2, 8).colour);
    EXPECT_FALSE(CLightModel::GroupsOfKind(2, 1).colour);
    EXPECT_TRUE(CLightModel::GroupsOfKind(3, 0).colour);
}

TEST(LightModelTest, BrightnessLevelsAndFirmwareModes) {
    const uint8_t intensities[] = {30, 80, 135, 195, 255};
    for (uint8_t level = 0; level < 5; ++level) {
        EXPECT_EQ(CLightModel::Intensity(level), intensities[level]);
    }
    EXPECT_EQ(CLightModel::Intensity(9), 255);
    EXPECT_EQ(CLightModel::FirmwareMode(24), 24);
    EXPECT_EQ(CLightModel::FirmwareMode(25), 0);
    EXPECT_EQ(CLightModel::FirmwareMode(200), 0);
}

TEST(LightModelTest, ColourEditsAreClampedAndWrittenBack) {
    struct Case {
        const char* typed;
        uint8_t value;
        std::optional<std::string> shown;
    };
    const Case cases[] = {{"300", 255, "255"}, {"", 0, "0"},   {"128", 128, std::nullopt},
                          {"abc", 0, "0"},     {"-4", 0, "0"}, {"12x", 12, "12"}};
    for (const Case& c : cases) {
        const auto component = CLightModel::ColourComponent(c.typed);
        EXPECT_EQ(component.value, c.value) << c.typed;
        EXPECT_EQ(component.text, c.shown) << c.typed;
    }
    LightInfo light;
    light.red = 0x12;
    light.green = 0x34;
    light.blue = 0x56;
    EXPECT_EQ(CLightModel::Argb(light), 0xFF123456u);
}

TEST(LightNameListsTest, ListsAreReadAtTheLightTableIndex) {
    const Json::Value defaults = Parse(R"({
        "DefaultLightName": [[{"LightName": "Wave", "visible": true}],
                             [{"LightName": "Static", "visible": false}, {"LightName": 5}, "junk"]],
        "AreaLightName": [[], [{"LightName": "Logo"}]]})");
    EXPECT_EQ(CLightNameLists::ModeNames(defaults, 0), (std::vector<LightModeName>{{"Wave", true}}));
    EXPECT_EQ(CLightNameLists::ModeNames(defaults, 1),
              (std::vector<LightModeName>{{"Static", false}, {"", false}, {"", false}}));
    EXPECT_TRUE(CLightNameLists::ModeNames(defaults, 2).empty());
    EXPECT_TRUE(CLightNameLists::ModeNames(defaults, -1).empty());
    EXPECT_EQ(CLightNameLists::AreaNames(defaults, 1), std::vector<std::string>{"Logo"});

    const Json::Value config = Parse(R"({"LightInfo": [[{"LightName": "Mine", "Guid": "2024_01_01"}]]})");
    EXPECT_EQ(CLightNameLists::CustomEffects(config, 0),
              (std::vector<CustomEffectName>{{"Mine", "2024_01_01"}}));
    EXPECT_TRUE(CLightNameLists::CustomEffects(config, 1).empty());
    EXPECT_TRUE(CLightNameLists::CustomEffects(Parse(R"({"LightInfo": {"0": []}})"), 0).empty());
    EXPECT_TRUE(CLightNameLists::CustomEffects(Json::Value(), 0).empty());
}

TEST(LightNameListsTest, FilesAreReadFromTheirFolders) {
    CTempDataHome home;
    EXPECT_TRUE(CLightNameLists::ReadCustomEffects("keyboard", 0).empty());
    const std::string config = CDataFolders::UserDataFolder("keyboard") + "quorl_light.config";
    CJsonDocument().wirtejsonFile(config, Parse(R"({"LightInfo": [[], [{"LightName": "A", "Guid": "g"}]]})"));
    EXPECT_EQ(CLightNameLists::ReadCustomEffects("keyboard", 1), (std::vector<CustomEffectName>{{"A", "g"}}));

    // The shipped default light names give every device kind a list.
    const std::vector<LightModeName> shipped = CLightNameLists::ReadModeNames(0);
    if (shipped.empty()) {
        GTEST_SKIP() << "no DefaultData beside the programs";
    }
    for (const LightModeName& mode : shipped) {
        EXPECT_FALSE(mode.name.empty());
    }
}

}  // namespace
