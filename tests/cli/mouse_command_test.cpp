#include "cli/mouse_command.h"
#include "cli/devices_command.h"
#include "device/command_report.h"
#include "devices/mouse/mouse_wire_format.h"
#include "macro/macro_list.h"
#include "platform/hid/hid_backend.h"
#include "profile/data_folders.h"
#include "profile/profile_list.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"
#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct Output {
    int code = 0;
    std::string out;
    std::string err;
};

Output Mouse(std::vector<std::string> args) {
    std::ostringstream out, err;
    Output result;
    result.code = CMouseCommand().Run(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

Json::Value JsonOf(const Output& output) {
    return ParseJson(output.out);
}

}  // namespace

// norvikctl's commands against one emulated mouse on the process bus, with a
// fresh data folder.
class MouseCommand : public ::testing::Test {
protected:
    void SetUp() override { platform::hid::SetProcessBackend(bus); }
    void TearDown() override { platform::hid::SetProcessBackend(nullptr); }

    void Plug() {
        mouse = std::make_shared<CSimulatedMouse>(MouseModel3389());
        handle = bus->Plug("mouse3389", mouse);
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMouse> mouse;
    uint64_t handle = 0;
};

TEST_F(MouseCommand, WithoutAMouseEveryCommandSaysSo) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"info"}, {"get", "--json"}, {"set-dpi", "1", "800"}}) {
        const Output output = Mouse(args);
        EXPECT_EQ(output.code, kExitNoDevice) << args[0];
        EXPECT_NE(output.err.find("No Norvik mouse is connected"), std::string::npos);
    }
    std::ostringstream out, err;
    EXPECT_EQ(CDevicesCommand().Run({}, out, err), kExitNoDevice);
}

TEST_F(MouseCommand, DevicesNamesAMouseThatCannotBeOpenedAndTheRuleToInstall) {
    Plug();
    ASSERT_TRUE(bus->DenyAccess(handle));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{"--json"}}) {
        std::ostringstream out, err;
        EXPECT_EQ(CDevicesCommand().Run(args, out, err), kExitNoDevice);
        const std::string text = err.str();
        EXPECT_NE(text.find("sim#mouse3389." + std::to_string(handle) + " cannot be opened"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("packaging/udev/70-norvik.rules"), std::string::npos) << text;
    }
    EXPECT_EQ(Mouse({"info"}).code, kExitNoDevice);
}

TEST_F(MouseCommand, SetDpiStoresTheProfileAndWritesTheMouse) {
    Plug();
    const Output set = Mouse({"set-dpi", "2", "3200"});
    ASSERT_EQ(set.code, kExitOk) << set.err;
    EXPECT_NE(set.out.find("3200 DPI (position 31)"), std::string::npos) << set.out;
    EXPECT_EQ(mouse->Memory()[16], 31);

    // First use made the profile list and its profile; the change is in that
    // file.
    CProfileList list(2, CDataFolders::UserDataFolder("mouse3389"),
                      CDataFolders::DefaultProfileFile("mouse3389"));
    ASSERT_EQ(list.Load(), 1);
    const Json::Value document = CJsonDocument().ReadJsonValue(list.CurrentProfilePath());
    EXPECT_EQ(document["Device"][0]["DPIStages"]["StageDPIs"][1]["StageDPIX"].asInt(), 31);

    const Json::Value get = JsonOf(Mouse({"get", "--json"}));
    ASSERT_EQ(get["stages"].size(), 7u);
    EXPECT_EQ(get["stages"][1]["position"].asInt(), 31);
    EXPECT_EQ(get["stages"][1]["dpi"].asInt(), 3200);
    for (const char* key : {"profile_index", "polling", "active_stage", "logo", "ast"}) {
        EXPECT_TRUE(get[key].isInt()) << key;
    }
    for (const char* key : {"mode", "brightness", "speed", "fx", "multicolour", "red", "green", "blue"}) {
        EXPECT_TRUE(get["light"][key].isInt()) << key;
    }
}

