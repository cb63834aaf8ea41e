#include "cli/keyboard_command.h"
#include "devices/common/default_key_table.h"
#include "macro/macro_list.h"
#include "platform/hid/hid_backend.h"
#include "profile/data_folders.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_keyboard.h"
#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Output {
    int code = 0;
    std::string out;
    std::string err;
};

Output Keyboard(std::vector<std::string> args) {
    std::ostringstream out, err;
    Output result;
    result.code = CKeyboardCommand().Run(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

// The firmware key that holds a code first, from the emulator's own table.
size_t FirstKeyWith(const std::vector<uint8_t>& table, const KeyFunctionCode& code) {
    for (size_t key = 0; key * 3 < table.size(); ++key) {
        if (table[3 * key] == code.type && table[3 * key + 1] == code.param1 &&
            table[3 * key + 2] == code.param2) {
            return key;
        }
    }
    return SIZE_MAX;
}

}  // namespace

// norvikctl keyboard against the emulated keyboard on the process bus, with a fresh data folder.
class KeyboardCommand : public ::testing::Test {
protected:
    void SetUp() override {
        platform::hid::SetProcessBackend(bus);
        handle = bus->Plug(CSimulatedKeyboard::kName, keyboard);
    }
    void TearDown() override {
        platform::hid::SetProcessBackend(nullptr);
        EXPECT_EQ(keyboard->Refusals(), 0u);
    }

    std::vector<uint8_t> Record() const {
        const std::vector<uint8_t> memory = keyboard->Memory();
        return {memory.begin(), memory.begin() + 25};
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedKeyboard> keyboard = std::make_shared<CSimulatedKeyboard>();
    uint64_t handle = 0;
};

TEST_F(KeyboardCommand, SettingsCommandsLeaveTheRecordWorkedOutFromTheLayout) {
    // The shipped default profile: mode 0, brightness 4, speed 2, multicolour, white, polling 3.
    std::vector<uint8_t> expected = {0, 0, 4, 2, 0, 1, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0,
                                     0, 0, 0, 0, 0, 0, 0,    0,    0,    3, 0, 0};
    struct Step {
        std::vector<std::string> args;
        std::vector<std::pair<size_t, uint8_t>> bytes;
    };
    const std::vector<Step> steps = {
        {{"winlock", "on"}, {{21, 1}}},
        {{"wkey", "on"}, {{19, 1}}},
        {{"sixkey", "on"}, {{20, 1}}},
        {{"polling", "1"}, {{22, 1}}},
        {{"light", "20", "--speed", "0", "--brightness", "3", "--colour", "102030"},
         {{1, 20}, {2, 3}, {3, 4}, {5, 0}, {6, 0x10}, {7, 0x20}, {8, 0x30}}},
        {{"light", "7", "--speed", "4"}, {{1, 7}, {3, 0}}},
        {{"wkey", "off"}, {{19, 0}}},
    };
    for (const Step& step : steps) {
        const Output output = Keyboard(step.args);
        ASSERT_EQ(output.code, kExitOk) << step.args[0] << ": " << output.err;
        for (const auto& [at, value] : step.bytes) {
            expected[at] = value;
        }
        EXPECT_EQ(Record(), expected) << step.args[0];
    }
    const Json::Value got = ParseJson(Keyboard({"get", "--json"}).out);
    EXPECT_EQ(got["light"]["mode"].asInt(), 7);
    EXPECT_EQ(got["light"]["speed"].asInt(), 4);
    EXPECT_TRUE(got["winlock"].asBool());
    EXPECT_FALSE(got["wkey"].asBool());
    EXPECT_EQ(got["polling"].asInt(), 1);
}

TEST_F(KeyboardCommand, BadValuesChangeNothing) {
    const std::vector<uint8_t> before = keyboard->Memory();
    const std::vector<uint8_t> table = keyboard->KeyTable();
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"polling", "4"},
                                               {"winlock", "maybe"},
                                               {"light", "25"},
                                               {"light", "1", "--speed", "5"},
                                               {"light", "1", "--colour", "12345"},
                                               {"assign", "126", "F5"},
                                               {"assign", "110", "keyboard_key_A"},  // FN keeps its function
                                               {"assign", "0", "no-such-function"},
                                               {"frobnicate"}}) {
        EXPECT_EQ(Keyboard(args).code, kExitUsage) << args[0];
    }
    EXPECT_EQ(keyboard->Memory(), before);
    EXPECT_EQ(keyboard->KeyTable(), table);
}

