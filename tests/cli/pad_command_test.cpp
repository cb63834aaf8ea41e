#include "cli/pad_command.h"
#include "device/device_tables.h"
#include "platform/hid/hid_backend.h"
#include "profile/data_folders.h"
#include "profile/json_document.h"
#include "profile/profile_list.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse_pad.h"
#include "tests/support/temp_data_home.h"

#include <json/reader.h>

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Output {
    int code = 0;
    std::string out;
    std::string err;
};

Output Pad(std::vector<std::string> args) {
    std::ostringstream out, err;
    Output result;
    result.code = CPadCommand().Run(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

Json::Value Parsed(const std::string& text) {
    Json::Value value;
    std::istringstream in(text);
    Json::CharReaderBuilder builder;
    std::string errors;
    EXPECT_TRUE(Json::parseFromStream(builder, in, &value, &errors)) << text;
    return value;
}

}  // namespace

// norvikctl pad against the emulated pad on the process bus, with a fresh data folder.
class PadCommand : public ::testing::Test {
protected:
    void SetUp() override {
        platform::hid::SetProcessBackend(bus);
        bus->Plug(CSimulatedMousePad::kName, pad);
    }
    void TearDown() override {
        platform::hid::SetProcessBackend(nullptr);
        EXPECT_EQ(pad->Refusals(), 0u);
    }

    std::vector<uint8_t> Record() const {
        const std::vector<uint8_t> memory = pad->Memory();
        return {memory.begin(), memory.begin() + 25};
    }

    Json::Value SavedLight() const {
        CProfileList list(kKindMousePad, CDataFolders::UserDataFolder("MousePad"),
                          CDataFolders::DefaultProfileFile("MousePad"));
        list.Load();
        return CJsonDocument().ReadJsonValue(list.CurrentProfilePath())["Device"][0]["LightInfo"];
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMousePad> pad = std::make_shared<CSimulatedMousePad>();
};

TEST_F(PadCommand, LightLeavesTheRecordWorkedOutFromTheLayoutAndTheProfile) {
    const Output output =
        Pad({"light", "6", "--brightness", "1", "--speed", "0", "--colour", "#102030", "--json"});
    ASSERT_EQ(output.code, kExitOk) << output.err;
    // Slot 0, four-colour breathing, brightness 1, inverted speed 4, the pad's own 0x4F, single
    // colour 102030, then the pad's settings and its own four bytes as they were.
    const std::vector<uint8_t> expected = {0x00, 0x06, 0x01, 0x04, 0x4F, 0x00, 0x10, 0x20, 0x30,
                                           0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99,
                                           0xAA, 0xBB, 0xCC, 0x5A, 0xA5, 0x0F, 0x01};
    EXPECT_EQ(Record(), expected);
    const Json::Value answer = Parsed(output.out);
    EXPECT_TRUE(answer["ok"].asBool());
    EXPECT_EQ(answer["message"].asString(), "light mode 6");
    EXPECT_EQ(answer["light"]["mode"].asInt(), 6);
    EXPECT_EQ(answer["light"]["speed"].asInt(), 0);
    EXPECT_FALSE(answer["light"]["multicolour"].asBool());
    const Json::Value saved = SavedLight();
    EXPECT_EQ(saved["SelectItem"].asInt(), 6);
    EXPECT_EQ(saved["Light"].asInt(), 1);
    EXPECT_EQ(saved["Blue"].asInt(), 0x30);
    EXPECT_EQ(saved["MultiColor"].asInt(), 0);

    // Only the mode: the rest stays as the profile holds it.
    ASSERT_EQ(Pad({"light", "2"}).code, kExitOk);
    EXPECT_EQ(Record()[1], 2);
    EXPECT_EQ(Record()[2], 1);
    EXPECT_EQ(Record()[6], 0x10);
}

TEST_F(PadCommand, InfoAndGetTellWhatThePadAndItsProfileHold) {
    ASSERT_EQ(Pad({"light", "3", "--colour", "FF8000"}).code, kExitOk);
    pad->PressLightButton();  // static becomes blink on the pad itself

    const Output get = Pad({"get", "--json"});
    ASSERT_EQ(get.code, kExitOk) << get.err;
    const Json::Value record = Parsed(get.out);
    EXPECT_EQ(record["slot"].asInt(), 0);
    EXPECT_EQ(record["light"]["mode"].asInt(), 4);
    EXPECT_EQ(record["light"]["brightness"].asInt(), 4);
    EXPECT_EQ(record["light"]["speed"].asInt(), 2);
    EXPECT_EQ(record["light"]["red"].asInt(), 255);
    EXPECT_EQ(record["light"]["green"].asInt(), 128);
    EXPECT_EQ(record["light"]["blue"].asInt(), 0);

    const Output info = Pad({"info", "--json"});
    ASSERT_EQ(info.code, kExitOk) << info.err;
    const Json::Value facts = Parsed(info.out);
    EXPECT_EQ(facts["device"].asString(), "MousePad");
    EXPECT_NE(facts["path"].asString().find("mousepad"), std::string::npos);
    EXPECT_EQ(facts["led_count"].asInt(), 15);
    EXPECT_EQ(facts["active_slot"].asInt(), 0);
    EXPECT_FALSE(facts["profile"]["uuid"].asString().empty());
    EXPECT_EQ(Pad({"get"}).out, "slot:   0\nlight:  mode 4, brightness 4, speed 2, colour FF8000\n");
}

TEST_F(PadCommand, BadInputExitsTwoAndWritesNothing) {
    const std::vector<uint8_t> before = Record();
    const std::vector<std::vector<std::string>> cases = {
        {"light", "9"},
        {"light", "-1"},
        {"light", "wave"},
        {"light", "3", "--colour", "12345"},
        {"light", "3", "--colour", "GG0000"},
        {"light", "3", "--colour", "#1234567"},
        {"light", "3", "--brightness", "5"},
        {"light", "3", "--speed", "x"},
        {"light", "3", "--direction", "1"},
        {"light"},
        {"get", "now"},
        {"blink"},
        {"light", "3", "--speed"},
        {},
    };
    for (const auto& args : cases) {
        const Output output = Pad(args);
        EXPECT_EQ(output.code, kExitUsage) << (args.empty() ? "" : args.back());
        EXPECT_FALSE(output.err.empty());
    }
    EXPECT_EQ(Record(), before);
    EXPECT_TRUE(pad->Requests().empty()) << "nothing was even asked of the pad";
}

TEST_F(PadCommand, WithoutAPadOrWhenThePadRefusesTheExitCodeSaysSo) {
    // The read-back is 0x01, 0x03, 0x02, 0x05, 0x05; then 0x01 and the refused 0x06.
    pad->Faults().Add(FaultKind::kStatusRejected, 6);
    const Output refused = Pad({"light", "1"});
    EXPECT_EQ(refused.code, kExitFailure);
    EXPECT_NE(refused.err.find("did not take"), std::string::npos) << refused.err;
    EXPECT_EQ(Record()[1], 0) << "still wave";

    bus->Unplug(1);
    const Output none = Pad({"info"});
    EXPECT_EQ(none.code, kExitNoDevice);
    EXPECT_NE(none.err.find("NORVIK_SIMULATE=mousepad"), std::string::npos);
}
