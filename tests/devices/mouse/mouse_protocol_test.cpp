#include "devices/mouse/mouse_protocol.h"
#include "devices/mouse/mouse_settings.h"
#include "macro/macro_file.h"
#include "macro/macro_image.h"
#include "macro/macro_list.h"
#include "profile/data_folders.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace mousewire;

namespace {

// The command collection's path of a plugged device.
std::string CommandPath(CSimHidBus& bus) {
    std::vector<platform::hid::HidEntryInfo> entries;
    bus.Enumerate(entries);
    for (const auto& entry : entries) {
        if (entry.collection.usage_page == 0xFF1C) {
            return entry.path;
        }
    }
    return {};
}

size_t CountCommand(const std::vector<CSimulatedMouse::Report>& requests, uint8_t command) {
    return std::count_if(requests.begin(), requests.end(),
                         [command](const auto& r) { return r[3] == command; });
}

}  // namespace

// One emulated mouse on its own bus, its command channel open, and a profile
// made from the shipped default profile in a temporary data folder.
class MouseProtocol : public ::testing::Test {
protected:
    void Connect(MouseModel model, bool wireless = false) {
        ASSERT_TRUE(std::filesystem::exists(CDataFolders::DefaultProfileFile("mouse3389")));
        mouse = std::make_shared<CSimulatedMouse>(std::move(model));
        bus->Plug(mouse->Model().name, mouse);
        ASSERT_TRUE(channel.Open(CommandPath(*bus), wireless));
        profile.SetDefaultProfilePath(CDataFolders::DefaultProfileFile("mouse3389"));
        profile.SetProfilePath(home.Path("profile.Json"));
        profile.LoadDeviceSection(profile.GetProfilePath());
    }

    // A request that the firmware refuses on its own is a wrong byte from the host, unless the
    // test sends it on purpose.
    void TearDown() override {
        if (mouse != nullptr) {
            EXPECT_EQ(mouse->Refusals(), expectedRefusals);
        }
    }

    size_t expectedRefusals = 0;
    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMouse> mouse;
    CommandChannel channel{bus};
    CMouseProfiledata profile;
    CMouseProtocol protocol{channel};
};

TEST_F(MouseProtocol, ReadBackFillsTheButtonMapAndTheSensor) {
    Connect(MouseModel3389());
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);

    EXPECT_EQ(profile.GetSensorId(), 0x3389);
    EXPECT_EQ(protocol.Sensor().SensorId(), 0x3389);
    EXPECT_EQ(protocol.KeyTable().size(), mouse->Model().factoryKeys.size() * 3);
    const ButtonMap& map = protocol.ButtonMap();
    for (size_t button = 0; button < kHostButtonCount; ++button) {
        const FunctionCode& code = HostButtons()[button].factoryCode;
        const auto& keys = mouse->Model().factoryKeys;
        const auto found = std::find(keys.begin(), keys.end(), code);
        const uint8_t expected =
            found == keys.end() ? kUnmappedButton : static_cast<uint8_t>(found - keys.begin());
        EXPECT_EQ(map[button], expected) << HostButtons()[button].nameTextId;
    }
    EXPECT_EQ(map[0],
              0);  // the left button is the first firmware key of this model
}

TEST_F(MouseProtocol, AKeyTableOverTheBlockSizeStopsTheReadBack) {
    MouseModel model = MouseModel3389();
    model.factoryKeys.resize(200, KeyCode{0x10, 0x01, 0x00});
    Connect(model);
    mouse->ClearRequests();

    EXPECT_EQ(protocol.ReadDeviceInfo(profile), 0);
    EXPECT_EQ(CountCommand(mouse->Requests(), 0x07), 0u);
    EXPECT_TRUE(protocol.KeyTable().empty());
    EXPECT_EQ(channel.BlockSize(), 512);
    // Nothing was read, so nothing can be written over the firmware's table.
    EXPECT_EQ(protocol.WriteKeyTable(0, {}), 0);
    EXPECT_EQ(CountCommand(mouse->Requests(), 0x09), 0u);
}

