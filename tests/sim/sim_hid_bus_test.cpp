#include "sim/sim_hid_bus.h"
#include "sim/sim_environment.h"

#include "profile/json_document.h"
#include "tests/support/mouse_interface_descriptor.h"
#include "tests/support/scripted_sim_device.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <cstdlib>

using platform::CEvent;
using platform::hid::HidEntryInfo;

namespace {

const CSimDevice::Identity kMouse{0x320F, 0x21FD, 0x0100, 1, "A1"};

bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 1;
}

TEST(SimHidBusTest, EntriesComeFromTheDevicesOwnDescriptor) {
    CSimHidBus bus;
    ASSERT_NE(bus.Plug("mouse3389", std::make_shared<CScriptedSimDevice>(kMouse, kMouseInterfaceDescriptor)),
              0u);
    std::vector<HidEntryInfo> entries;
    ASSERT_TRUE(bus.Enumerate(entries));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1].path, "sim#vid_320f&pid_21fd&mi_01&col02#mouse3389.1");
    EXPECT_EQ(entries[3].collection.caps.usage_page, 0xFF1C);
    EXPECT_EQ(entries[3].attributes.version, 0x0100);
    // A device with one collection has no "&col", one without an interface number no "&mi_".
    const std::vector<uint8_t> one = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,
                                      0x75, 0x08, 0x95, 0x08, 0x81, 0x02, 0xC0};
    bus.Plug("plain", std::make_shared<CScriptedSimDevice>(CSimDevice::Identity{0x1, 0x2, 0, -1, ""}, one));
    ASSERT_TRUE(bus.Enumerate(entries));
    EXPECT_EQ(entries.back().path, "sim#vid_0001&pid_0002#plain.2");
    // A device whose descriptor cannot be parsed is not plugged.
    EXPECT_EQ(bus.Plug("broken", std::make_shared<CScriptedSimDevice>(kMouse, std::vector<uint8_t>{0xC0})),
              0u);
}

// Unnumbered reports travel with a leading 0 in the Windows form, both ways.
TEST(SimHidBusTest, ReportsOfADeviceWithoutReportIdsCarryIdZero) {
    const std::vector<uint8_t> descriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08,
                                             0x95, 0x04, 0x81, 0x02, 0x95, 0x02, 0x91, 0x02, 0xC0};
    auto bus = std::make_shared<CSimHidBus>();
    auto device = std::make_shared<CScriptedSimDevice>(kMouse, descriptor);
    bus->Plug("plain", device);
    std::vector<HidEntryInfo> entries;
    bus->Enumerate(entries);
    auto connection = bus->Open(entries[0].path, {});
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->Info().collection.caps.input_report_length, 5);
    device->Send({0x00, 1, 2, 3, 4});
    CEvent abort(CEvent::Mode::kAutoReset);
    uint8_t report[8] = {};
    size_t got = 0;
    ASSERT_EQ(connection->Read(report, sizeof report, 1000, abort, got), platform::hid::IoResult::kOk);
    EXPECT_EQ(got, 5u);
    EXPECT_EQ(std::vector<uint8_t>(report, report + 5), (std::vector<uint8_t>{0, 1, 2, 3, 4}));
}