TEST_F(KeyboardCommand, AssignWritesTheFirmwareKeyOfThePosition) {
    const std::vector<uint8_t> before = keyboard->KeyTable();
    const Output output = Keyboard({"assign", "64", "20:00:3E"});  // A becomes F5
    ASSERT_EQ(output.code, kExitOk) << output.err;

    std::vector<uint8_t> expected = before;
    const size_t key = FirstKeyWith(before, DefaultKeyTable[64]);
    ASSERT_NE(key, SIZE_MAX);
    expected[3 * key + 2] = 0x3E;
    EXPECT_EQ(keyboard->KeyTable(), expected);

    const Json::Value keys = ParseJson(Keyboard({"keys", "--json"}).out);
    ASSERT_EQ(keys.size(), kKeyboardPositionCount);
    EXPECT_EQ(keys[64]["bytes"].asString(), "20:00:3E");
    EXPECT_EQ(keys[64]["firmware_key"].asUInt(), key);

    // A's key now holds F5's code; F5 itself must still reach its own key, not A's.
    ASSERT_EQ(Keyboard({"assign", "5", "20:00:3F"}).code, kExitOk);
    const size_t f5 = FirstKeyWith(std::vector<uint8_t>(expected.begin() + 3 * (key + 1), expected.end()),
                                   DefaultKeyTable[5]) +
                      key + 1;
    expected[3 * f5 + 2] = 0x3F;
    EXPECT_EQ(keyboard->KeyTable(), expected);
}

TEST_F(KeyboardCommand, MacrosThatDoNotFitSayHowManyEventsToRemove) {
    const std::string folder = CDataFolders::UserDataFolder("keyboard");
    EXPECT_EQ(Keyboard({"write-macros"}).code, kExitOk);  // none yet: nothing sent
    CMacroList macros(folder);
    const std::optional<size_t> index = macros.Create();
    ASSERT_TRUE(index);
    MacroEvent press;
    press.action = "down";
    press.type = MacroEvent::kOtherKey;
    press.button = 0x04;
    press.delay = "20";
    // 16 + 6 + 4 x 520 = 2102 bytes into 2048: (54 / 4) + 1 events too many.
    ASSERT_EQ(macros.Save(*index, std::vector<MacroEvent>(520, press)), 0);
    const std::vector<uint8_t> before = keyboard->MacroMemory();
    const Output full = Keyboard({"write-macros"});
    EXPECT_EQ(full.code, kExitMemoryFull);
    EXPECT_NE(full.err.find("remove 14 events"), std::string::npos) << full.err;
    EXPECT_EQ(keyboard->MacroMemory(), before);

    ASSERT_EQ(macros.Save(*index, std::vector<MacroEvent>(3, press)), 0);
    EXPECT_EQ(Keyboard({"write-macros", "--json"}).code, kExitOk);
    EXPECT_EQ(keyboard->MacroMemory()[2], 16 + 2 + 4 + 12);
}

TEST_F(KeyboardCommand, WithoutAKeyboardEveryCommandSaysSo) {
    ASSERT_TRUE(bus->Unplug(handle));
    const Output output = Keyboard({"get"});
    EXPECT_EQ(output.code, kExitNoDevice);
    EXPECT_NE(output.err.find("NORVIK_SIMULATE=keyboard"), std::string::npos);
}