TEST_F(MouseProtocol, ADpiChangePutsTheRecordIntoMemoryAtAddressZero) {
    Connect(MouseModel3389());
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);
    CMouseSettings settings(profile, protocol);

    ASSERT_EQ(settings.SetStagePosition(1, 31), CMouseSettings::kOk);

    const std::vector<uint8_t> memory = mouse->Memory();
    const auto expected = EncodeParameters(CMouseProtocol::ParametersFromProfile(profile), false);
    ASSERT_GE(memory.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), memory.begin()));
    EXPECT_EQ(memory[16], 31);                        // stage 2's position
    EXPECT_EQ(memory[19], profile.GetActiveStage());  // active stage
    EXPECT_EQ(memory[14],
              profile.GetSystemSettings().pollingRate);  // polling code
    EXPECT_EQ(profile.GetStages()[1].DpiX(), 31);
}

TEST_F(MouseProtocol, SettingsChangesReachTheirBytes) {
    Connect(MouseModel3389());
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);
    CMouseSettings settings(profile, protocol);

    ASSERT_EQ(settings.SetPollingRate(3), CMouseSettings::kOk);
    EXPECT_EQ(mouse->Memory()[14], 3);
    ASSERT_EQ(settings.SetPollingRate(9),
              CMouseSettings::kOk);  // beyond the options: option 0
    EXPECT_EQ(mouse->Memory()[14], 0);

    LightInfo light = profile.GetLightInfo();
    light.selectItem = 12;  // a custom effect: the firmware gets mode 0
    light.speed = 1;
    ASSERT_EQ(settings.SetLight(light), CMouseSettings::kOk);
    EXPECT_EQ(mouse->Memory()[1], 0);
    EXPECT_EQ(mouse->Memory()[3], 3);
    EXPECT_EQ(profile.GetLightInfo().selectItem,
              12);  // the profile keeps the custom effect
}

TEST_F(MouseProtocol, TheLastEnabledStageCannotBeSwitchedOff) {
    Connect(MouseModel3389());
    CMouseSettings settings(profile, protocol);
    const size_t stages = profile.GetStages().size();
    ASSERT_GE(stages, 2u);
    for (size_t stage = 1; stage < stages; ++stage) {
        EXPECT_EQ(settings.SetStageEnabled(static_cast<int>(stage), false), CMouseSettings::kOk);
    }
    EXPECT_EQ(settings.SetStageEnabled(0, false), CMouseSettings::kRefused);
    EXPECT_EQ(profile.GetStages()[0].active, 1);
}

TEST_F(MouseProtocol, ReadParametersTakesTheMousesRecordIntoTheProfile) {
    Connect(MouseModel3389());
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);
    mouse->PressDpiButton();  // the mouse moves its active stage itself
    channel.SetSynchronisedLighting(true);

    MouseParameters read;
    ASSERT_EQ(protocol.ReadParameters(profile, read), 1);
    EXPECT_FALSE(channel.SynchronisedLighting());
    EXPECT_EQ(read.activeStage, mouse->Memory()[19]);
    EXPECT_EQ(read.stages[0].position, mouse->Memory()[15]);

    CMouseProfiledata reloaded;
    reloaded.LoadDeviceSection(profile.GetProfilePath());
    reloaded.GetStages();
    EXPECT_EQ(reloaded.GetActiveStage(), read.activeStage);  // saved to disk
}

TEST_F(MouseProtocol, AnOfflineWirelessMouseIsLeftAlone) {
    Connect(MouseModel3389Wireless(), true);
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);
    mouse->SetOnline(false);
    channel.SetSynchronisedLighting(true);
    const LightInfo before = profile.GetLightInfo();
    mouse->ClearRequests();

    MouseParameters read;
    EXPECT_EQ(protocol.ReadParameters(profile, read), 0);
    EXPECT_FALSE(channel.SynchronisedLighting());
    EXPECT_EQ(profile.GetLightInfo(), before);
    EXPECT_EQ(protocol.WriteParameters(profile), 0);
    for (const auto& request : mouse->Requests()) {
        EXPECT_EQ(request[3], 0xAA);  // only online checks went out
    }
}

TEST_F(MouseProtocol, WirelessRecordCarriesTheSpeedIndexItself) {
    Connect(MouseModel3389Wireless(), true);
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);
    LightInfo light = profile.GetLightInfo();
    light.speed = 1;
    CMouseSettings(profile, protocol).SetLight(light);
    EXPECT_EQ(mouse->Memory()[3], 1);
}

