#include "sim/simulated_mouse.h"

#include "device/command_channel.h"
#include "device/hid_device.h"
#include "profile/json_document.h"
#include "sim/mouse_model.h"
#include "sim/sim_device_registry.h"
#include "sim/sim_hid_bus.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<platform::hid::HidEntryInfo> Entries(CSimHidBus& bus) {
    std::vector<platform::hid::HidEntryInfo> entries;
    bus.Enumerate(entries);
    return entries;
}

std::string PathOf(CSimHidBus& bus, uint16_t usagePage) {
    for (const auto& entry : Entries(bus)) {
        if (entry.collection.usage_page == usagePage) {
            return entry.path;
        }
    }
    return {};
}

TEST(SimulatedMouse, ShowsTheCollectionsOfAGamingMouseInterface) {
    struct Expected {
        uint16_t usagePage, usage, input, output;
    };
    const Expected expected[] = {
        {0x01, 0x06, 9, 2}, {0x01, 0x80, 2, 0}, {0x0C, 0x01, 3, 0}, {0xFF1C, 0x92, 64, 64}};
    for (MouseModel model : {MouseModel3325(), MouseModel3389()}) {
        SCOPED_TRACE(model.name);
        auto bus = std::make_shared<CSimHidBus>();
        ASSERT_NE(bus->Plug(model.name, std::make_shared<CSimulatedMouse>(model)), 0u);
        const auto entries = Entries(*bus);
        ASSERT_EQ(entries.size(), 4u);
        for (size_t i = 0; i < entries.size(); ++i) {
            const auto& entry = entries[i];
            EXPECT_EQ(entry.attributes.vendor_id, 0x320F);
            EXPECT_EQ(entry.attributes.product_id, model.productId);
            EXPECT_EQ(entry.interface_number, 1);
            EXPECT_EQ(entry.collection.index, i + 1);
            EXPECT_EQ(entry.collection.usage_page, expected[i].usagePage);
            EXPECT_EQ(entry.collection.usage, expected[i].usage);
            EXPECT_EQ(entry.collection.caps.input_report_length, expected[i].input);
            EXPECT_EQ(entry.collection.caps.output_report_length, expected[i].output);
        }
        EXPECT_NE(entries[2].path.find("&mi_01&col03"), std::string::npos) << entries[2].path;
        EXPECT_NE(entries[3].path.find("&mi_01&col04"), std::string::npos) << entries[3].path;
    }
}

TEST(SimulatedMouse, RegisteredUnderItsNames) {
    CSimDeviceRegistry registry;
    RegisterStandardEmulators(registry);
    for (const char* name : {"mouse", "mouse3389", "mouse3389_wireless"}) {
        auto device = registry.Create(name);
        ASSERT_NE(device, nullptr) << name;
        EXPECT_EQ(dynamic_cast<CSimulatedMouse&>(*device).Model().name, name);
    }
    EXPECT_EQ(registry.Create("mouse")->GetIdentity().product_id, 0x2002);
    EXPECT_EQ(registry.Create("mouse3389")->GetIdentity().product_id, 0x21FD);
}

TEST(SimulatedMouse, ButtonPressAnnouncesUsage0401OnTheConsumerCollection) {
    auto bus = std::make_shared<CSimHidBus>();
    auto mouse = std::make_shared<CSimulatedMouse>(MouseModel3389());
    bus->Plug("mouse3389", mouse);
    HidDevice consumer(bus);
    ASSERT_TRUE(consumer.Open(PathOf(*bus, 0x0C), true, true, true, false));
    const uint8_t stage = mouse->Memory()[19];

    mouse->PressDpiButton();
    std::vector<uint8_t>& report = consumer.InputReportBuffer();
    ASSERT_TRUE(consumer.Read(report.data(), report.size(), 2000));
    ASSERT_TRUE(consumer.UnpackInputReport(report.data(), report.size(), platform::hid::ReportType::kInput,
                                           consumer.InputItems()));
    ASSERT_FALSE(consumer.InputItems().empty());
    EXPECT_EQ(consumer.InputItems()[0].usages.at(0), 0x0401);
    EXPECT_EQ(mouse->Memory()[19], (stage + 1) % 7);

    // The release follows: no usage is on.
    ASSERT_TRUE(consumer.Read(report.data(), report.size(), 2000));
    ASSERT_TRUE(consumer.UnpackInputReport(report.data(), report.size(), platform::hid::ReportType::kInput,
                                           consumer.InputItems()));
    EXPECT_EQ(consumer.InputItems()[0].usages.at(0), 0);

    EXPECT_TRUE(mouse->PressProfileButton(1));
    EXPECT_EQ(mouse->Memory()[0], 1);
    EXPECT_FALSE(mouse->PressProfileButton(9));
}

TEST(SimulatedMouse, StateFileKeepsWhatTheHostWrote) {
    CTempDataHome home;
    const std::string stateFile = home.Path("sim-state.json");
    // The stage colours (bytes 24..44) take any value; the rest of this record stays valid at 0.
    std::vector<uint8_t> record(86, 0);
    std::fill(record.begin() + 24, record.begin() + 45, 0x5A);
    {
        auto bus = std::make_shared<CSimHidBus>();
        bus->SetStateFile(stateFile);
        bus->Plug("mouse", std::make_shared<CSimulatedMouse>(MouseModel3325()));
        CommandChannel channel(bus);
        ASSERT_TRUE(channel.Open(PathOf(*bus, 0xFF1C)));
        ASSERT_EQ(channel.BeginTransfer(), channel_result::kOk);
        ASSERT_EQ(channel.WriteMemory(0x0080, record), channel_result::kOk);
        ASSERT_EQ(channel.EndTransfer(), channel_result::kOk);
    }

    const Json::Value state = CJsonDocument().ReadJsonValue(stateFile);
    const std::string memory = state["mouse"]["memory"].asString();
    ASSERT_EQ(memory.size(), 512u * 2);
    EXPECT_EQ(memory.substr((0x80 + 24) * 2, 4), "5a5a");
    EXPECT_EQ(state["mouse"]["key_table"].asString().substr(0, 6), "100100");
    EXPECT_TRUE(state["mouse"]["macro_memory"].isString());
    EXPECT_TRUE(state["mouse"]["shoot_memory"].isString());

    auto bus = std::make_shared<CSimHidBus>();
    bus->SetStateFile(stateFile);
    auto mouse = std::make_shared<CSimulatedMouse>(MouseModel3325());
    bus->Plug("mouse", mouse);
    EXPECT_EQ(mouse->Memory()[0x80 + 44], 0x5A);
}

}  // namespace
