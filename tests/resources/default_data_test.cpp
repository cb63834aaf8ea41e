#include "devices/headset/hs6533_profiledata.h"
#include "devices/keyboard/keyboard_profiledata.h"
#include "devices/mouse/mouse_profiledata.h"
#include "profile/data_folders.h"
#include "profile/json_access.h"
#include "profile/json_document.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Loads a device kind's shipped default profile the way a first start does: a bare profile file
// completed from the default.
class DefaultDataTest : public ::testing::Test {
protected:
    void Load(CBasicProfiledata& profile, const std::string& device) {
        const std::string path = home.Path(device + ".Json");
        Json::Value bare;
        bare["profilename"] = "profile1";
        document.wirtejsonFile(path, bare);
        profile.SetDefaultProfilePath(CDataFolders::DefaultProfileFile(device));
        profile.SetProfilePath(path);
        ASSERT_TRUE(profile.LoadDeviceSection(path).isObject()) << device;
    }

    static void ExpectLighting(CBasicProfiledata& profile, size_t zones) {
        EXPECT_TRUE(profile.DeviceSection()["LightInfo"].isObject());
        EXPECT_EQ(profile.GetLightInfo().light, 4);
        const std::vector<LightZone> list = profile.GetLightList();
        EXPECT_EQ(list.size(), zones);
        for (const LightZone& zone : list) {
            EXPECT_EQ(zone.present, 1);
        }
    }

    static uint32_t Code(const KeyAssignment& key) {
        return static_cast<uint32_t>(key.code1 << 16 | key.code2 << 8 | key.code3);
    }

    CTempDataHome home;
    CJsonDocument document;
};

TEST_F(DefaultDataTest, EveryShippedFileParses) {
    for (const char* name : {"mouse.Json", "mouse3389.Json", "keyboard.Json", "MousePad.Json", "HD.Json",
                             "default_light.json", "Language.config", "ShootData_0.Shoot",
                             "ShootData_1.Shoot", "ShootData_2.Shoot", "ShootData_3.Shoot"}) {
        EXPECT_TRUE(document.ReadJsonValue(CDataFolders::DefaultDataFolder() + name).isObject()) << name;
    }
}

TEST_F(DefaultDataTest, MouseProfilesHoldTheFactoryButtonsAndSevenStagesForEverySensor) {
    const std::vector<uint32_t> factory = {0x100100, 0x100200, 0x100400, 0x101000, 0x100800,
                                           0x130100, 0x130200, 0x130300, 0xA01B00, 0x169001};
    for (const char* device : {"mouse", "mouse3389"}) {
        SCOPED_TRACE(device);
        CMouseProfiledata profile;
        Load(profile, device);
        ExpectLighting(profile, 6);

        const std::vector<KeyAssignment> keys = profile.GetKeyList();
        ASSERT_EQ(keys.size(), factory.size());
        for (size_t i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(Code(keys[i]), factory[i]) << i;
            EXPECT_EQ(keys[i].defaultCode1 << 16 | keys[i].defaultCode2 << 8 | keys[i].defaultCode3,
                      static_cast<int>(factory[i]));
        }
        for (const uint16_t sensor : {0x3325, 0x3389, 0x3360}) {
            CMouseProfiledata fresh;
            Load(fresh, device);
            fresh.SetSensorId(sensor);
            const std::vector<DpiStage> stages = fresh.GetStages();
            ASSERT_EQ(stages.size(), 7u) << sensor;
            for (size_t i = 1; i < stages.size(); ++i) {
                EXPECT_EQ(stages[i].active, 1);
                EXPECT_GT(stages[i].DpiX(), stages[i - 1].DpiX()) << "stages rise";
            }
            EXPECT_EQ(fresh.GetActiveStage(), 1);
        }
        const MouseSystemSettings settings = profile.GetSystemSettings();
        EXPECT_GT(settings.pointerSpeed, 0);
        EXPECT_GT(settings.doubleClick, 0);
        EXPECT_TRUE(profile.DeviceSection()["ReportStages"].isMember("StageActive"));
        EXPECT_EQ(profile.GetCorrections().size(), 1u);
    }
}

