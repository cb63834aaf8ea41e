#include "devices/keyboard/keyboard_protocol.h"
#include "devices/keyboard/keyboard_settings.h"
#include "macro/macro_list.h"
#include "profile/data_folders.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_keyboard.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace keyboardwire;

namespace {

std::string PathOf(CSimHidBus& bus, uint16_t usagePage) {
    std::vector<platform::hid::HidEntryInfo> entries;
    bus.Enumerate(entries);
    for (const auto& entry : entries) {
        if (entry.collection.usage_page == usagePage) {
            return entry.path;
        }
    }
    return {};
}

size_t CountCommand(const std::vector<CSimulatedKeyboard::Report>& requests, uint8_t command) {
    return std::count_if(requests.begin(), requests.end(),
                         [command](const auto& r) { return r[3] == command; });
}

std::vector<uint8_t> Code(uint8_t type, uint8_t param1, uint8_t param2) {
    return {type, param1, param2};
}

MacroEvent KeyDown() {
    MacroEvent press;
    press.action = "down";
    press.type = MacroEvent::kOtherKey;
    press.button = 0x04;
    press.delay = "20";
    return press;
}

}  // namespace

// The emulated keyboard on its own bus, its command channel open, and a profile made from the
// shipped default keyboard profile in a temporary data folder.
class KeyboardProtocol : public ::testing::Test {
protected:
    void Connect(CKeyboardFirmware firmware = CKeyboardFirmware()) {
        ASSERT_TRUE(std::filesystem::exists(CDataFolders::DefaultProfileFile("keyboard")));
        keyboard = std::make_shared<CSimulatedKeyboard>(std::move(firmware));
        bus->Plug(CSimulatedKeyboard::kName, keyboard);
        ASSERT_TRUE(channel.Open(PathOf(*bus, 0xFF1C), false));
        profile.SetDefaultProfilePath(CDataFolders::DefaultProfileFile("keyboard"));
        profile.SetDeviceIndex(0);
        profile.SetProfilePath(home.Path("profile.Json"));
        profile.LoadDeviceSection(CDataFolders::DefaultProfileFile("keyboard"));
    }

    // A request the firmware refuses on its own is a wrong byte from the host.
    void TearDown() override {
        if (keyboard != nullptr) {
            EXPECT_EQ(keyboard->Refusals(), 0u);
        }
    }