// A damaged list or profile is set aside and replaced on the way to any command; the user is told
// where each went.
TEST_F(MouseCommand, DamagedProfileFilesAreNamedWhereTheyWereKept) {
    Plug();
    ASSERT_EQ(Mouse({"get"}).code, kExitOk);
    CProfileList list(2, CDataFolders::UserDataFolder("mouse3389"),
                      CDataFolders::DefaultProfileFile("mouse3389"));
    ASSERT_EQ(list.Load(), 1);
    std::ofstream(list.CurrentProfilePath(), std::ios::binary | std::ios::trunc) << "\x01\x02 not json";
    const Output profile = Mouse({"get"});
    EXPECT_EQ(profile.code, kExitOk) << profile.err;
    EXPECT_NE(profile.err.find("a damaged profile was kept as " + list.CurrentProfilePath() + ".damaged"),
              std::string::npos)
        << profile.err;

    std::ofstream(CDataFolders::UserDataFolder("mouse3389") + CProfileList::kListFileName,
                  std::ios::binary | std::ios::trunc)
        << "{ cut";
    const Output listed = Mouse({"get"});
    EXPECT_EQ(listed.code, kExitOk) << listed.err;
    EXPECT_NE(listed.err.find("a damaged profile list was kept as "), std::string::npos) << listed.err;
    EXPECT_EQ(Mouse({"get"}).err, "") << "told once";
}

TEST_F(MouseCommand, OutOfRangeValuesChangeNothing) {
    Plug();
    const std::vector<uint8_t> before = mouse->Memory();
    const std::vector<std::vector<std::string>> cases = {
        {"set-dpi", "8", "800"},
        {"set-dpi", "1", "16050"},
        {"set-dpi", "1", "50"},
        {"set-dpi", "1", "x"},
        {"polling", "5"},
        {"stage", "1", "maybe"},
        {"light", "12"},
        {"light", "3", "--speed", "5"},
        {"light", "3", "--colour", "12345G"},
        {"light", "3", "--color", "FF0000"},
        {"frobnicate"},
    };
    for (const auto& args : cases) {
        const Output output = Mouse(args);
        EXPECT_EQ(output.code, kExitUsage) << args[0] << " " << args.back();
        EXPECT_FALSE(output.err.empty());
    }
    EXPECT_EQ(mouse->Memory(), before);
}

TEST_F(MouseCommand, LightPollingAndStagesReachTheRecord) {
    Plug();
    ASSERT_EQ(Mouse({"light", "4", "--brightness", "2", "--speed", "1", "--colour", "#10A0FF"}).code,
              kExitOk);
    ASSERT_EQ(Mouse({"polling", "3"}).code, kExitOk);
    const std::vector<uint8_t> memory = mouse->Memory();
    EXPECT_EQ(memory[1], 4);
    EXPECT_EQ(memory[2], 2);
    EXPECT_EQ(memory[3], 3);  // 4 - speed index
    EXPECT_EQ(memory[5], 0);  // a chosen colour ends multicolour
    EXPECT_EQ(memory[6], 0x10);
    EXPECT_EQ(memory[7], 0xA0);
    EXPECT_EQ(memory[8], 0xFF);
    EXPECT_EQ(memory[14], 3);

    for (int stage = 2; stage <= 7; ++stage) {
        Mouse({"stage", std::to_string(stage), "off"});
    }
    const Output last = Mouse({"stage", "1", "off"});
    EXPECT_EQ(last.code, kExitUsage);
    EXPECT_NE(last.err.find("last enabled stage"), std::string::npos);
}

TEST_F(MouseCommand, ARefusingMouseGivesAFailureExit) {
    Plug();
    ASSERT_EQ(Mouse({"info"}).code, kExitOk);
    // The next command's read-back takes four requests (0x01, 0x03, 0x07, 0x02)
    // and its write starts with 0x01; the record that follows is refused.
    mouse->Faults().Add(FaultKind::kStatusRejected, 5);
    const Output output = Mouse({"polling", "2"});
    EXPECT_EQ(output.code, kExitFailure);
    EXPECT_NE(output.err.find("did not take"), std::string::npos);
}

TEST_F(MouseCommand, KeysNameEveryButton) {
    Plug();
    const Output output = Mouse({"keys", "--json"});
    ASSERT_EQ(output.code, kExitOk) << output.err;
    const Json::Value keys = ParseJson(output.out);
    ASSERT_EQ(keys.size(), mousewire::kHostButtonCount);
    EXPECT_EQ(keys[0]["name"].asString(), "mouse_key_left");
    EXPECT_EQ(keys[0]["position"].asInt(), 0);
    EXPECT_FALSE(keys[0]["function"].asString().empty());
}

