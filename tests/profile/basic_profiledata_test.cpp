#include "profile/basic_profiledata.h"

#include "profile/json_document.h"
#include "tests/support/debug_capture.h"
#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>
#include <json/reader.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class BasicProfiledataTest : public ::testing::Test {
protected:
    void SetUp() override {
        Json::Value defaults;
        defaults["Device"][0]["LightInfo"]["SelectItem"] = 4;
        defaults["Device"][0]["KeyList"][0]["Assignment"] = 0x100100;
        document.wirtejsonFile(defaultPath, defaults);
        profile.SetDefaultProfilePath(defaultPath);
        profile.SetProfilePath(profilePath);
    }

    // Writes a profile whose device section is the given value and loads it.
    void LoadSection(const Json::Value& section) {
        Json::Value root;
        root["Device"][0] = section;
        document.wirtejsonFile(profilePath, root);
        profile.LoadDeviceSection(profilePath);
    }

    static Json::Value Parse(const std::string& text) { return ParseJson(text); }

    CTempDataHome home;
    CJsonDocument document;
    const std::string defaultPath = home.Path("mouse.Json");
    const std::string profilePath = home.Path("2018_01_08_09_05_07_042.Json");
    CBasicProfiledata profile;
};

TEST_F(BasicProfiledataTest, AProfileWithoutADeviceSectionIsCompletedFromTheDefaultAndKeepsItsKeys) {
    Json::Value bare;
    bare["profilename"] = "Spiel 游戏";
    bare["profileUUID"] = "2018_01_08_09_05_07_042";
    document.wirtejsonFile(profilePath, bare);

    const Json::Value section = profile.LoadDeviceSection(profilePath);

    EXPECT_EQ(section["LightInfo"]["SelectItem"].asInt(), 4);
    const Json::Value written = document.ReadJsonValue(profilePath);
    EXPECT_EQ(written["profilename"].asString(), "Spiel 游戏");
    EXPECT_EQ(written["profileUUID"].asString(), "2018_01_08_09_05_07_042");
    EXPECT_EQ(written["Device"][0], section);
}

TEST_F(BasicProfiledataTest, AProfileWithASectionIsReadWithoutWriting) {
    LoadSection(Parse(R"({"LightInfo": {"SelectItem": 9}})"));
    const auto before = std::filesystem::last_write_time(profilePath);
    EXPECT_EQ(profile.LoadDeviceSection(profilePath)["LightInfo"]["SelectItem"].asInt(), 9);
    EXPECT_EQ(std::filesystem::last_write_time(profilePath), before);
}

TEST_F(BasicProfiledataTest, SaveReplacesOnlyTheDeviceSection) {
    Json::Value root;
    root["profilename"] = "keep";
    root["Device"][0]["KeyList"][0]["Assignment"] = 1;
    root["Device"][1] = "other device";
    document.wirtejsonFile(profilePath, root);
    profile.LoadDeviceSection(profilePath);
    profile.SetLightInfo(0x01, 0, 0);

    EXPECT_EQ(profile.Save(), 0);

    const Json::Value written = document.ReadJsonValue(profilePath);
    EXPECT_EQ(written["profilename"].asString(), "keep");
    EXPECT_EQ(written["Device"][1].asString(), "other device");
    EXPECT_EQ(written["Device"][0]["LightInfo"]["SelectItem"].asInt(), 1);
    EXPECT_EQ(written["Device"][0]["KeyList"][0]["Assignment"].asInt(), 1);
}

TEST_F(BasicProfiledataTest, SavingToAnUnreadableFileWritesADocumentOfTheDeviceArrayOnly) {
    std::filesystem::remove(profilePath);
    profile.LoadDeviceSection(profilePath);
    std::filesystem::remove(profilePath);
    EXPECT_EQ(profile.SaveDeviceSection(profile.DeviceSection(), profilePath), 0);
    const Json::Value written = document.ReadJsonValue(profilePath);
    EXPECT_EQ(written.getMemberNames(), std::vector<std::string>{"Device"});
    EXPECT_EQ(written["Device"][0], profile.DeviceSection());
}