TEST_F(DefaultDataTest, KeyboardProfileHoldsTheDefaultKeyTable) {
    CKeyboardProfiledata profile;
    Load(profile, "keyboard");
    ExpectLighting(profile, 126);

    const std::vector<KeyAssignment> keys = profile.GetKeyList();
    ASSERT_EQ(keys.size(), 126u);
    const std::vector<std::pair<int, uint32_t>> samples = {
        {0, 0x200029},   {1, 0x20003A},   {16, 0xA01B00},  {17, 0xA02400},  {18, 0x200000},
        {21, 0x200035},  {43, 0x200014},  {44, 0x20001A},  {62, 0x200000},  {64, 0x200004},
        {84, 0x200200},  {95, 0x202000},  {104, 0x200000}, {105, 0x200100}, {108, 0x20002C},
        {110, 0xA00100}, {118, 0x200058}, {120, 0xD0A201}, {124, 0xD0A205}, {125, 0x208000}};
    for (const auto& [position, code] : samples) {
        EXPECT_EQ(Code(keys[position]), code) << position;
    }
    std::set<uint32_t> distinct;
    for (const KeyAssignment& key : keys) {
        EXPECT_EQ(Code(key),
                  static_cast<uint32_t>(key.defaultCode1 << 16 | key.defaultCode2 << 8 | key.defaultCode3));
        distinct.insert(Code(key));
    }
    EXPECT_EQ(distinct.size(), 126u - 4u) << "only the five empty positions share a code";

    const KeyboardSystemStages settings = profile.GetSystemSettings();
    EXPECT_GT(settings.repeat, 0);
    EXPECT_LE(settings.pollingRate, 3);
    EXPECT_EQ(profile.GetGroupIndex(), 0);
    const Json::Value before = profile.DeviceSection();
    EXPECT_EQ(profile.GetGroupColors(0, 126).size(), 126u);
    EXPECT_EQ(profile.DeviceSection(), before) << "group 0 ships complete";
}

TEST_F(DefaultDataTest, PadAndHeadsetProfilesHoldTheirSections) {
    CBasicProfiledata pad;
    Load(pad, "MousePad");
    ExpectLighting(pad, 15);

    CHs6533Profiledata headset;
    Load(headset, "HD");
    ExpectLighting(headset, 13);
    const VoiceSettings voice = headset.GetVoiceSettings();
    EXPECT_GE(voice.eqType, 1);
    EXPECT_LE(voice.eqType, 12);
    EXPECT_EQ(voice.micInSelect, 1);
    const Json::Value before = headset.DeviceSection();
    EXPECT_EQ(headset.GetPresetGains(1), (std::vector<int>{7, 11, 2, -3, -1, 4, 9, 12, 9, 5}));
    EXPECT_EQ(headset.GetPresetGains(12), (std::vector<int>{2, 1, -2, -4, -8, 4, 12, 16, 18, 15}));
    for (int preset = 1; preset <= 12; ++preset) {
        headset.GetPresetGains(preset);
    }
    EXPECT_EQ(headset.DeviceSection(), before) << "every preset ships complete";
    EXPECT_TRUE(headset.GetCustomNames().empty());
    EXPECT_TRUE(headset.DeviceSection()["CustomEQHzValueInfo"].isArray());
}