// Each open handle queues the interface's reports of every collection, 64 at most, and drops
// what comes when it is full: a handle that nobody reads loses the newest reports, also its own.
TEST(SimHidBusTest, AConnectionQueuesSixtyFourReportsOfItsInterfaceAndDropsTheNewest) {
    auto bus = std::make_shared<CSimHidBus>();
    auto device = std::make_shared<CScriptedSimDevice>(kMouse, kMouseInterfaceDescriptor);
    bus->Plug("mouse3389", device);
    std::vector<HidEntryInfo> entries;
    bus->Enumerate(entries);
    auto pointer = bus->Open(entries[0].path, {});  // report id 2
    auto command = bus->Open(entries[3].path, {});
    for (uint8_t sequence = 0; sequence < 100; ++sequence) {
        device->Send({0x02, sequence});
    }
    std::vector<uint8_t> reply(64, 0xAB);
    reply[0] = 0x04;
    device->Send(reply);

    CEvent abort(CEvent::Mode::kAutoReset);
    uint8_t report[64] = {};
    size_t got = 0;
    EXPECT_EQ(command->Read(report, sizeof report, 20, abort, got), platform::hid::IoResult::kTimeout);
    for (uint8_t sequence = 0; sequence < CSimHidBus::kQueuedReports; ++sequence) {
        ASSERT_EQ(pointer->Read(report, sizeof report, 0, abort, got), platform::hid::IoResult::kOk);
        EXPECT_EQ(report[1], sequence);
    }
    EXPECT_EQ(pointer->Read(report, sizeof report, 0, abort, got), platform::hid::IoResult::kTimeout);
}

TEST(SimHidBusTest, PlugAndUnplugAreSeenThroughTheChangeCountAndTheReplugIsAnotherDevice) {
    auto bus = std::make_shared<CSimHidBus>();
    const uint64_t idle = bus->ChangeCount();
    EXPECT_FALSE(Readable(bus->ChangeFd()));
    auto device = std::make_shared<CScriptedSimDevice>(kMouse, kMouseInterfaceDescriptor);
    const uint64_t first = bus->Plug("mouse3389", device);
    EXPECT_TRUE(Readable(bus->ChangeFd()));
    EXPECT_GT(bus->ChangeCount(), idle);
    EXPECT_FALSE(Readable(bus->ChangeFd()));
    std::vector<HidEntryInfo> entries;
    bus->Enumerate(entries);
    const std::string old_path = entries[0].path;
    EXPECT_TRUE(bus->Exists(old_path));

    ASSERT_TRUE(bus->Unplug(first));
    EXPECT_FALSE(bus->Unplug(first));
    EXPECT_TRUE(Readable(bus->ChangeFd()));
    bus->Enumerate(entries);
    EXPECT_TRUE(entries.empty());
    bus->Plug("mouse3389", device);
    bus->Enumerate(entries);
    EXPECT_NE(entries[0].path, old_path);
    EXPECT_FALSE(bus->Exists(old_path));
    EXPECT_TRUE(bus->Exists(entries[0].path));
}

// A device that pulls its own plug in the middle of a write (the fault a firmware emulator
// injects): the write returns, a waiting read ends with kClosed, and the entries are gone.
TEST(SimHidBusTest, ADeviceCanUnplugItselfDuringAWrite) {
    auto bus = std::make_shared<CSimHidBus>();
    auto device = std::make_shared<CScriptedSimDevice>(kMouse, kMouseInterfaceDescriptor);
    bus->Plug("mouse3389", device);
    std::vector<HidEntryInfo> entries;
    bus->Enumerate(entries);
    auto connection = bus->Open(entries[3].path, {});
    device->unplug_on_write_ = true;
    CEvent abort(CEvent::Mode::kAutoReset);
    uint8_t request[64] = {0x04};
    size_t moved = 0;
    connection->Write(request, sizeof request, 1000, abort, moved);
    EXPECT_EQ(connection->Read(request, sizeof request, platform::kInfinite, abort, moved),
              platform::hid::IoResult::kClosed);
    bus->Enumerate(entries);
    EXPECT_TRUE(entries.empty());
}