// A reconnect whose key-table read fails must not leave the previous connection's table and map
// behind: a later key write would send a stale table at the new block size.
TEST_F(MouseProtocol, AFailedKeyTableReadOnReconnectForgetsTheOldTable) {
    Connect(MouseModel3389());
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);
    ASSERT_FALSE(protocol.KeyTable().empty());

    mouse->Faults().Add(FaultKind::kStatusFailed, 2);  // 0x01 and 0x03 pass, 0x07 fails
    EXPECT_EQ(protocol.ReadDeviceInfo(profile), channel_result::kStatusFailed);
    EXPECT_TRUE(protocol.KeyTable().empty());
    EXPECT_TRUE(std::all_of(protocol.ButtonMap().begin(), protocol.ButtonMap().end(),
                            [](uint8_t position) { return position == kUnmappedButton; }));
    mouse->ClearRequests();
    EXPECT_EQ(protocol.WriteKeyTable(0, profile.GetKeyList()), 0);
    EXPECT_EQ(CountCommand(mouse->Requests(), 0x09), 0u);
}

TEST_F(MouseProtocol, ARefusingMouseIsReportedNotHidden) {
    Connect(MouseModel3389());
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);

    mouse->Faults().Add(FaultKind::kStatusRejected,
                        1);  // BeginTransfer passes, the write is refused
    EXPECT_EQ(protocol.WriteParameters(profile), channel_result::kStatusRejected);
    EXPECT_EQ(CMouseSettings(profile, protocol).SetAst(1), CMouseSettings::kOk);

    mouse->ClearRequests();
    EXPECT_EQ(protocol.WriteKeyTable(1, profile.GetKeyList()), channel_result::kBadPage);
    const auto requests = mouse->Requests();
    EXPECT_EQ(CountCommand(requests, 0x01), 1u);
    EXPECT_EQ(CountCommand(requests, 0x02), 1u);
    EXPECT_EQ(CountCommand(requests, 0x09), 0u);
}

TEST_F(MouseProtocol, KeyTableWriteReplacesMappedPositionsOnly) {
    Connect(MouseModel3389());
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);
    std::vector<KeyAssignment> keys(kHostButtonCount);
    for (size_t button = 0; button < keys.size(); ++button) {
        keys[button].code1 = 0x20;
        keys[button].code2 = static_cast<uint8_t>(button);
    }

    ASSERT_EQ(protocol.WriteKeyTable(0, keys), 1);

    const std::vector<uint8_t> table = mouse->KeyTable();
    const std::vector<uint8_t> expected = PatchKeyTable(
        protocol.KeyTable(), protocol.ButtonMap(), std::vector<FunctionCode>(kHostButtonCount, {0x20, 0, 0}));
    ASSERT_EQ(table.size(), protocol.KeyTable().size());
    for (size_t button = 0; button < kHostButtonCount; ++button) {
        const uint8_t position = protocol.ButtonMap()[button];
        if (position != kUnmappedButton) {
            EXPECT_EQ(table[position * 3 + 1], button) << button;
        }
    }
    EXPECT_EQ(table.size(), expected.size());
}

TEST_F(MouseProtocol, AClosedChannelSendsNothing) {
    Connect(MouseModel3389());
    channel.Close();
    mouse->ClearRequests();
    MouseParameters read;
    EXPECT_EQ(protocol.ReadDeviceInfo(profile), 0);
    EXPECT_EQ(protocol.ReadParameters(profile, read), 0);
    EXPECT_EQ(protocol.WriteParameters(profile), 0);
    EXPECT_TRUE(mouse->Requests().empty());
}