    // The firmware key that holds a code first, looked up in the emulator's own table.
    int FirstKeyWith(const KeyFunctionCode& code) const {
        const std::vector<uint8_t> table = keyboard->KeyTable();
        for (size_t key = 0; key * 3 < table.size(); ++key) {
            if (table[3 * key] == code.type && table[3 * key + 1] == code.param1 &&
                table[3 * key + 2] == code.param2) {
                return static_cast<int>(key);
            }
        }
        return kUnmapped;
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedKeyboard> keyboard;
    CommandChannel channel{bus};
    CKeyboardProfiledata profile;
    CKeyboardProtocol protocol{channel};
};

TEST_F(KeyboardProtocol, ReadBackMapsEveryPositionToTheFirstKeyWithItsDefaultCode) {
    Connect();
    ASSERT_EQ(protocol.ReadDeviceInfo(), 1);

    ASSERT_EQ(protocol.KeyTable().size(), keyboard->KeyTable().size());
    const KeyMaps& maps = protocol.Maps();
    const std::vector<uint8_t> lightOrder = keyboard->LightOrder();
    for (size_t position = 0; position < kKeyboardPositionCount; ++position) {
        const int key = FirstKeyWith(DefaultKeyTable[position]);
        ASSERT_NE(key, kUnmapped) << position;
        EXPECT_EQ(maps.keyCode[position], key) << position;
        EXPECT_EQ(maps.lightOrder[position], lightOrder[static_cast<size_t>(key)]) << position;
    }
    // The "no key" positions share the first of the two "no key" firmware keys.
    for (size_t position : {19, 20, 62, 104}) {
        EXPECT_EQ(maps.keyCode[position], maps.keyCode[18]) << position;
    }
    EXPECT_LT(maps.keyCode[18], keyboard->KeyCount() - 1);
    // Firmware key order is not host order, and the foreign key belongs to no position.
    EXPECT_NE(maps.keyCode[0], 0);
    EXPECT_EQ(PositionOfFirmwareKey(maps.keyCode, CKeyboardFirmware::kForeignKey), -1);
    EXPECT_EQ(PositionOfFirmwareKey(maps.keyCode, maps.keyCode[42]), 42);
}

TEST_F(KeyboardProtocol, AKeyTableOverTheBlockSizeStopsTheReadBackAndUploadsNothing) {
    std::vector<uint8_t> table = CKeyboardFirmware::FactoryKeyTable();
    table.resize(171 * 3, 0x00);  // 513 bytes
    Connect(CKeyboardFirmware(table));
    keyboard->ClearRequests();

    EXPECT_EQ(protocol.ReadDeviceInfo(), 0);
    EXPECT_EQ(CountCommand(keyboard->Requests(), 0x07), 0u);
    EXPECT_EQ(CountCommand(keyboard->Requests(), 0x1B), 0u);
    EXPECT_TRUE(std::all_of(protocol.Maps().keyCode.begin(), protocol.Maps().keyCode.end(),
                            [](uint8_t key) { return key == kUnmapped; }));
    EXPECT_EQ(protocol.WriteKeyTable(0, profile.GetKeyList()), 0);
    EXPECT_EQ(CountCommand(keyboard->Requests(), 0x09), 0u);
    EXPECT_EQ(keyboard->KeyTable(), table);
}

TEST_F(KeyboardProtocol, TheRecordReachesSlotZeroByteForByte) {
    struct Case {
        uint8_t mode, brightness, speed, direction, multi;
        KeyboardSystemStages stages;
        uint8_t modeByte, speedByte;
    };
    const Case cases[] = {
        {3, 2, 0, 1, 0, {20, 1, 1, 2, 0, 1}, 3, 4},
        {19, 4, 4, 0, 1, {0, 0, 0, 3, 1, 0}, 19, 0},
        {25, 1, 1, 0, 0, {0, 0, 1, 0, 1, 1}, 0, 3},  // modes from 25 on are sent as 0
        {24, 0, 2, 0, 0, {}, 24, 2},
    };
    Connect();
    for (const Case& c : cases) {
        LightInfo light;
        light.selectItem = c.mode;
        light.light = c.brightness;
        light.speed = c.speed;
        light.fx = c.direction;
        light.multiColor = c.multi;
        light.red = 0x12;
        light.green = 0x34;
        light.blue = 0x56;
        CKeyboardProtocol::StoreLightInfo(profile, light);
        profile.SetSystemSettings(c.stages);
        ASSERT_EQ(protocol.WriteParameters(profile, 0, 0), 1);

        std::vector<uint8_t> expected(25, 0);
        expected[1] = c.modeByte;
        expected[2] = c.brightness;
        expected[3] = c.speedByte;
        expected[4] = c.direction;
        expected[5] = c.multi;
        expected[6] = 0x12;
        expected[7] = 0x34;
        expected[8] = 0x56;
        expected[19] = static_cast<uint8_t>(c.stages.wFlag);
        expected[20] = static_cast<uint8_t>(c.stages.key6Flag);
        expected[21] = static_cast<uint8_t>(c.stages.winFlag);
        expected[22] = static_cast<uint8_t>(c.stages.pollingRate);
        const std::vector<uint8_t> memory = keyboard->Memory();
        EXPECT_EQ(std::vector<uint8_t>(memory.begin(), memory.begin() + 25), expected) << int{c.mode};
    }
}

TEST_F(KeyboardProtocol, ReadingTheActiveSlotInvertsTheSpeedAndKeepsDirectionAndPolling) {
    Connect();
    KeyboardSystemStages stages{30, 2, 0, 3, 0, 0};
    profile.SetSystemSettings(stages);
    LightInfo light = profile.GetLightInfo();
    light.fx = 1;
    CKeyboardProtocol::StoreLightInfo(profile, light);
    channel.SetSynchronisedLighting(true);

    std::array<uint8_t, kRecordSize> record{};
    ASSERT_EQ(protocol.ReadActiveProfile(profile, record), 1);
    EXPECT_FALSE(channel.SynchronisedLighting());
    const std::vector<uint8_t> memory = keyboard->Memory();
    EXPECT_TRUE(std::equal(record.begin(), record.end(), memory.begin()));
    const LightInfo read = profile.GetLightInfo();
    EXPECT_EQ(read.selectItem, memory[1]);
    EXPECT_EQ(read.speed, 4 - memory[3]);
    EXPECT_EQ(read.fx, 1);  // the direction is not taken over
    const KeyboardSystemStages readStages = profile.GetSystemSettings();
    EXPECT_EQ(readStages.pollingRate, 3);  // nor is the polling rate
    EXPECT_EQ(readStages.repeat, 30);
}

TEST_F(KeyboardProtocol, SettingChangesReachTheirBytesAndRepeatStaysOnTheHost) {
    Connect();
    CKeyboardSettings settings(profile, protocol);
    const std::vector<std::pair<std::function<int()>, std::pair<size_t, uint8_t>>> cases = {
        {[&] { return settings.SetWinLock(true); }, {21, 1}},
        {[&] { return settings.SetWFlag(true); }, {19, 1}},
        {[&] { return settings.SetSixKey(true); }, {20, 1}},
        {[&] { return settings.SetPollingRate(2); }, {22, 2}},
        {[&] { return settings.SetPollingRate(7); }, {22, 0}},  // out of range selects option 0
        {[&] { return settings.SetWinLock(false); }, {21, 0}},
    };
    for (const auto& [change, expected] : cases) {
        ASSERT_EQ(change(), CKeyboardSettings::kOk);
        EXPECT_EQ(keyboard->Memory()[expected.first], expected.second) << expected.first;
    }
    keyboard->ClearRequests();
    settings.SetRepeat(70000 & 0xFFFF);
    settings.SetRepeatDelay(5);
    EXPECT_TRUE(keyboard->Requests().empty());
    EXPECT_EQ(profile.GetSystemSettings().repeatDelay, 0);
}

TEST_F(KeyboardProtocol, KeyUploadReplacesMappedKeysOnlyAndRefusesOtherPages) {
    Connect();
    ASSERT_EQ(protocol.ReadDeviceInfo(), 1);
    std::vector<KeyAssignment> keys = profile.GetKeyList();
    ASSERT_EQ(keys.size(), kKeyboardPositionCount);
    keys[0].code1 = 0x20;  // Esc becomes F5
    keys[0].code2 = 0x00;
    keys[0].code3 = 0x3E;
    keys[18].code1 = 0x30;  // a "no key" position gets a volume key
    keys[18].code2 = 0xEA;
    keys[18].code3 = 0x00;
    keys[19] = keys[18];  // ... and its twins say the same

    const std::vector<uint8_t> before = keyboard->KeyTable();
    keyboard->ClearRequests();
    EXPECT_EQ(protocol.WriteKeyTable(1, keys), channel_result::kBadPage);
    EXPECT_TRUE(keyboard->Requests().empty());

    ASSERT_EQ(protocol.WriteKeyTable(0, keys), 1);
    std::vector<uint8_t> expected = before;
    const auto put = [&expected](size_t key, const std::vector<uint8_t>& code) {
        std::copy(code.begin(), code.end(), expected.begin() + static_cast<std::ptrdiff_t>(3 * key));
    };
    put(protocol.Maps().keyCode[0], Code(0x20, 0x00, 0x3E));
    // Positions 20, 62 and 104 still hold "no key" and share the key of 18; the last writer wins.
    put(protocol.Maps().keyCode[18], Code(0x20, 0x00, 0x00));
    EXPECT_EQ(keyboard->KeyTable(), expected);
    // The foreign key and the second "no key" key were never addressed.
    EXPECT_EQ(std::vector<uint8_t>(before.begin() + 3 * CKeyboardFirmware::kForeignKey,
                                   before.begin() + 3 * CKeyboardFirmware::kForeignKey + 3),
              Code(0x30, 0xE9, 0x00));
    EXPECT_TRUE(std::equal(before.end() - 3, before.end(), keyboard->KeyTable().end() - 3));
}

TEST_F(KeyboardProtocol, MacrosAreSentOnlyWhenTheyFit) {
    struct Case {
        uint8_t units;
        size_t events;
        int result;
    };
    // 16 + 6 per macro + 4 per event against units x 128 bytes.
    const Case cases[] = {{0, 1, 7}, {1, 27, 1}, {1, 40, 14}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.events);
        auto caseBus = std::make_shared<CSimHidBus>();
        auto caseKeyboard = std::make_shared<CSimulatedKeyboard>(
            CKeyboardFirmware(CKeyboardFirmware::FactoryKeyTable(), c.units));
        caseBus->Plug(CSimulatedKeyboard::kName, caseKeyboard);
        CommandChannel caseChannel(caseBus);
        ASSERT_TRUE(caseChannel.Open(PathOf(*caseBus, 0xFF1C), false));
        CKeyboardProtocol caseProtocol(caseChannel);
        ASSERT_EQ(caseProtocol.ReadDeviceInfo(), 1);

        const std::string folder = home.Path("macros" + std::to_string(c.events) + "/");
        std::filesystem::create_directories(folder);
        CMacroList macros(folder);
        ASSERT_EQ(caseProtocol.WriteMacros(folder), 0);  // no macros: nothing to send
        const std::optional<size_t> index = macros.Create();
        ASSERT_TRUE(index);
        ASSERT_EQ(macros.Save(*index, std::vector<MacroEvent>(c.events, KeyDown())), 0);
        caseKeyboard->ClearRequests();
        EXPECT_EQ(caseProtocol.WriteMacros(folder), c.result);
        EXPECT_EQ(CountCommand(caseKeyboard->Requests(), 0x15), 0u);
        EXPECT_EQ(caseKeyboard->Refusals(), 0u);
    }
}

