#include "cli/headset_command.h"

#include "platform/hid/hid_backend.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_headset.h"
#include "tests/support/audio_library_env.h"
#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <sstream>

namespace {

struct SOutput {
    int code = 0;
    std::string out;
    std::string err;
};

SOutput Headset(std::vector<std::string> args) {
    std::ostringstream out, err;
    SOutput result;
    result.code = CHeadsetCommand().Run(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

Json::Value Get() {
    const SOutput output = Headset({"get", "--json"});
    EXPECT_EQ(output.code, kExitOk) << output.err;
    return ParseJson(output.out);
}

}  // namespace

// norvikctl headset against the emulated headset on the process bus and the built audio
// library, with a fresh data folder and library state: each command reads both afresh.
class HeadsetCommand : public ::testing::Test {
protected:
    void SetUp() override {
        platform::hid::SetProcessBackend(bus);
        bus->Plug("hs6533", headset);
    }
    void TearDown() override { platform::hid::SetProcessBackend(nullptr); }

    CTempDataHome home;
    CAudioLibraryEnv library;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedHeadset> headset = std::make_shared<CSimulatedHeadset>();
};

TEST_F(HeadsetCommand, ChangesReachTheLibraryTheProfileAndTheHeadset) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"mic", "off"},
                                               {"mic-level", "57"},
                                               {"monitor-level", "0"},
                                               {"eq", "11"},
                                               {"voice", "on"},
                                               {"voice-item", "4"},
                                               {"light", "3", "--speed", "4", "--colour", "102030"}}) {
        const SOutput output = Headset(args);
        EXPECT_EQ(output.code, kExitOk) << args[0] << ": " << output.err;
    }
    EXPECT_EQ(library.StateValue("1.MuteControl"), "1");
    EXPECT_EQ(library.StateValue("1.VolumeScalarControl"), "0.57");
    EXPECT_EQ(library.StateValue("0.EQ_Slider1"), "18");
    EXPECT_EQ(library.StateValue("1.MagicVoice_Selection"), "3");
    const std::vector<uint8_t> memory = headset->Memory();
    EXPECT_EQ((std::vector<uint8_t>(memory.begin() + 1, memory.begin() + 9)),
              (std::vector<uint8_t>{3, 4, 0, 0, 0, 0x10, 0x20, 0x30}));

    const Json::Value state = Get();
    EXPECT_EQ(state["mic"], ParseJson(R"({"on": false, "level": 57})"));
    EXPECT_EQ(state["monitor"]["level"].asInt(), 0);
    EXPECT_EQ(state["eq"]["preset"].asInt(), 11);
    EXPECT_EQ(state["eq"]["bands"], ParseJson("[18, 14, 8, 2, -3, -6, -1, 2, 5, 6]"));
    EXPECT_EQ(state["voice"], ParseJson(R"({"on": true, "item": 4})"));
    EXPECT_EQ(state["light"]["mode"].asInt(), 3);
    EXPECT_EQ(state["light"]["speed"].asInt(), 4);
}

TEST_F(HeadsetCommand, InfoNamesTheLibraryItsEndpointsAndTheBattery) {
    headset->SetBatteryLevel(40);
    CAudioLibraryEnv::Set("NORVIK_OSCONF_FEATURES_RECORDING", "131072,0,0,0,5,0,7");
    const SOutput output = Headset({"info", "--json"});
    ASSERT_EQ(output.code, kExitOk) << output.err;
    const Json::Value info = ParseJson(output.out);
    EXPECT_TRUE(info["library"]["loaded"].asBool());
    EXPECT_EQ(info["library"]["recording"]["features"], ParseJson("[131072, 5, 7]"));
    EXPECT_EQ(info["library"]["playback"]["kind"].asInt(), 1);
    EXPECT_TRUE(info["voice_changer"].asBool());
    EXPECT_EQ(info["battery"].asInt(), 40);
}

TEST_F(HeadsetCommand, BadValuesAreRefusedAndChangeNothing) {
    const Json::Value before = Get();
    library.ClearLog();
    for (const auto& args : std::vector<std::vector<std::string>>{{"mic-level", "101"},
                                                                  {"monitor-level", "-1"},
                                                                  {"mic", "maybe"},
                                                                  {"eq", "0"},
                                                                  {"eq", "14"},
                                                                  {"eq-band", "11", "0"},
                                                                  {"eq-band", "1", "21"},
                                                                  {"eq-delete", "0"},
                                                                  {"voice-item", "0"},
                                                                  {"light", "9"},
                                                                  {"light", "1", "--speed", "5"},
                                                                  {"unknown"}}) {
        const SOutput output = Headset(args);
        EXPECT_EQ(output.code, kExitUsage) << args[0];
        EXPECT_FALSE(output.err.empty()) << args[0];
    }
    EXPECT_TRUE(library.Writes().empty());
    EXPECT_EQ(Get(), before);
}

