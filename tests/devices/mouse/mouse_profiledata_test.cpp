#include "devices/mouse/mouse_profiledata.h"

#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

namespace {

DpiStage Stage(uint8_t active, uint16_t dpi, uint8_t red) {
    DpiStage stage;
    stage.active = active;
    stage.SetDpiX(dpi);
    stage.SetDpiY(dpi);
    stage.red = red;
    return stage;
}

Json::Value StageArray(int count, int dpiBase) {
    Json::Value list(Json::arrayValue);
    for (int i = 0; i < count; ++i) {
        Json::Value& element = list[i];
        element["StageActive"] = 1;
        element["StageXY"] = 0;
        element["StageDPIX"] = dpiBase + i;
        element["StageDPIY"] = dpiBase + i;
        element["StageColorR"] = 10 * i;
        element["StageColorG"] = 0;
        element["StageColorB"] = 300;  // beyond a byte: truncated
    }
    return list;
}

class MouseProfiledataTest : public ::testing::Test {
protected:
    void Load(const Json::Value& section) { LoadSection(profile, home.Path("p.Json"), section); }

    CTempDataHome home;
    CMouseProfiledata profile;
};

TEST_F(MouseProfiledataTest, StagesFromTheProfileReplaceTheFirstStoredStagesAndKeepTheRest) {
    profile.SetStages(std::vector<DpiStage>(7, Stage(0, 99, 99)));
    Json::Value section;
    section["DPIStages"]["StageActive"] = 2;
    section["DPIStages"]["StageDPIs"] = StageArray(5, 10);
    Load(section);

    const std::vector<DpiStage> stages = profile.GetStages();

    ASSERT_EQ(stages.size(), 7u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(stages[i].DpiX(), 10 + i);
        EXPECT_EQ(stages[i].red, 10 * i);
        EXPECT_EQ(stages[i].blue, 300 & 0xFF);
    }
    EXPECT_EQ(stages[5], Stage(0, 99, 99));
    EXPECT_EQ(stages[6], Stage(0, 99, 99));
    EXPECT_EQ(profile.GetActiveStage(), 2);
}

TEST_F(MouseProfiledataTest, LongerArraysExtendTheListAndAMissingSectionLeavesItAlone) {
    Json::Value section;
    section["DPIStages"]["StageDPIs"] = StageArray(3, 1);
    Load(section);
    EXPECT_EQ(profile.GetStages().size(), 3u);

    Load(ParseJson(R"({"SystemStages": {}})"));
    const std::vector<DpiStage> kept = profile.GetStages();
    EXPECT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[2].DpiX(), 3);
}

TEST_F(MouseProfiledataTest, DpiIsSplitLittleEndian) {
    Json::Value section;
    section["DPIStages"]["StageDPIs"][0]["StageDPIX"] = 1650;
    section["DPIStages"]["StageDPIs"][0]["StageDPIY"] = 0x1234;
    Load(section);
    const DpiStage stage = profile.GetStages().at(0);
    EXPECT_EQ(stage.dpiX[0], 0x72);
    EXPECT_EQ(stage.dpiX[1], 0x06);
    EXPECT_EQ(stage.dpiY[0], 0x34);
    EXPECT_EQ(stage.dpiY[1], 0x12);
}

TEST_F(MouseProfiledataTest, TheSensorChoosesTheStageArray) {
    Json::Value section;
    section["DPIStages"]["StageDPIs"] = StageArray(2, 100);
    section["DPIStages"]["StageDPIs_3360"] = StageArray(2, 500);
    Load(section);
    const Json::Value untouched = section["DPIStages"]["StageDPIs"];

    profile.SetSensorId(0x3360);
    EXPECT_EQ(profile.GetStages().at(0).DpiX(), 500);
    profile.SetStages({Stage(1, 777, 1)});
    EXPECT_EQ(profile.DeviceSection()["DPIStages"]["StageDPIs_3360"][0]["StageDPIX"].asInt(), 777);
    EXPECT_EQ(profile.DeviceSection()["DPIStages"]["StageDPIs_3360"][1]["StageDPIX"].asInt(), 501);
    EXPECT_EQ(profile.DeviceSection()["DPIStages"]["StageDPIs"], untouched);

    profile.SetSensorId(0x3389);
    EXPECT_EQ(profile.GetStages().at(0).DpiX(), 100);

    profile.SetSensorId(0x3327);  // no stage array of its own
    profile.SetStages({Stage(1, 1, 1), Stage(1, 2, 2)});
    EXPECT_EQ(profile.DeviceSection()["DPIStages"]["StageDPIs"], untouched);
    EXPECT_EQ(profile.GetStages().size(), 2u);
    EXPECT_EQ(profile.GetStages().at(1).DpiX(), 2);
}