// The bytes the emulated mouse's key table holds at the firmware position of a host button.
std::vector<uint8_t> KeyTableEntry(const CSimulatedMouse& mouse, int position) {
    const std::vector<uint8_t> table = mouse.KeyTable();
    return {table.begin() + position * 3, table.begin() + position * 3 + 3};
}

TEST_F(MouseCommand, AssignWritesTheFunctionIntoTheKeyTableAndTheProfile) {
    Plug();
    const Json::Value before = JsonOf(Mouse({"keys", "--json"}));
    const int position = before[1]["position"].asInt();
    EXPECT_EQ(before[1]["firmware_bytes"].asString(), "10:02:00");
    EXPECT_EQ(before[1]["bytes"].asString(), "10:02:00");
    // Expected bytes from the USB HID usage tables: consumer Play/Pause 0xCD, Volume Up 0xE9,
    // keyboard A 0x04, F12 0x45; the mouse's DPI cycle and middle button codes.
    struct Case {
        const char* function;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"media_play", {0x30, 0xCD, 0x00}},
        {"media_vol_add", {0x30, 0xE9, 0x00}},
        {"keyboard_key_A", {0x20, 0x00, 0x04}},
        {"keyboard_key_F12", {0x20, 0x00, 0x45}},
        {"mouse_key_DPI_loop", {0x13, 0x03, 0x00}},
        {"mouse_key_middle", {0x10, 0x04, 0x00}},
        {"close_text", {0xA0, 0x00, 0x00}},
        {"20:05:1d", {0x20, 0x05, 0x1D}},
        {"default", {0x10, 0x02, 0x00}},
    };
    for (const Case& c : cases) {
        const Output output = Mouse({"assign", "1", c.function});
        ASSERT_EQ(output.code, kExitOk) << c.function << ": " << output.err;
        EXPECT_EQ(KeyTableEntry(*mouse, position), c.bytes) << c.function;
        const Json::Value keys = JsonOf(Mouse({"keys", "--json"}));
        EXPECT_EQ(keys[1]["code"].asUInt(),
                  static_cast<unsigned>(c.bytes[0] << 16 | c.bytes[1] << 8 | c.bytes[2]))
            << c.function;
        EXPECT_EQ(keys[1]["firmware_bytes"], keys[1]["bytes"]) << c.function;
    }
}

TEST_F(MouseCommand, AssigningAMacroWritesTheMacrosAndTheKey) {
    Plug();
    CMacroList macros(CDataFolders::UserDataFolder("mouse3389"));
    const std::optional<size_t> macro = macros.Create();
    ASSERT_TRUE(macro.has_value());
    MacroEvent press;
    press.action = "down";
    press.type = MacroEvent::kOtherKey;
    press.button = 0x04;
    ASSERT_EQ(macros.Save(*macro, {press}), 0);
    const int position = JsonOf(Mouse({"keys", "--json"}))[1]["position"].asInt();
    const Output output = Mouse({"assign", "1", "macro:0:2"});
    ASSERT_EQ(output.code, kExitOk) << output.err;
    EXPECT_EQ(KeyTableEntry(*mouse, position), (std::vector<uint8_t>{0x70, 0x00, 0x02}));
    const std::vector<uint8_t> memory = mouse->MacroMemory();
    ASSERT_GE(memory.size(), 2u);
    EXPECT_EQ(memory[0] | memory[1] << 8, 0x55AA);
    EXPECT_EQ(Mouse({"assign", "1", "macro:1"}).code, kExitUsage);
    EXPECT_EQ(Mouse({"assign", "1", "macro:0:4"}).code, kExitUsage);
}

