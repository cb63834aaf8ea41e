#include "devices/headset/headset_audio.h"

#include "platform/paths.h"
#include "tests/support/audio_library_env.h"
#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using SaveResult = CHeadsetAudio::SaveResult;

class HeadsetAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoadSection(profile, home.Path("HD.Json"), ParseJson(R"({"SystemSetStages": {"EqType": 4}})"));
        Restart();
    }

    // A new run of the program: the library is loaded and started afresh, the profile re-read.
    void Restart() {
        audioState.reset();
        bridge = std::make_unique<CAudioConfBridge>();
        ASSERT_TRUE(bridge->Load(platform::ProgramFolder()));
        bridge->Start([](const std::string&) {});
        bridge->EnsureDefaults();
        audioState = std::make_unique<CHeadsetAudio>(*bridge, profile);
        audioState->LoadFromProfile();
        audioState->ReadAudioState();
        library.ClearLog();
    }

    CHeadsetAudio& Audio() { return *audioState; }

    CTempDataHome home;
    CAudioLibraryEnv library;
    CHs6533Profiledata profile;
    std::unique_ptr<CAudioConfBridge> bridge;
    std::unique_ptr<CHeadsetAudio> audioState;
};

TEST_F(HeadsetAudioTest, LevelsAreWrittenAsFractionsAndReadBackInTheNextRun) {
    ASSERT_TRUE(Audio().SetMicLevel(57));
    ASSERT_TRUE(Audio().SetMonitorLevel(100));
    EXPECT_THAT(library.Writes(), ElementsAre("write 1 VolumeScalarControl 0.57 index -1",
                                              "write 1 AAVolumeScalarControl 1 index -1"));
    EXPECT_EQ(profile.GetVoiceSettings().micInValue, 57);
    profile.SetVoiceSettings({});
    Restart();
    EXPECT_EQ(Audio().Settings().micInValue, 57) << "read from the library, not rounded down";
    EXPECT_EQ(Audio().Settings().micMonitorValue, 100);
}

TEST_F(HeadsetAudioTest, AFailedWriteLeavesTheProfileAsItWas) {
    ASSERT_TRUE(Audio().SetMicOn(true));
    const VoiceSettings before = profile.GetVoiceSettings();
    CAudioLibraryEnv::Set(
        "NORVIK_OSCONF_FAIL",
        "MuteControl:write,VolumeScalarControl:write,AAMuteControl:write,Enable_EQ_GFX:write,"
        "Enable_MAGICVOICE:write,MagicVoice_Selection:write");
    Restart();
    EXPECT_FALSE(Audio().SetMicOn(false));
    EXPECT_FALSE(Audio().SetMicLevel(20));
    EXPECT_FALSE(Audio().SetMonitorOn(true));
    EXPECT_FALSE(Audio().ApplyPreset(2));
    EXPECT_FALSE(Audio().SetVoiceChangerOn(true));
    EXPECT_FALSE(Audio().ChooseVoice(2));
    EXPECT_EQ(profile.GetVoiceSettings(), before);
}

TEST_F(HeadsetAudioTest, MovingABandSwitchesToCustomAndWritesThatBandOnly) {
    ASSERT_EQ(Audio().Settings().eqType, 4);
    ASSERT_TRUE(Audio().MoveBand(2, 9));
    EXPECT_THAT(library.Writes(), ElementsAre("write 0 EQ_Slider3 9 index 0"));
    EXPECT_EQ(Audio().Settings().eqType, 13);
    EXPECT_EQ(Audio().SelectedCustom(), -1);
    EXPECT_EQ(Audio().Gains()[2], 9);
    EXPECT_EQ(profile.GetVoiceSettings().eqType, 4) << "a band move is not stored";
}

TEST_F(HeadsetAudioTest, PresetsSwitchTheEqualiserOnAndWriteTheirGains) {
    ASSERT_TRUE(Audio().ApplyPreset(5));
    std::vector<std::string> expected{"write 0 Enable_EQ_GFX 1 index 0"};
    for (int band = 1; band <= 10; ++band) {
        expected.push_back("write 0 EQ_Slider" + std::to_string(band) + " 0 index 0");
    }
    EXPECT_EQ(library.Writes(), expected);
    EXPECT_EQ(profile.GetVoiceSettings().eqType, 5);

    ASSERT_TRUE(Audio().ApplyPreset(11));
    EXPECT_EQ(Audio().Gains(), (std::vector<int>{18, 14, 8, 2, -3, -6, -1, 2, 5, 6}));
    EXPECT_EQ(profile.GetPresetGains(11), Audio().Gains());
    library.ClearLog();
    for (int preset : {0, 14, -1}) {
        EXPECT_FALSE(Audio().ApplyPreset(preset)) << preset;
    }
    EXPECT_THAT(library.Writes(), IsEmpty());
}