TEST_F(MouseProfiledataTest, SetStagesWritesTheSevenKeysAsIntegers) {
    Load(Json::Value(Json::objectValue));
    DpiStage stage = Stage(1, 1650, 255);
    stage.separateXY = 1;
    stage.SetDpiY(3200);
    stage.green = 2;
    stage.blue = 3;
    profile.SetStages({stage});
    profile.SetActiveStage(4);
    EXPECT_EQ(profile.DeviceSection()["DPIStages"], ParseJson(R"({"StageActive": 4, "StageDPIs": [
        {"StageActive": 1, "StageXY": 1, "StageDPIX": 1650, "StageDPIY": 3200,
         "StageColorR": 255, "StageColorG": 2, "StageColorB": 3}]})"));

    EXPECT_EQ(profile.Save(), 0);
    CMouseProfiledata reloaded;
    reloaded.LoadDeviceSection(home.Path("p.Json"));
    EXPECT_EQ(reloaded.GetStages(), std::vector<DpiStage>{stage});
    EXPECT_EQ(reloaded.GetActiveStage(), 4);
}

TEST_F(MouseProfiledataTest, SystemSettingsRoundTripAndDefaultToZero) {
    Load(ParseJson(R"({"DPIStages": {}})"));
    EXPECT_EQ(profile.GetSystemSettings(), MouseSystemSettings{});

    const MouseSystemSettings settings{1, 2, 1, 0, 5, 3, 1, 2, 4};
    profile.SetSystemSettings(settings);
    EXPECT_EQ(profile.DeviceSection()["ReportStages"]["StageActive"].asInt(), 3);
    EXPECT_EQ(profile.DeviceSection()["SystemStages"], ParseJson(R"({"DoubleClickTime": 1, "MouseSpeed": 2,
        "PointerPrecision": 1, "ScorllPage": 0, "WheelScorlllinse": 5, "ASTSelectItem": 1,
        "MSHSelectItem": 2, "LOGOSelectItem": 4})"));
    EXPECT_EQ(profile.GetSystemSettings(), settings);

    Load(ParseJson(R"({"SystemStages": {"MouseSpeed": 70000, "DoubleClickTime": "fast"}})"));
    const MouseSystemSettings odd = profile.GetSystemSettings();
    EXPECT_EQ(odd.pointerSpeed, 70000 & 0xFFFF);
    EXPECT_EQ(odd.doubleClick, 0);
    EXPECT_EQ(odd.pollingRate, 0);
}

TEST_F(MouseProfiledataTest, CorrectionsAreReadAsTheyAre) {
    Load(ParseJson(R"({"CorrectInfo": [{"CorrectPixThresh": 3, "CorrectMinSq": 4, "CorrectSelect": 1,
        "CorrectName": "直线修正"}, null]})"));
    const std::vector<MouseCorrection> list = profile.GetCorrections();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], (MouseCorrection{3, 4, 1, "直线修正"}));
    EXPECT_EQ(list[1], MouseCorrection{});
}

TEST_F(MouseProfiledataTest, ConstructionStartsOnTheDefaultSensorWithNothingStored) {
    EXPECT_EQ(profile.GetSensorId(), 0x3325);
    EXPECT_TRUE(profile.GetStages().empty());
    EXPECT_EQ(profile.GetActiveStage(), 0);
}

}  // namespace