TEST_F(MouseProtocol, MacrosThatDoNotFitAreCountedAndNotSent) {
    MouseModel model = MouseModel3389();
    model.macroUnits = 2;  // 256 bytes
    Connect(model);
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);
    const std::string folder = home.Path("macros/");
    std::filesystem::create_directories(folder);
    CMacroList macros(folder);
    ASSERT_EQ(protocol.WriteMacros(folder), 0);  // no list yet: nothing to send

    const std::optional<size_t> index = macros.Create();
    ASSERT_TRUE(index);
    MacroEvent press;
    press.action = "down";
    press.type = MacroEvent::kOtherKey;
    press.button = 0x04;
    press.delay = "20";
    ASSERT_EQ(macros.Save(*index, std::vector<MacroEvent>(61, press)), 0);
    mouse->ClearRequests();

    EXPECT_EQ(protocol.WriteMacros(folder),
              3);  // 16 + 2 + 4 + 244 = 266 bytes into 256
    EXPECT_EQ(CountCommand(mouse->Requests(), 0x15), 0u);

    ASSERT_EQ(macros.Save(*index, std::vector<MacroEvent>(2, press)), 0);
    EXPECT_EQ(protocol.WriteMacros(folder), 0);
    const std::vector<uint8_t> memory = mouse->MacroMemory();
    // The image as the mouse must hold it, written out by hand from its layout.
    const std::vector<uint8_t> image = {
        0xAA, 0x55, 0x1E, 0x00, 0x01, 0x00, 0,    0,
        0,    0,    0,    0,    0,    0,    0,    0,     // signature, size 30, 1 macro
        0x12, 0x00,                                      // the macro at 18
        0x02, 0x00, 0x00, 0x00,                          // 2 events
        0x14, 0x00, 0x8A, 0x04, 0x14, 0x00, 0x8A, 0x04,  // 20 ms, key down, usage 4
    };
    EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin()));
}

TEST_F(MouseProtocol, ShootDataGoesToTheShootMemory) {
    Connect(MouseModel3389());
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);
    const std::string folder = home.Path("shoot/");
    std::filesystem::create_directories(folder);
    std::vector<std::vector<MacroEvent>> guns;
    for (int gun = 0; gun < 4; ++gun) {
        MacroEvent move;
        move.type = MacroEvent::kVerticalMove;
        move.button = static_cast<uint8_t>(gun + 1);
        move.delay = "10";
        guns.emplace_back(gun + 1, move);
        const std::string path = folder + "ShootData_" + std::to_string(gun) + ".Shoot";
        ASSERT_EQ(CMacroFile::Write(path, "gun", "guid", guns.back()), 0);
    }

    ASSERT_EQ(protocol.WriteShootData(folder), 0);
    // Gun n (1..4) holds n vertical moves of n after 10 ms each, written out by hand.
    std::vector<uint8_t> image = {0xAA, 0x55, 0x50, 0x00, 0x04, 0x00, 0,    0,    0,    0,    0,    0,
                                  0,    0,    0,    0,    0x18, 0x00, 0x20, 0x00, 0x2C, 0x00, 0x3C, 0x00};
    for (uint8_t gun = 1; gun <= 4; ++gun) {
        image.insert(image.end(), {gun, 0x00, 0x00, 0x00});
        for (uint8_t event = 0; event < gun; ++event) {
            image.insert(image.end(), {0x0A, 0x00, 0x05, gun});
        }
    }
    ASSERT_EQ(image.size(), 0x50u);
    const std::vector<uint8_t> memory = mouse->ShootMemory();
    ASSERT_GE(memory.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin()));

    // The shipped shoot data (four guns of 180 events) fits the mouse's shoot memory whole.
    ASSERT_EQ(protocol.WriteShootData(CDataFolders::DefaultDataFolder()), 0);
    const std::vector<uint8_t> shipped = mouse->ShootMemory();
    const std::vector<uint8_t> header = {0xAA, 0x55, 0x68, 0x0B, 0x04, 0x00, 0,    0,
                                         0,    0,    0,    0,    0,    0,    0,    0,
                                         0x18, 0x00, 0xEC, 0x02, 0xC0, 0x05, 0x94, 0x08};
    EXPECT_TRUE(std::equal(header.begin(), header.end(), shipped.begin()));
    for (const size_t entry : {0x18u, 0x2ECu, 0x5C0u, 0x894u}) {
        EXPECT_EQ(shipped[entry], 180) << entry;
        EXPECT_EQ(shipped[entry + 1], 0) << entry;
    }
}

TEST_F(MouseProtocol, AShootImagePastTheShootMemoryIsRefused) {
    MouseModel small = MouseModel3389();
    small.shootMemorySize = 2048;
    Connect(small);
    ASSERT_EQ(protocol.ReadDeviceInfo(profile), 1);
    const std::vector<uint8_t> memory = mouse->ShootMemory();
    // The chunk past the memory is refused, then the half image at the end of the transfer,
    // which leaves the memory as it was.
    EXPECT_EQ(protocol.WriteShootData(CDataFolders::DefaultDataFolder()), CMouseProtocol::kMacroWriteFailed);
    EXPECT_EQ(mouse->ShootMemory(), memory);
    expectedRefusals = 2;
}
