#include "devices/pad/mouse_pad_protocol.h"
#include "devices/pad/mouse_pad_settings.h"
#include "profile/data_folders.h"
#include "profile/json_document.h"
#include "sim/firmware_memory.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse_pad.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Bytes = std::vector<uint8_t>;

// The emulator's factory record of slot 0, byte by byte: slot 0, wave, brightness 4, inverted
// speed 2, its own light byte 0x4F, multicolour, 0099FF, its settings 11..CC, its own 5A A5 0F 01.
const Bytes kFactoryRecord = {0x00, 0x00, 0x04, 0x02, 0x4F, 0x01, 0x00, 0x99, 0xFF, 0x11, 0x22, 0x33, 0x44,
                              0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0x5A, 0xA5, 0x0F, 0x01};

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

// Command, length and address of each request, in order.
struct Exchange {
    uint8_t command;
    uint8_t length;
    uint16_t address;
    bool operator==(const Exchange&) const = default;
};

std::vector<Exchange> Exchanges(const std::vector<CSimulatedMousePad::Report>& requests) {
    std::vector<Exchange> exchanges;
    for (const auto& r : requests) {
        exchanges.push_back({r[3], r[4], static_cast<uint16_t>(r[5] | r[6] << 8)});
    }
    return exchanges;
}

}  // namespace

// The emulated pad on its own bus, its command channel open, and a profile made from the shipped
// default pad profile in a temporary data folder.
class MousePadProtocol : public ::testing::Test {
protected:
    // Plugs the pad, with its memory changed first where the test says so.
    void Connect(const std::vector<std::pair<size_t, uint8_t>>& changes = {}) {
        Bytes memory = pad->Memory();
        for (const auto& [at, value] : changes) {
            memory[at] = value;
        }
        Json::Value state(Json::objectValue);
        state["memory"] = firmware_memory::ToHex(memory);
        pad->LoadState(state);
        bus->Plug(CSimulatedMousePad::kName, pad);
        ASSERT_TRUE(channel.Open(PathOf(*bus, 0xFF1C), false));
        ASSERT_TRUE(std::filesystem::exists(CDataFolders::DefaultProfileFile("MousePad")));
        profile.OpenActiveProfile(home.Path("pad.Json"), home.Path("quorl_light.config"),
                                  CDataFolders::DefaultProfileFile("MousePad"));
    }
    void TearDown() override { EXPECT_EQ(pad->Refusals(), 0u) << "a request the firmware refused"; }

