#include "devices/headset/audio_conf_bridge.h"

#include "platform/paths.h"
#include "tests/support/audio_library_env.h"
#include "tests/support/temp_data_home.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr auto kPlayback = AudioEndpoint::kPlayback;
constexpr auto kRecording = AudioEndpoint::kRecording;

class AudioConfBridgeTest : public ::testing::Test {
protected:
    // Loads the built library through dlopen and starts it; the messages it raised are kept.
    void Start(CAudioConfBridge& bridge) {
        ASSERT_TRUE(bridge.Load(platform::ProgramFolder()))
            << CAudioConfBridge::LibraryPath(platform::ProgramFolder());
        bridge.Start([this](const std::string& text) { messages.push_back(text); });
    }

    CAudioLibraryEnv audio;
    std::vector<std::string> messages;
};

TEST_F(AudioConfBridgeTest, LibraryPathFollowsTheProcessWidth) {
    EXPECT_EQ(CAudioConfBridge::LibraryPath("/opt/n/"), sizeof(void*) == 8
                                                            ? "/opt/n/SDK/x64/linux/libosConfLib.so"
                                                            : "/opt/n/SDK/x86/linux/libosConfLib.so");
}

struct SChoiceCase {
    const char* endpoints;
    std::optional<int> playbackId;
    std::optional<int> recordingId;
};

TEST_F(AudioConfBridgeTest, EndpointsAreChosenByKindOrderAndPresence) {
    for (const SChoiceCase& c : {
             SChoiceCase{"playback:1:0,playback:1:1,recording:2:1", 1, 2},
             SChoiceCase{"playback:4:1,playback:7:1,playback:12:1,playback:1:0,recording:2:0", 2, 4},
             SChoiceCase{"playback:4:1,playback:7:1,recording:3:1,recording:2:1", 1, 3},
             SChoiceCase{"playback:4:1,playback:12:0", 0, std::nullopt},
             SChoiceCase{"playback:1:0,recording:2:1", std::nullopt, 1},
         }) {
        SCOPED_TRACE(c.endpoints);
        CAudioLibraryEnv::Set("NORVIK_OSCONF_ENDPOINTS", c.endpoints);
        CAudioConfBridge bridge;
        Start(bridge);
        const auto id = [&](AudioEndpoint e) {
            return bridge.Descriptor(e) ? std::optional<int>(bridge.Descriptor(e)->id) : std::nullopt;
        };
        EXPECT_EQ(id(kPlayback), c.playbackId);
        EXPECT_EQ(id(kRecording), c.recordingId);
    }
}

TEST_F(AudioConfBridgeTest, WithoutPlaybackDevicesNoPropertyIsTouched) {
    CAudioLibraryEnv::Set("NORVIK_OSCONF_ENDPOINTS", "");
    CAudioConfBridge bridge;
    Start(bridge);
    bridge.EnsureDefaults();
    EXPECT_FALSE(bridge.HasEndpoint(kRecording));
    EXPECT_FALSE(bridge.WriteInt(kRecording, "MuteControl", 1));
    EXPECT_EQ(bridge.ReadNumber(kPlayback, "EQ_Slider1"), std::nullopt);
    EXPECT_THAT(audio.Calls(), IsEmpty());
    EXPECT_THAT(messages, IsEmpty());
}

struct SFeatureCase {
    const char* recording;
    const char* playback;
    CAudioConfBridge::Features recordingValues;
    CAudioConfBridge::Features playbackValues;
    size_t messageCount;
};

TEST_F(AudioConfBridgeTest, FeatureListsNeedSevenFields) {
    for (const SFeatureCase& c : {
             SFeatureCase{"1,0,0,0,5,0,7", "131072,9,9,9,3,9,4,9", {1, 5, 7}, {131072, 3, 4}, 0},
             SFeatureCase{"1,0,0,0,5,0", "2,0,0,0,6,0,8", {0, 0, 0}, {2, 6, 8}, 1},
             SFeatureCase{"", "1,2", {0, 0, 0}, {0, 0, 0}, 2},
         }) {
        SCOPED_TRACE(c.recording);
        messages.clear();
        CAudioLibraryEnv::Set("NORVIK_OSCONF_FEATURES_RECORDING", c.recording);
        CAudioLibraryEnv::Set("NORVIK_OSCONF_FEATURES_PLAYBACK", c.playback);
        CAudioConfBridge bridge;
        Start(bridge);
        EXPECT_EQ(bridge.FeatureValues(kRecording), c.recordingValues);
        EXPECT_EQ(bridge.FeatureValues(kPlayback), c.playbackValues);
        EXPECT_EQ(messages, std::vector<std::string>(c.messageCount, "UpdateAPOAvailable failed!"));
    }
}