TEST_F(DefaultDataTest, DefaultLightNamesCoverEveryLightTableIndex) {
    const Json::Value lights =
        document.ReadJsonValue(CDataFolders::DefaultDataFolder() + "default_light.json");
    const Json::Value& modes = CJsonAccess::Member(lights, "DefaultLightName");
    const Json::Value& areas = CJsonAccess::Member(lights, "AreaLightName");
    // Light-table indices: 0 keyboard (modes 0-24), 1 mouse (0-11), 2 pad (0-8), 3 headset.
    const std::vector<Json::ArrayIndex> counts = {25, 12, 9, 5};
    ASSERT_EQ(CJsonAccess::Size(modes), counts.size());
    ASSERT_EQ(CJsonAccess::Size(areas), counts.size());
    for (Json::ArrayIndex table = 0; table < counts.size(); ++table) {
        EXPECT_EQ(CJsonAccess::Size(modes[table]), counts[table]) << table;
        for (const Json::Value& mode : modes[table]) {
            EXPECT_FALSE(CJsonAccess::String(CJsonAccess::Member(mode, "LightName")).empty());
            EXPECT_TRUE(CJsonAccess::Member(mode, "visible").isBool());
        }
        EXPECT_GT(CJsonAccess::Size(areas[table]), 0u);
        for (const Json::Value& area : areas[table]) {
            EXPECT_FALSE(CJsonAccess::String(CJsonAccess::Member(area, "LightName")).empty());
        }
    }
    EXPECT_EQ(modes[0][24]["LightName"].asString(), "Off");
    EXPECT_EQ(modes[1][11]["LightName"].asString(), "Off");
}

TEST_F(DefaultDataTest, LanguageListStartsWithSimplifiedChineseAndHoldsEnglish) {
    const Json::Value list = CJsonAccess::Member(
        document.ReadJsonValue(CDataFolders::DefaultDataFolder() + "Language.config"), "Language");
    ASSERT_GE(CJsonAccess::Size(list), 2u);
    EXPECT_EQ(list[0]["Language_text"].asString(), "简体中文");
    bool english = false;
    std::set<int> ids;
    for (const Json::Value& language : list) {
        EXPECT_TRUE(language["Language_ID"].isInt());
        EXPECT_FALSE(CJsonAccess::String(language["Language_file"]).empty());
        EXPECT_FALSE(CJsonAccess::String(language["Language_text"]).empty());
        english = english || CJsonAccess::String(language["Language_name"]) == "en";
        ids.insert(CJsonAccess::Int(language["Language_ID"]));
    }
    EXPECT_TRUE(english);
    EXPECT_EQ(ids.size(), CJsonAccess::Size(list)) << "identifiers are unique";
}

TEST_F(DefaultDataTest, ShootFilesHoldThirtyBulletsOfSixEvents) {
    for (int gun = 0; gun < 4; ++gun) {
        SCOPED_TRACE(gun);
        const Json::Value shoot = document.ReadJsonValue(CDataFolders::DefaultDataFolder() + "ShootData_" +
                                                         std::to_string(gun) + ".Shoot");
        const Json::Value& events = CJsonAccess::Member(shoot, "Events");
        ASSERT_EQ(CJsonAccess::Size(events), 180u);
        for (Json::ArrayIndex b = 0; b < 30; ++b) {
            const auto bullet = [&](Json::ArrayIndex e) -> const Json::Value& { return events[6 * b + e]; };
            EXPECT_EQ(bullet(0)["Action"].asString(), "down");
            EXPECT_EQ(bullet(0)["Type"].asInt(), 1);
            EXPECT_EQ(bullet(1)["Action"].asString(), "up");
            EXPECT_EQ(bullet(2)["Type"].asInt(), 4);
            EXPECT_EQ(bullet(3)["Type"].asInt(), 5);
            EXPECT_GT(bullet(3)["Delay"].asInt(), 0);
            EXPECT_EQ(bullet(4)["Action"], bullet(2)["Action"]);
            EXPECT_EQ(bullet(5)["Action"], bullet(3)["Action"]);
            for (Json::ArrayIndex e = 0; e < 6; ++e) {
                const std::string action = CJsonAccess::String(bullet(e)["Action"]);
                EXPECT_TRUE(action == "down" || action == "up");
                EXPECT_TRUE(bullet(e)["Button"].isInt() && bullet(e)["Delay"].isInt());
            }
        }
    }
}

}  // namespace