TEST_F(BasicProfiledataTest, ADocumentOfTheWrongShapeIsRebuiltInsteadOfCrashingTheWriter) {
    for (const char* text : {"[1, 2]", "{\"Device\": 7}", "{\"Device\": [3]}", "\"text\""}) {
        std::ofstream(profilePath) << text;
        profile.LoadDeviceSection(profilePath);
        EXPECT_EQ(profile.GetLightInfo().selectItem, 4) << text;
        profile.SetKeyList({KeyAssignment{}});
        EXPECT_EQ(profile.Save(), 0) << text;
        EXPECT_TRUE(document.ReadJsonValue(profilePath)["Device"][0]["KeyList"].isArray()) << text;
    }
}

TEST_F(BasicProfiledataTest, LightInfoDecodesBytesAndMultiColorAsAFlag) {
    LoadSection(Parse(R"({"LightInfo": {"SelectItem": 259, "Light": 2, "Speed": 3, "Fx": 1,
        "MultiColor": 5, "Red": 10, "Green": "wrong type", "Blue": 30}})"));
    const LightInfo info = profile.GetLightInfo();
    EXPECT_EQ(info.selectItem, 3);  // 259 truncated to a byte
    EXPECT_EQ(info.light, 2);
    EXPECT_EQ(info.speed, 3);
    EXPECT_EQ(info.fx, 1);
    EXPECT_EQ(info.multiColor, 1);
    EXPECT_EQ(info.red, 10);
    EXPECT_EQ(info.green, 0);
    EXPECT_EQ(info.blue, 30);
    EXPECT_EQ(profile.CurrentLightInfo(), info);

    LoadSection(Parse(R"({"KeyList": []})"));
    EXPECT_EQ(profile.GetLightInfo(), LightInfo{});
}

TEST_F(BasicProfiledataTest, SetLightInfoSplitsItsWordsAndStoresOnlyTheFileFields) {
    LoadSection(Parse(R"({"LightInfo": {"Old": 1}})"));
    profile.SetLightInfo(0x04030201, 0x08070605, 0x000A0909);
    const LightInfo& info = profile.CurrentLightInfo();
    EXPECT_EQ(info.extraWord, 0x0909);
    EXPECT_EQ(info.extraByte, 10);
    const Json::Value expected = Parse(R"({"SelectItem": 1, "Light": 2, "Speed": 3, "Fx": 4,
        "MultiColor": 5, "Red": 6, "Green": 7, "Blue": 8})");
    EXPECT_EQ(profile.DeviceSection()["LightInfo"], expected);
    EXPECT_TRUE(profile.DeviceSection()["LightInfo"]["Red"].isInt());
}

TEST_F(BasicProfiledataTest, LightListGivesOneZonePerElementAndZerosForNulls) {
    LoadSection(Parse(R"({"LightList": [null, {"LEDREGMode": 2, "LEDBrightness": 3, "LEDSpeed": 4,
        "LEDDirection": 2, "LEDMultiColor": true, "red": 1, "green": 2, "blue": 3}, 5]})"));
    const std::vector<LightZone> zones = profile.GetLightList();
    ASSERT_EQ(zones.size(), 3u);
    EXPECT_EQ(zones[0], LightZone{});
    EXPECT_EQ(zones[1], (LightZone{2, 3, 4, 1, 1, 1, 2, 3, 0, 1}));
    EXPECT_EQ(zones[2].present, 1);

    LoadSection(Parse(R"({"LightList": {"not": "an array"}})"));
    EXPECT_TRUE(profile.GetLightList().empty());
}