TEST_F(HeadsetCommand, CustomEqualisersAreNamedUniquelyAndAtMostTwenty) {
    ASSERT_EQ(Headset({"eq-band", "2", "-7"}).code, kExitOk);
    ASSERT_EQ(Headset({"eq-save", "Footsteps"}).code, kExitOk);
    const SOutput taken = Headset({"eq-save", "footSTEPS"});
    EXPECT_EQ(taken.code, kExitFailure);
    EXPECT_NE(taken.err.find("exists already"), std::string::npos);
    for (int n = 1; n < 20; ++n) {
        ASSERT_EQ(Headset({"eq-save", "eq" + std::to_string(n)}).code, kExitOk) << n;
    }
    const SOutput full = Headset({"eq-save", "one more"});
    EXPECT_EQ(full.code, kExitFailure);
    EXPECT_NE(full.err.find("at most 20"), std::string::npos);

    Json::Value state = Get();
    ASSERT_EQ(state["eq"]["custom"].size(), 20U);
    EXPECT_EQ(state["eq"]["custom"][0].asString(), "Footsteps");
    EXPECT_EQ(state["eq"]["preset"].asInt(), 13);
    EXPECT_EQ(state["eq"]["bands"][1].asInt(), -7);

    ASSERT_EQ(Headset({"eq-delete", "0"}).code, kExitOk);
    state = Get();
    EXPECT_EQ(state["eq"]["custom"].size(), 19U);
    EXPECT_EQ(state["eq"]["custom"][0].asString(), "eq1");
}

TEST_F(HeadsetCommand, AFailedLibraryWriteLeavesTheProfileAsItWas) {
    const Json::Value before = Get();
    CAudioLibraryEnv::Set("NORVIK_OSCONF_FAIL",
                          "MuteControl:write,AAVolumeScalarControl:write,Enable_EQ_GFX:write");
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"mic", "off"}, {"monitor-level", "10"}, {"eq", "2"}}) {
        EXPECT_EQ(Headset(args).code, kExitFailure) << args[0];
    }
    EXPECT_EQ(Get(), before);
}

TEST_F(HeadsetCommand, WithoutEndpointsAudioCommandsSayWhyAndLightStillWorks) {
    CAudioLibraryEnv::Set("NORVIK_OSCONF_ENDPOINTS", "");
    const SOutput mic = Headset({"mic-level", "20"});
    EXPECT_EQ(mic.code, kExitNoDevice);
    EXPECT_NE(mic.err.find("no headset playback and recording"), std::string::npos);
    EXPECT_EQ(Headset({"light", "1"}).code, kExitOk);
    EXPECT_EQ(headset->Memory()[1], 1);
}

// The shell's view: separate norvikctl runs on the emulated headset kept in a state file.
TEST(NorvikctlHeadset, SeparateRunsLeaveTheLibraryStateAndTheHeadsetRecord) {
    const char* programs = std::getenv("NORVIK_PROGRAM_DIR");
    ASSERT_NE(programs, nullptr);
    CTempDataHome home;
    CAudioLibraryEnv library;
    const std::string prefix = "NORVIK_SIMULATE=hs6533 NORVIK_SIM_STATE='" + home.Path("sim.json") + "' '" +
                               std::string(programs) + "/norvikctl' headset ";
    const auto run = [&](const std::string& args) {
        FILE* pipe = popen((prefix + args + " 2>&1").c_str(), "r");
        std::string output;
        char buffer[4096];
        for (size_t read; (read = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) {
            output.append(buffer, read);
        }
        return std::make_pair(WEXITSTATUS(pclose(pipe)), output);
    };
    EXPECT_EQ(run("monitor-level 33").first, kExitOk);
    EXPECT_EQ(run("light 4 --brightness 2").first, kExitOk);
    EXPECT_EQ(library.StateValue("1.AAVolumeScalarControl"), "0.33");
    const Json::Value sim = CJsonDocument().ReadJsonValue(home.Path("sim.json"));
    EXPECT_EQ(sim["hs6533"]["memory"][1].asInt(), 4);
    EXPECT_EQ(sim["hs6533"]["memory"][2].asInt(), 2);
    const auto [code, text] = run("get --json");
    ASSERT_EQ(code, kExitOk) << text;
    EXPECT_EQ(ParseJson(text)["monitor"]["level"].asInt(), 33);
}