TEST_F(MouseCommand, AssignRefusesBadArgumentsAndChangesNothing) {
    Plug();
    ASSERT_EQ(Mouse({"assign", "1", "media_play"}).code, kExitOk);
    const std::vector<uint8_t> table = mouse->KeyTable();
    const std::string profile = JsonOf(Mouse({"keys", "--json"})).toStyledString();
    for (const auto& [button, function] :
         std::vector<std::pair<std::string, std::string>>{{"1", "media_ploy"},
                                                          {"1", "30:CD"},
                                                          {"1", "30:CD:0G"},
                                                          {"1", "300:CD:00"},
                                                          {"1", "macro:0"},
                                                          {"1", "macro:x"},
                                                          {"10", "media_play"},
                                                          {"-1", "media_play"},
                                                          {"one", "media_play"},
                                                          {"0", "media_play"}}) {
        const Output output = Mouse({"assign", button, function});
        EXPECT_EQ(output.code, kExitUsage) << button << " " << function;
        EXPECT_NE(output.err.find("norvikctl:"), std::string::npos) << output.err;
    }
    EXPECT_EQ(mouse->KeyTable(), table);
    EXPECT_EQ(JsonOf(Mouse({"keys", "--json"})).toStyledString(), profile);
}

TEST_F(MouseCommand, DevicesListsBothInterfacesOfTheMouse) {
    Plug();
    std::ostringstream out, err;
    ASSERT_EQ(CDevicesCommand().Run({"--json"}, out, err), kExitOk);
    const Json::Value value = ParseJson(out.str());
    EXPECT_EQ(value["bus"].asString(), "simulated");
    ASSERT_EQ(value["slots"].size(), 2u);
    EXPECT_EQ(value["slots"][0]["slot"].asInt(), 4);
    EXPECT_EQ(value["slots"][0]["device"].asString(), "mouse3389");
    EXPECT_EQ(value["slots"][1]["slot"].asInt(), 5);
}