TEST_F(AudioConfBridgeTest, AFailedInitialisationIsReportedAndTheBridgeGoesOn) {
    CAudioLibraryEnv::Set("NORVIK_OSCONF_FAIL", "init");
    CAudioConfBridge bridge;
    Start(bridge);
    EXPECT_THAT(messages, ElementsAre("ConfLibInit called failed!"));
    EXPECT_FALSE(bridge.HasEndpoint(kPlayback));
}

TEST_F(AudioConfBridgeTest, AMissingLibraryLeavesEverythingUnavailable) {
    CTempDataHome folder;
    CAudioConfBridge bridge;
    EXPECT_FALSE(bridge.Load(folder.Root().string() + "/"));
    EXPECT_FALSE(bridge.Load(platform::ProgramFolder())) << "loading is tried once";
    bridge.Start([this](const std::string& text) { messages.push_back(text); });
    bridge.EnsureDefaults();
    EXPECT_FALSE(bridge.WriteFloat(kRecording, "VolumeScalarControl", 0.5F, AudioIndex::kMinusOne));
    EXPECT_THAT(messages, IsEmpty());
    EXPECT_THAT(audio.Calls(), IsEmpty());
}

TEST_F(AudioConfBridgeTest, DefaultsAreWrittenOnlyWhereAReadFails) {
    {
        CAudioConfBridge bridge;
        Start(bridge);
        audio.ClearLog();
        bridge.EnsureDefaults();
    }
    EXPECT_THAT(
        audio.Writes(),
        ElementsAre("write 0 VirtualSurroundEffectControl 0 index 4", "write 1 Enable_ENC_LFX 0 index 0",
                    "write 1 VolumeControl 0 index -1", "write 0 Enable_EQ_GFX 0 index 0",
                    "write 0 EQ_Slider1 0 index 0", "write 0 EQ_Slider2 0 index 0",
                    "write 0 EQ_Slider3 0 index 0", "write 0 EQ_Slider4 0 index 0",
                    "write 0 EQ_Slider5 0 index 0", "write 0 EQ_Slider6 0 index 0",
                    "write 0 EQ_Slider7 0 index 0", "write 0 EQ_Slider8 0 index 0",
                    "write 0 EQ_Slider9 0 index 0", "write 0 EQ_Slider10 0 index 0",
                    "write 0 Enable_RFX_GFX 0 index 0", "write 0 RFX_ENVIRONMENT 0 index 0",
                    "write 0 RFX_ROOMSIZE 0 index 0", "write 1 MuteControl 0 index 0",
                    "write 1 AAVolumeControl 0 index 0", "write 1 AAMuteControl 0 index 0",
                    "write 1 Enable_MAGICVOICE 0 index 0", "write 1 MagicVoice_Selection 0 index 0"))
        << "the scalars follow their levels, so they read back already";

    audio.ClearLog();
    CAudioLibraryEnv::Set("NORVIK_OSCONF_FAIL", "MuteControl:read");
    CAudioConfBridge second;
    Start(second);
    second.EnsureDefaults();
    EXPECT_THAT(audio.Writes(), ElementsAre("write 1 MuteControl 0 index 0"))
        << "the state file kept the rest";
}

TEST_F(AudioConfBridgeTest, ValuesAreRawOnTheWayInAndNumberTextOnTheWayBack) {
    {
        CAudioConfBridge bridge;
        Start(bridge);
        EXPECT_TRUE(bridge.WriteFloat(kRecording, "VolumeScalarControl", 0.57F, AudioIndex::kMinusOne));
        EXPECT_TRUE(bridge.WriteInt(kPlayback, "EQ_Slider4", -11));
        EXPECT_FALSE(bridge.WriteInt(kPlayback, "EQ_Slider4", 99)) << "outside the chip's range";
        EXPECT_FALSE(bridge.WriteInt(kRecording, "EQ_Slider4", 1)) << "a playback property";
    }
    EXPECT_EQ(audio.StateValue("1.VolumeScalarControl"), "0.57");
    CAudioConfBridge next;
    Start(next);
    EXPECT_NEAR(next.ReadNumber(kRecording, "VolumeScalarControl", AudioIndex::kMinusOne).value_or(-1), 0.57,
                1e-6);
    EXPECT_NEAR(next.ReadNumber(kRecording, "VolumeControl", AudioIndex::kMinusOne).value_or(-99), 11.94,
                1e-3);
    EXPECT_EQ(next.ReadNumber(kPlayback, "EQ_Slider4"), -11);
    EXPECT_EQ(next.ReadNumber(kPlayback, "EQ_Slider5"), std::nullopt) << "never written";
}

}  // namespace