TEST(SimHidBusTest, TheStateFileKeepsEachDevicesStateUnderItsNameAcrossRuns) {
    CTempDataHome home;
    const std::string file = home.Path("state.json");
    {
        Json::Value other(Json::objectValue);
        other["keyboard"]["memory"] = "00ff";
        other["mouse3389"] = "not an object";
        ASSERT_EQ(CJsonDocument().wirtejsonFile(file, other), 0);
    }
    {
        auto bus = std::make_shared<CSimHidBus>();
        bus->SetStateFile(file);
        auto device = std::make_shared<CScriptedSimDevice>(kMouse, kMouseInterfaceDescriptor);
        bus->Plug("mouse3389", device);
        std::vector<HidEntryInfo> entries;
        bus->Enumerate(entries);
        auto connection = bus->Open(entries[3].path, {});
        CEvent abort(CEvent::Mode::kAutoReset);
        uint8_t request[64] = {0x04};
        size_t moved = 0;
        connection->Write(request, sizeof request, 1000, abort, moved);
        connection->Write(request, sizeof request, 1000, abort, moved);
        // Written after each change, not only at the end.
        EXPECT_EQ(CJsonDocument().ReadJsonValue(file)["mouse3389"]["received"].asUInt(), 2u);
    }
    const Json::Value saved = CJsonDocument().ReadJsonValue(file);
    EXPECT_EQ(saved["keyboard"]["memory"].asString(), "00ff");  // an absent device's state stays
    auto bus = std::make_shared<CSimHidBus>();
    bus->SetStateFile(file);
    auto device = std::make_shared<CScriptedSimDevice>(kMouse, kMouseInterfaceDescriptor);
    bus->Plug("mouse3389", device);
    EXPECT_EQ(device->SaveState()["received"].asUInt(), 2u);
}

TEST(SimEnvironmentTest, NorvikSimulateInstallsABusWithTheNamedDevices) {
    CSimDeviceRegistry registry;
    ASSERT_TRUE(registry.Register(
        "scripted", [] { return std::make_unique<CScriptedSimDevice>(kMouse, kMouseInterfaceDescriptor); }));
    EXPECT_FALSE(registry.Register("scripted", [] { return nullptr; }));
    unsetenv("NORVIK_SIMULATE");
    EXPECT_EQ(InstallSimulatedBusFromEnvironment(registry), nullptr);

    setenv("NORVIK_SIMULATE", "scripted,nosuch,scripted", 1);
    std::string unknown;
    auto bus = InstallSimulatedBusFromEnvironment(registry, &unknown);
    unsetenv("NORVIK_SIMULATE");
    ASSERT_NE(bus, nullptr);
    EXPECT_EQ(unknown, "nosuch");
    EXPECT_EQ(platform::hid::ProcessBackend(), bus);
    std::vector<HidEntryInfo> entries;
    bus->Enumerate(entries);
    EXPECT_EQ(entries.size(), 8u);
    platform::hid::SetProcessBackend(nullptr);
}

TEST(SimEnvironmentTest, NorvikSimFaultsGivesEachEmulatorThePlanOrNothingWhenItIsBad) {
    setenv("NORVIK_SIMULATE", "mouse3389,mouse", 1);
    struct Case {
        const char* plan;
        bool valid;
    };
    for (const Case& c : {Case{"noreply@1", true}, Case{"noreply@1,melt@2", false}}) {
        setenv("NORVIK_SIM_FAULTS", c.plan, 1);
        std::string error;
        auto bus = InstallSimulatedBusFromEnvironment(CSimDeviceRegistry::Standard(), nullptr, &error);
        ASSERT_NE(bus, nullptr);
        EXPECT_EQ(error.empty(), c.valid) << c.plan;
        for (const char* name : {"mouse3389", "mouse"}) {
            CFaultPlan* plan = bus->DeviceNamed(name)->FaultPlan();
            ASSERT_NE(plan, nullptr);
            EXPECT_EQ(plan->Take(), std::vector<FaultKind>{}) << name;
            EXPECT_EQ(plan->Take(),
                      c.valid ? std::vector<FaultKind>{FaultKind::kNoReply} : std::vector<FaultKind>{})
                << name << " " << c.plan;
        }
    }
    unsetenv("NORVIK_SIM_FAULTS");
    unsetenv("NORVIK_SIMULATE");
    platform::hid::SetProcessBackend(nullptr);
}

}  // namespace