class CustomLightEffectTest : public BasicProfiledataTest {
protected:
    void WriteConfig(const std::string& guid) {
        Json::Value config;
        config["LightInfo"][0][0]["LightName"] = "first";
        config["LightInfo"][0][0]["Guid"] = "{AAAA}";
        config["LightInfo"][0][1]["LightName"] = "second";
        config["LightInfo"][0][1]["Guid"] = guid;
        document.wirtejsonFile(configPath, config);
    }

    const std::string folder = home.Path("data/");
    const std::string configPath = folder + "quorl_light.config";
};

TEST_F(CustomLightEffectTest, StepsComeFromTheEffectFileBesideTheLightConfiguration) {
    std::filesystem::create_directories(folder);
    WriteConfig("{4695579F-999A-41d4-9FAF-EFFCE93EBF15}");
    document.wirtejsonFile(
        folder + "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}.light",
        Parse(R"({"LEDEffectList": [{"LEDREGMode": 5, "LEDDirection": 1, "LEDBrightness": 4,
        "LEDSpeed": 2, "LEDMultiColor": 0, "red": 255, "green": 128, "blue": 7, "Time": 1500, "Cyle": 3},
        {"LEDREGMode": 1}]})"));
    profile.SetLightInfo(1, 0, 0);  // select item 1: the second entry of list 0
    profile.LoadLightConfig(configPath);

    const std::vector<LedEffectStep> steps = profile.GetCustomLightEffect();

    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0], (LedEffectStep{5, 4, 2, 1, 0, 255, 128, 7, 1500, 3}));
    EXPECT_EQ(steps[1], (LedEffectStep{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(CustomLightEffectTest, WithoutALightConfigurationTheStoredStepsAreCleared) {
    std::filesystem::create_directories(folder);
    WriteConfig("{BBBB}");
    document.wirtejsonFile(folder + "{BBBB}.light", Parse(R"({"LEDEffectList": [{"Time": 1}]})"));
    profile.SetLightInfo(1, 0, 0);
    profile.LoadLightConfig(configPath);
    ASSERT_EQ(profile.GetCustomLightEffect().size(), 1u);

    EXPECT_TRUE(profile.LoadLightConfig(folder + "missing.config").isNull());
    EXPECT_TRUE(profile.GetCustomLightEffect().empty());
}

TEST_F(CustomLightEffectTest, AGuidThatWouldLeaveTheFolderIsRefused) {
    std::filesystem::create_directories(folder + "sub");
    document.wirtejsonFile(home.Path("outside.light"), Parse(R"({"LEDEffectList": [{"Time": 1}]})"));
    document.wirtejsonFile(folder + "sub/inside.light", Parse(R"({"LEDEffectList": [{"Time": 1}]})"));
    profile.SetLightInfo(1, 0, 0);
    for (const char* guid : {"../outside", "sub/inside", "/tmp/x", ""}) {
        WriteConfig(guid);
        profile.LoadLightConfig(configPath);
        CDebugCapture capture;
        EXPECT_TRUE(profile.GetCustomLightEffect().empty()) << guid;
    }
    profile.SetLightInfo(7, 0, 0);  // beyond the list: no Guid at all
    EXPECT_TRUE(profile.GetCustomLightEffect().empty());
}

TEST_F(BasicProfiledataTest, KeyListSplitsTheCodesIntoBytes) {
    LoadSection(Parse(R"({"KeyList": [{"Assignment": 131330, "DefaultAssignment": 0},
        {"DefaultAssignment": 1048832}, {"Assignment": "x"}]})"));
    const std::vector<KeyAssignment> keys = profile.GetKeyList();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0], (KeyAssignment{0, 0x02, 0x01, 0x02, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(keys[1], (KeyAssignment{1, 0, 0, 0, 0, 1, 0x10, 0x01, 0x00, 0}));
    EXPECT_EQ(keys[2], (KeyAssignment{2, 0, 0, 0, 0, 2, 0, 0, 0, 0}));
}

TEST_F(BasicProfiledataTest, SetKeyListRewritesOnlyItsOwnElementsAndNeverTheDefaults) {
    Json::Value section;
    for (int i = 0; i < 5; ++i) {
        section["KeyList"][i]["Assignment"] = 100 + i;
        section["KeyList"][i]["DefaultAssignment"] = 200 + i;
    }
    LoadSection(section);
    std::vector<KeyAssignment> keys(3);
    keys[1].code1 = 0x20;
    keys[1].code2 = 0x01;
    keys[1].code3 = 0x04;

    profile.SetKeyList(keys);

    const Json::Value& list = profile.DeviceSection()["KeyList"];
    EXPECT_EQ(list[0]["Assignment"].asInt(), 0);
    EXPECT_EQ(list[1]["Assignment"].asInt(), 0x200104);
    EXPECT_EQ(list[3]["Assignment"].asInt(), 103);
    EXPECT_EQ(list[4]["Assignment"].asInt(), 104);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list[i]["DefaultAssignment"].asInt(), 200 + i);
    }

    std::vector<KeyAssignment> longer(7);
    profile.SetKeyList(longer);
    EXPECT_EQ(profile.DeviceSection()["KeyList"][6].getMemberNames(), std::vector<std::string>{"Assignment"});
}

TEST_F(BasicProfiledataTest, ReadersOfAnUnloadedProfileGiveDefaults) {
    EXPECT_TRUE(profile.DeviceSection().isNull());
    EXPECT_EQ(profile.GetLightInfo(), LightInfo{});
    EXPECT_TRUE(profile.GetLightList().empty());
    EXPECT_TRUE(profile.GetKeyList().empty());
    EXPECT_TRUE(profile.GetCustomLightEffect().empty());
}

TEST_F(BasicProfiledataTest, EmptyPathsAreIgnoredExceptForTheLightConfiguration) {
    profile.SetProfilePath("");
    profile.SetDefaultProfilePath("");
    profile.SetLightConfigPath("x");
    profile.SetLightConfigPath("");
    EXPECT_EQ(profile.GetProfilePath(), profilePath);
    EXPECT_EQ(profile.GetDefaultProfilePath(), defaultPath);
    EXPECT_EQ(profile.GetLightConfigPath(), "");
}

TEST_F(BasicProfiledataTest, AFolderGivenAsTheProfileFileReadsAsMissing) {
    const Json::Value section = profile.LoadDeviceSection(home.Path("data"));
    EXPECT_EQ(section["LightInfo"]["SelectItem"].asInt(), 4);
    EXPECT_TRUE(std::filesystem::is_directory(home.Path("data")));
}

}  // namespace