TEST_F(KeyboardProtocol, AMacroThatFitsLandsInMacroMemoryAsLaidOut) {
    Connect();
    ASSERT_EQ(protocol.ReadDeviceInfo(), 1);
    const std::string folder = home.Path("macros/");
    std::filesystem::create_directories(folder);
    CMacroList macros(folder);
    const std::optional<size_t> index = macros.Create();
    ASSERT_TRUE(index);
    ASSERT_EQ(macros.Save(*index, std::vector<MacroEvent>(2, KeyDown())), 0);

    ASSERT_EQ(protocol.WriteMacros(folder), 0);
    const std::vector<uint8_t> image = {
        0xAA, 0x55, 0x1E, 0x00, 0x01, 0x00, 0,    0,
        0,    0,    0,    0,    0,    0,    0,    0,     // signature, 30 bytes, 1 macro
        0x12, 0x00,                                      // the macro at 18
        0x02, 0x00, 0x00, 0x00,                          // 2 events
        0x14, 0x00, 0x8A, 0x04, 0x14, 0x00, 0x8A, 0x04,  // 20 ms, key down, usage 4
    };
    const std::vector<uint8_t> memory = keyboard->MacroMemory();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin()));
}

TEST_F(KeyboardProtocol, AClosedChannelSendsNothing) {
    Connect();
    channel.Close();
    keyboard->ClearRequests();
    std::array<uint8_t, kRecordSize> record{};
    EXPECT_EQ(protocol.ReadDeviceInfo(), 0);
    EXPECT_EQ(protocol.ReadActiveProfile(profile, record), 0);
    EXPECT_EQ(protocol.WriteParameters(profile), 0);
    EXPECT_EQ(protocol.WriteKeyTable(0, profile.GetKeyList()), 0);
    EXPECT_TRUE(keyboard->Requests().empty());
}

TEST_F(KeyboardProtocol, KeyPressesAndLightChangesArriveOnTheConsumerCollection) {
    Connect();
    HidDevice consumer(bus);
    ASSERT_TRUE(consumer.Open(PathOf(*bus, 0x0C), true, true, true, false));
    ASSERT_TRUE(keyboard->PressKey(7));
    EXPECT_FALSE(keyboard->PressKey(keyboard->KeyCount()));
    const uint8_t modeBefore = keyboard->Memory()[1];
    keyboard->ChangeLightOnKeyboard();
    EXPECT_EQ(keyboard->Memory()[1], (modeBefore + 1) % CKeyboardFirmware::kLightModes);

    const std::vector<std::vector<uint8_t>> expected = {
        {0x03, 0x07, 0x05}, {0x03, 0x07, 0x06}, {0x03, 0x01, 0x04}, {0x03, 0x00, 0x00}};
    for (const std::vector<uint8_t>& report : expected) {
        std::vector<uint8_t>& buffer = consumer.InputReportBuffer();
        ASSERT_TRUE(consumer.Read(buffer.data(), buffer.size(), 2000));
        EXPECT_EQ(buffer, report);
    }
}