TEST_F(MouseCommand, HelpNamesEveryCommand) {
    const Output help = Mouse({"--help"});
    EXPECT_EQ(help.code, kExitOk);
    for (const char* command : {"info", "get", "keys", "assign", "set-dpi", "stage", "polling", "light",
                                "write-macros", "write-shoot", "exit codes"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    EXPECT_EQ(Mouse({"set-dpi", "--help"}).code, kExitOk);
    EXPECT_EQ(Mouse({}).code, kExitUsage);
}

// The shell's view: separate norvikctl runs on one emulated mouse kept in a
// state file.
TEST(NorvikctlMouse, ASequenceOfRunsSeesOnePersistentMouse) {
    const char* programs = std::getenv("NORVIK_PROGRAM_DIR");
    ASSERT_NE(programs, nullptr);
    CTempDataHome home;
    const std::string prefix = "NORVIK_SIMULATE=mouse3389 NORVIK_SIM_STATE='" + home.Path("mouse.json") +
                               "' '" + std::string(programs) + "/norvikctl' ";
    const auto run = [&](const std::string& args, int* code = nullptr) {
        std::string output;
        FILE* pipe = popen((prefix + args + " 2>&1").c_str(), "r");
        char buffer[4096];
        for (size_t read; (read = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) {
            output.append(buffer, read);
        }
        const int status = pclose(pipe);
        if (code != nullptr) {
            *code = WEXITSTATUS(status);
        }
        return output;
    };

    int code = -1;
    run("mouse set-dpi 3 4100", &code);
    ASSERT_EQ(code, kExitOk);
    run("mouse polling 2", &code);
    ASSERT_EQ(code, kExitOk);

    const Json::Value get = ParseJson(run("mouse get --json", &code));
    ASSERT_EQ(code, kExitOk);
    EXPECT_EQ(get["stages"][2]["dpi"].asInt(), 4100);
    EXPECT_EQ(get["polling"].asInt(), 2);

    const std::string devices = run("devices", &code);
    EXPECT_EQ(code, kExitOk);
    EXPECT_NE(devices.find("mouse3389"), std::string::npos);
    EXPECT_NE(run("mouse --help", &code).find("set-dpi STAGE DPI"), std::string::npos);
    EXPECT_EQ(code, kExitOk);
}

namespace {

// A mouse whose firmware keeps zeros in place of one payload byte (or all of them) of one
// command, as a firmware that clamps a setting it does not support would.
class CForgetfulMouse : public CSimulatedMouse {
public:
    static constexpr size_t kEveryByte = kCommandChunkSize;

    CForgetfulMouse(uint8_t command, size_t payloadByte)
        : CSimulatedMouse(MouseModel3389()), command_(command), byte_(payloadByte) {}

    bool OnOutputReport(std::span<const uint8_t> report) override {
        std::vector<uint8_t> changed(report.begin(), report.end());
        if (changed.size() == kCommandReportSize && changed[kCommandCodeByte] == command_ &&
            (byte_ == kEveryByte || changed[4] > byte_)) {
            uint8_t* payload = changed.data() + kCommandPayloadOffset;
            if (byte_ == kEveryByte) {
                std::fill_n(payload, kCommandChunkSize, 0);
            } else {
                payload[byte_] = 0;
            }
            SealCommandReport(changed.data());
        }
        return CSimulatedMouse::OnOutputReport(changed);
    }

private:
    uint8_t command_;
    size_t byte_;
};

}  // namespace

TEST_F(MouseCommand, VerifyReadsBackTheRecordAndNamesWhatTheMouseDidNotKeep) {
    Plug();
    const Output kept = Mouse({"polling", "3", "--verify"});
    EXPECT_EQ(kept.code, kExitOk) << kept.err;
    EXPECT_NE(kept.out.find("verified"), std::string::npos) << kept.out;
    EXPECT_EQ(Mouse({"light", "2", "--colour", "12AB34", "--verify"}).code, kExitOk);

    bus->Unplug(handle);
    mouse = std::make_shared<CForgetfulMouse>(command_code::kWriteMemory, 14);
    handle = bus->Plug("mouse3389", mouse);
    const Output clamped = Mouse({"polling", "2", "--verify"});
    EXPECT_EQ(clamped.code, kExitFailure);
    EXPECT_NE(clamped.err.find("\n  polling rate\n"), std::string::npos) << clamped.err;
    EXPECT_EQ(clamped.err.find("stage"), std::string::npos) << "only the clamped field is named";

    EXPECT_EQ(Mouse({"write-shoot", "--verify"}).code, kExitUsage);
}

TEST_F(MouseCommand, VerifyAfterAssignReadsTheKeyTableBack) {
    Plug();
    const Output assigned = Mouse({"assign", "2", "media_play", "--verify"});
    EXPECT_EQ(assigned.code, kExitOk) << assigned.err;
    EXPECT_NE(assigned.out.find("verified"), std::string::npos) << assigned.out;

    bus->Unplug(handle);
    mouse = std::make_shared<CForgetfulMouse>(command_code::kWriteKeyTable, CForgetfulMouse::kEveryByte);
    handle = bus->Plug("mouse3389", mouse);
    const Output forgotten = Mouse({"assign", "3", "media_play", "--verify"});
    EXPECT_EQ(forgotten.code, kExitFailure);
    EXPECT_NE(forgotten.err.find("  key mouse_key_forward (position"), std::string::npos) << forgotten.err;
}

// A device that disappears in the middle of any request of a run, as NORVIK_SIM_FAULTS makes it,
// also in the middle of a many-report macro write: every run ends on its own, promptly, with an
// exit code and no crash; the 1 s reply time-out is never waited for. A plan that cannot be read
// is named and played by nobody.
TEST(NorvikctlMouse, AnUnplugAtAnyRequestEndsTheRunPromptlyWithAResult) {
    const char* programs = std::getenv("NORVIK_PROGRAM_DIR");
    ASSERT_NE(programs, nullptr);
    CTempDataHome home;
    std::vector<MacroEvent> events;
    for (int i = 0; i < 60; ++i) {
        events.insert(events.end(), {{"down", 44, 10, "30"}, {"up", 44, 10, "20"}});
    }
    for (const char* device : {"mouse3389", "keyboard"}) {
        CMacroList macros(CDataFolders::UserDataFolder(device));
        ASSERT_TRUE(macros.Create());
        ASSERT_EQ(macros.Save(0, events), 0);
    }
    const auto run = [&](const std::string& plan, const std::string& device, const std::string& args,
                         std::string& output) {
        const std::string command = "NORVIK_SIM_FAULTS='" + plan + "' NORVIK_SIMULATE=" + device + " '" +
                                    std::string(programs) + "/norvikctl' " + args + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        output.clear();
        for (size_t read; (read = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) {
            output.append(buffer, read);
        }
        return pclose(pipe);
    };
    struct Case {
        const char* device;
        const char* args;
        int requests;   // of the whole run
        int lastChunk;  // the request of the macro image's last chunk; an unplug up to it fails the run
    };
    const Case cases[] = {{"mouse3389", "mouse set-dpi 2 1600", 16, -1},
                          {"mouse3389", "mouse write-macros", 16, 14},
                          {"keyboard", "keyboard write-macros", 25, 23}};
    std::string output;
    for (const Case& c : cases) {
        for (int request = 0; request < c.requests; ++request) {
            const std::string plan = "unplug@" + std::to_string(request);
            SCOPED_TRACE(std::string(c.args) + " with " + plan);
            const auto start = std::chrono::steady_clock::now();
            const int status = run(plan, c.device, c.args, output);
            const auto elapsed = std::chrono::steady_clock::now() - start;
            ASSERT_TRUE(WIFEXITED(status)) << output;
            const int code = WEXITSTATUS(status);
            EXPECT_TRUE(code == kExitOk || code == kExitFailure || code == kExitNoDevice) << code;
            EXPECT_TRUE(request > c.lastChunk || code != kExitOk) << output;
            EXPECT_LT(elapsed, std::chrono::milliseconds(900)) << output;
        }
    }
    const int status = run("unplug@1,melt@2", "mouse3389", "mouse info", output);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kExitOk) << output;
    EXPECT_NE(output.find("NORVIK_SIM_FAULTS ignored: \"melt@2\""), std::string::npos) << output;
}

namespace {

// The shoot image of four guns, worked out from their bullets: the header, one offset per gun,
// then per gun its 180 events as six per bullet (button 1 down and up, both moves, both moves
// again with 0), each as delay low, delay high, type | 0x80 for left or up, distance.
std::vector<uint8_t> ShootImageOf(const std::vector<Json::Value>& guns) {
    const size_t gunBytes = 4 + 180 * 4;
    const size_t size = 16 + 2 * guns.size() + guns.size() * gunBytes;
    std::vector<uint8_t> image = {0xAA,
                                  0x55,
                                  static_cast<uint8_t>(size),
                                  static_cast<uint8_t>(size >> 8),
                                  static_cast<uint8_t>(guns.size()),
                                  0};
    image.resize(16, 0);
    for (size_t gun = 0; gun < guns.size(); ++gun) {
        const size_t offset = 16 + 2 * guns.size() + gun * gunBytes;
        image.insert(image.end(), {static_cast<uint8_t>(offset), static_cast<uint8_t>(offset >> 8)});
    }
    for (const Json::Value& gun : guns) {
        image.insert(image.end(), {180, 0, 0, 0});
        for (const Json::Value& bullet : gun["bullets"]) {
            const int x = bullet["x"].asInt();
            const int y = bullet["y"].asInt();
            const int delay = bullet["delay"].asInt();
            const uint8_t h = static_cast<uint8_t>(bullet["left"].asBool() ? 0x84 : 0x04);
            const uint8_t v = static_cast<uint8_t>(bullet["up"].asBool() ? 0x85 : 0x05);
            image.insert(image.end(), {10,
                                       0,
                                       0x81,
                                       1,
                                       0,
                                       0,
                                       0x01,
                                       1,
                                       5,
                                       0,
                                       h,
                                       static_cast<uint8_t>(std::abs(x)),
                                       static_cast<uint8_t>(delay),
                                       static_cast<uint8_t>(delay >> 8),
                                       v,
                                       static_cast<uint8_t>(std::abs(y)),
                                       0,
                                       0,
                                       h,
                                       0,
                                       0,
                                       0,
                                       v,
                                       0});
        }
    }
    return image;
}

}  // namespace

TEST_F(MouseCommand, ShootEditsReachTheShootMemoryAsTheirEvents) {
    Plug();
    struct Edit {
        std::vector<std::string> values;  // GUN BULLET X Y DELAY
        int x, y, delay;                  // as shown and stored
    };
    const std::vector<Edit> edits = {
        {{"0", "0", "-12", "7", "90"}, -12, 7, 90},
        {{"1", "29", "300", "-400", "70000"}, 255, -255, 65535},
        {{"3", "5", "", "-1", ""}, 0, -1, 0},
    };
    for (const Edit& edit : edits) {
        std::vector<std::string> args = {"shoot", "set"};
        args.insert(args.end(), edit.values.begin(), edit.values.end());
        args.push_back("--json");
        const Output set = Mouse(args);
        ASSERT_EQ(set.code, kExitOk) << set.err;
        const Json::Value shown = JsonOf(set);
        EXPECT_EQ(shown["x"].asInt(), edit.x);
        EXPECT_EQ(shown["y"].asInt(), edit.y);
        EXPECT_EQ(shown["delay"].asInt(), edit.delay);
    }
    std::vector<Json::Value> guns;
    for (const char* gun : {"0", "1", "2", "3"}) {
        guns.push_back(JsonOf(Mouse({"shoot", "show", gun, "--json"})));
        ASSERT_EQ(guns.back()["bullets"].size(), 30u) << gun;
    }
    EXPECT_EQ(guns[1]["bullets"][29]["y"].asInt(), -255);
    EXPECT_TRUE(guns[0]["bullets"][0]["left"].asBool());
    EXPECT_TRUE(guns[1]["bullets"][29]["up"].asBool());

    const Output written = Mouse({"write-shoot", "--json"});
    ASSERT_EQ(written.code, kExitOk) << written.err;
    EXPECT_EQ(JsonOf(written)["bytes_used"].asInt(), 2920);
    EXPECT_EQ(JsonOf(written)["bytes_free"].asInt(), static_cast<int>(mouse->ShootMemory().size()) - 2920);
    const std::vector<uint8_t> expected = ShootImageOf(guns);
    const std::vector<uint8_t> memory = mouse->ShootMemory();
    ASSERT_EQ(expected.size(), 2920u);
    ASSERT_GE(memory.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), memory.begin()));
}

TEST_F(MouseCommand, ShootCommandsRefuseBadInputAndChangeNothing) {
    Plug();
    const Output set = Mouse({"shoot", "set", "2", "0", "-5", "-6", "7"});
    ASSERT_EQ(set.code, kExitOk);
    EXPECT_EQ(set.out, "gun 2 bullet 0: x -5, y -6, delay 7\n");
    const std::string before = Mouse({"shoot", "show", "2", "--json"}).out;
    const std::string notShoot = home.Path("macro.shoot");
    std::ofstream(notShoot) << "{\"MacroName\": \"m\", \"Events\": []}";
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;
    };
    for (const Case& c : std::vector<Case>{
             {{"shoot", "set", "4", "0", "1", "1", "1"}, kExitUsage, "GUN must be 0-3"},
             {{"shoot", "set", "2", "30", "1", "1", "1"}, kExitUsage, "BULLET must be 0-29"},
             {{"shoot", "set", "2", "0", "1x", "1", "1"}, kExitUsage, "not a decimal number"},
             {{"shoot", "set", "2", "0", "1"}, kExitUsage, "wrong shoot command"},
             {{"shoot", "fire", "2"}, kExitUsage, "wrong shoot command"},
             {{"shoot", "import", "2", notShoot}, kExitUsage, "is not a shoot file"},
             {{"shoot", "export", "2", home.Path("none/gun.shoot")}, kExitFailure, "could not be written"},
         }) {
        const Output output = Mouse(c.args);
        EXPECT_EQ(output.code, c.code) << c.args[1];
        EXPECT_NE(output.err.find(c.says), std::string::npos) << output.err;
    }
    EXPECT_EQ(Mouse({"shoot", "show", "2", "--json"}).out, before);

    const std::string exported = home.Path("gun2.shoot");
    ASSERT_EQ(Mouse({"shoot", "export", "2", exported}).code, kExitOk);
    ASSERT_EQ(Mouse({"shoot", "reset", "2"}).code, kExitOk);
    EXPECT_NE(Mouse({"shoot", "show", "2", "--json"}).out, before);
    ASSERT_EQ(Mouse({"shoot", "import", "2", exported}).code, kExitOk);
    EXPECT_EQ(Mouse({"shoot", "show", "2", "--json"}).out, before);
}