    Bytes Slot(size_t slot) const {
        const Bytes memory = pad->Memory();
        return {memory.begin() + static_cast<long>(slot * 25),
                memory.begin() + static_cast<long>(slot * 25 + 25)};
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMousePad> pad = std::make_shared<CSimulatedMousePad>();
    CommandChannel channel{bus};
    CBasicProfiledata profile;
    CMousePadProtocol protocol{channel};
};

TEST_F(MousePadProtocol, ASpeedByteOfOneIsHeldAsSpeedThreeAndWrittenBackAsOne) {
    Connect({{3, 1}});
    ASSERT_EQ(protocol.ReadInfo(), 1);
    int profileIndex = -1;
    ASSERT_EQ(protocol.ReadParameters(profileIndex), 1);
    EXPECT_EQ(profileIndex, 0);
    EXPECT_EQ(protocol.Record().speed, 3);
    pad->ClearRequests();

    ASSERT_EQ(protocol.WriteParameters(0), 1);
    const std::vector<Exchange> expected = {{0x01, 0, 0}, {0x06, 21, 0}, {0x02, 0, 0}};
    EXPECT_EQ(Exchanges(pad->Requests()), expected);
    Bytes record = kFactoryRecord;
    record[3] = 0x01;
    EXPECT_EQ(Slot(0), record) << "every byte as read, the firmware's own included";
}

TEST_F(MousePadProtocol, AfterThePadReportsProfileTwoItsRecordIsReadAtFifty) {
    Connect({{0, 2}, {51, 6}, {53, 4}});
    pad->ClearRequests();
    int profileIndex = -1;
    ASSERT_EQ(protocol.ReadParameters(profileIndex), 1);
    const std::vector<Exchange> expected = {{0x05, 1, 0}, {0x05, 25, 50}};
    EXPECT_EQ(Exchanges(pad->Requests()), expected);
    EXPECT_EQ(profileIndex, 2);
    EXPECT_EQ(protocol.Record().lightMode, 6);
    EXPECT_EQ(protocol.Record().speed, 0) << "inverted speed 4";
}

TEST_F(MousePadProtocol, LightChangesLeaveTheRecordWorkedOutFromTheLayout) {
    Connect();
    int profileIndex = 0;
    ASSERT_EQ(protocol.ReadParameters(profileIndex), 1);
    struct Step {
        LightInfo light;
        Bytes hostBytes;  // bytes 1, 2, 3, 5, 6, 7, 8 as the pad must hold them
    };
    const auto light = [](uint8_t mode, uint8_t brightness, uint8_t speed, uint8_t multi, uint8_t r,
                          uint8_t g, uint8_t b) {
        LightInfo info;
        info.selectItem = mode;
        info.light = brightness;
        info.speed = speed;
        info.multiColor = multi;
        info.red = r;
        info.green = g;
        info.blue = b;
        return info;
    };
    const std::vector<Step> steps = {
        {light(5, 1, 4, 0, 0x12, 0x34, 0x56), {0x05, 0x01, 0x00, 0x00, 0x12, 0x34, 0x56}},
        {light(8, 0, 0, 1, 0xFF, 0x00, 0x80), {0x08, 0x00, 0x04, 0x01, 0xFF, 0x00, 0x80}},
        // Out of the pad's range: a mode past 8 goes out as wave, a speed past 4 as the fastest.
        {light(12, 4, 7, 0, 0x01, 0x02, 0x03), {0x00, 0x04, 0x00, 0x00, 0x01, 0x02, 0x03}},
    };
    for (const Step& step : steps) {
        ASSERT_EQ(CMousePadSettings(profile, protocol).SetLight(step.light), CMousePadSettings::kOk);
        Bytes expected = kFactoryRecord;
        const size_t places[] = {1, 2, 3, 5, 6, 7, 8};
        for (size_t i = 0; i < std::size(places); ++i) {
            expected[places[i]] = step.hostBytes[i];
        }
        EXPECT_EQ(Slot(0), expected) << int{step.light.selectItem};
        const Json::Value saved =
            CJsonDocument().ReadJsonValue(home.Path("pad.Json"))["Device"][0]["LightInfo"];
        EXPECT_EQ(saved["SelectItem"].asInt(), step.light.selectItem);
        EXPECT_EQ(saved["Red"].asInt(), step.light.red);
    }
    Bytes slotOne = kFactoryRecord;
    slotOne[0] = 1;
    EXPECT_EQ(Slot(1), slotOne) << "other slots untouched";
}

TEST_F(MousePadProtocol, NothingIsSentOnAClosedChannelOrBeforeTheRecordWasRead) {
    Connect();
    pad->ClearRequests();
    EXPECT_EQ(protocol.WriteParameters(0), 0) << "the record of this connection was never read";
    EXPECT_TRUE(pad->Requests().empty());

    int profileIndex = 0;
    ASSERT_EQ(protocol.ReadParameters(profileIndex), 1);
    channel.Close();
    pad->ClearRequests();
    EXPECT_EQ(protocol.WriteParameters(0), 0);
    EXPECT_EQ(protocol.ReadParameters(profileIndex), 0);
    EXPECT_TRUE(pad->Requests().empty());
    EXPECT_EQ(Slot(0), kFactoryRecord);
}

TEST_F(MousePadProtocol, ARefusedOrUnansweredWriteIsReportedAndTheBracketStillEnds) {
    Connect();
    int profileIndex = 0;
    ASSERT_EQ(protocol.ReadParameters(profileIndex), 1);
    LightInfo light = profile.GetLightInfo();
    light.selectItem = 3;

    pad->Faults().Add(FaultKind::kStatusRejected, 1);  // 0x01 passes, 0x06 is refused
    pad->ClearRequests();
    EXPECT_EQ(CMousePadSettings(profile, protocol).SetLight(light), channel_result::kStatusRejected);
    EXPECT_EQ(pad->Requests().back()[3], 0x02);
    EXPECT_EQ(Slot(0), kFactoryRecord);

    pad->Faults().Add(FaultKind::kNoReply, 1);
    EXPECT_NE(CMousePadSettings(profile, protocol).SetLight(light), CMousePadSettings::kOk);
    EXPECT_EQ(protocol.WriteParameters(0), 1) << "the next write goes through";
    EXPECT_EQ(Slot(0)[1], 3);
}