TEST_F(BasicProfiledataTest, AProfileThatDoesNotParseIsMovedAsideBeforeTheDefaultTakesItsPlace) {
    const std::string damaged = "{\"Device\": [{\"LightInfo\": {\"SelectItem\": 9}}";  // cut short
    std::ofstream(profilePath) << damaged;

    profile.LoadDeviceSection(profilePath);

    EXPECT_EQ(profile.GetLightInfo().selectItem, 4);
    const std::vector<std::string> moved = profile.TakeSetAsideFiles();
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(std::filesystem::path(moved[0]).parent_path(),
              std::filesystem::path(profilePath).parent_path());
    EXPECT_NE(moved[0].find(".damaged-"), std::string::npos) << moved[0];
    std::ifstream kept(moved[0]);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), damaged);
    EXPECT_TRUE(profile.TakeSetAsideFiles().empty()) << "told once";

    profile.LoadDeviceSection(profilePath);
    EXPECT_TRUE(profile.TakeSetAsideFiles().empty()) << "the default written in its place is whole";

    std::ofstream(profilePath, std::ios::trunc) << "{ damaged while open";
    EXPECT_EQ(profile.Save(), 0);
    EXPECT_EQ(profile.TakeSetAsideFiles().size(), 1u) << "a save does not write over it either";
}