TEST_F(HeadsetAudioTest, VoiceChangerTouchesEchoOnlyWhenSwitchedOn) {
    ASSERT_TRUE(Audio().SetVoiceChangerOn(true));
    EXPECT_THAT(library.Writes(),
                ElementsAre("write 1 Enable_MAGICVOICE 1 index 0", "write 1 Enable_MICECHO 0 index 0"));
    library.ClearLog();
    ASSERT_TRUE(Audio().SetVoiceChangerOn(false));
    EXPECT_THAT(library.Writes(), ElementsAre("write 1 Enable_MAGICVOICE 0 index 0"));
    library.ClearLog();
    EXPECT_FALSE(Audio().ChooseVoice(0));
    EXPECT_FALSE(Audio().ChooseVoice(5));
    EXPECT_THAT(library.Writes(), IsEmpty());
    ASSERT_TRUE(Audio().ChooseVoice(4));
    EXPECT_THAT(library.Writes(), ElementsAre("write 1 MagicVoice_Selection 3 index 0"));
    Restart();
    EXPECT_EQ(Audio().Settings().magicType, 4);
    EXPECT_EQ(Audio().Settings().magicEnable, 0);
}

TEST_F(HeadsetAudioTest, CustomEqualisersKeepUniqueNamesUpToTwenty) {
    ASSERT_TRUE(Audio().MoveBand(0, -5));
    EXPECT_EQ(Audio().SaveCustom(""), SaveResult::kNothing) << "no entry selected";
    EXPECT_EQ(Audio().SaveCustom("Bass"), SaveResult::kSaved);
    EXPECT_EQ(Audio().SaveCustom("bASS"), SaveResult::kNameTaken);
    for (int n = 1; n < CHeadsetAudio::kMaxCustom; ++n) {
        ASSERT_EQ(Audio().SaveCustom("eq" + std::to_string(n)), SaveResult::kSaved);
    }
    EXPECT_EQ(Audio().SaveCustom("one too many"), SaveResult::kNothing);
    EXPECT_EQ(profile.GetCustomNames().size(), 20U);
    EXPECT_EQ(profile.GetCustomNames()[0], "Bass");
    EXPECT_EQ(profile.GetCustomGains(0)[0], -5);
    EXPECT_EQ(Audio().SelectedCustom(), 19);
    EXPECT_EQ(profile.GetVoiceSettings().customEqSelectIndex, 19);
}

TEST_F(HeadsetAudioTest, DeletingCustomEqualisersFallsBackToTheFirstThenToPresetOne) {
    ASSERT_TRUE(Audio().ApplyPreset(1));
    ASSERT_TRUE(Audio().MoveBand(0, 3));
    ASSERT_EQ(Audio().SaveCustom("a"), SaveResult::kSaved);
    ASSERT_TRUE(Audio().MoveBand(0, 6));
    ASSERT_EQ(Audio().SaveCustom("b"), SaveResult::kSaved);

    ASSERT_TRUE(Audio().DeleteCustom());
    EXPECT_THAT(profile.GetCustomNames(), ElementsAre("a"));
    EXPECT_EQ(Audio().SelectedCustom(), 0);
    EXPECT_EQ(Audio().Gains()[0], 3);

    ASSERT_TRUE(Audio().DeleteCustom());
    EXPECT_THAT(profile.GetCustomNames(), IsEmpty());
    EXPECT_EQ(profile.GetVoiceSettings().eqType, 1);
    EXPECT_EQ(Audio().Gains(), CHeadsetAudio::PresetGains(1));
    EXPECT_EQ(library.StateValue("0.EQ_Slider1"), "7") << "the chip plays what the page shows";
    EXPECT_FALSE(Audio().DeleteCustom());
}

TEST_F(HeadsetAudioTest, ChoosingTheCustomPresetAppliesTheSelectedEqualiser) {
    ASSERT_TRUE(Audio().MoveBand(9, -20));
    ASSERT_EQ(Audio().SaveCustom("Treble"), SaveResult::kSaved);
    ASSERT_TRUE(Audio().ApplyPreset(1));
    library.ClearLog();
    ASSERT_TRUE(Audio().ApplyPreset(13));
    EXPECT_EQ(library.Writes().front(), "write 0 Enable_EQ_GFX 1 index 0");
    EXPECT_EQ(library.Writes().back(), "write 0 EQ_Slider10 -20 index 0");
    EXPECT_EQ(profile.GetVoiceSettings().eqType, 13);
}

}  // namespace
