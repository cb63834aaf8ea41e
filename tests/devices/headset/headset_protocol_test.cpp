#include "devices/headset/headset_protocol.h"

#include "sim/sim_hid_bus.h"
#include "sim/simulated_headset.h"

#include <gtest/gtest.h>

namespace {

// The emulated headset on its own bus with its command channel open.
class HeadsetProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        bus->Plug("hs6533", headset);
        std::vector<platform::hid::HidEntryInfo> entries;
        ASSERT_TRUE(bus->Enumerate(entries));
        ASSERT_EQ(entries.size(), 1U);
        EXPECT_EQ(entries[0].path.find("vid_0000&pid_0000&mi_03#"), 4U)
            << "the headset's row: one collection";
        ASSERT_TRUE(channel.Open(entries[0].path));
    }

    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedHeadset> headset = std::make_shared<CSimulatedHeadset>();
    CommandChannel channel{bus};
    CHeadsetProtocol protocol{channel};
};

TEST_F(HeadsetProtocolTest, TheLightRecordGoesToSlotZeroWithItsSpeedInvertedAndComesBack) {
    ASSERT_EQ(protocol.ReadLightRecord(), channel_result::kOk);
    LightInfo light = protocol.Light();
    EXPECT_EQ(light.speed, 2);
    light.selectItem = 3;
    light.light = 2;
    light.speed = 1;
    light.multiColor = 0;
    light.red = 0x12;
    light.green = 0x34;
    light.blue = 0x56;
    protocol.SetLight(light);
    ASSERT_EQ(protocol.WriteLightRecord(0), channel_result::kOk);
    const std::vector<uint8_t> memory = headset->Memory();
    EXPECT_EQ((std::vector<uint8_t>(memory.begin(), memory.begin() + 9)),
              (std::vector<uint8_t>{0, 3, 2, 3, 0, 0, 0x12, 0x34, 0x56}));

    CHeadsetProtocol fresh(channel);
    ASSERT_EQ(fresh.ReadLightRecord(), channel_result::kOk);
    EXPECT_EQ(fresh.Light(), light);
}

TEST_F(HeadsetProtocolTest, TheActiveSlotChoosesWhichRecordIsRead) {
    LightInfo light;
    light.selectItem = 4;
    protocol.SetLight(light);
    ASSERT_EQ(protocol.WriteLightRecord(0), channel_result::kOk);
    headset->PressLightButton();  // slot 0: mode 4 -> 0
    ASSERT_EQ(protocol.ReadLightRecord(), channel_result::kOk);
    EXPECT_EQ(protocol.Light().selectItem, 0);
}

TEST_F(HeadsetProtocolTest, PowerStatusCarriesTheBatteryAndTheWirelessFlag) {
    ASSERT_TRUE(headset->SetBatteryLevel(37));
    CHeadsetProtocol::PowerStatus status{};
    ASSERT_EQ(protocol.ReadPowerStatus(status), channel_result::kOk);
    EXPECT_EQ(status[0], 37);
    EXPECT_EQ(status[3], 0);
    channel.SetWireless(true);
    ASSERT_EQ(protocol.ReadPowerStatus(status), channel_result::kOk);
    EXPECT_EQ(status[3], 1);
    EXPECT_FALSE(headset->SetBatteryLevel(101));
}

TEST_F(HeadsetProtocolTest, AClosedChannelChangesNothing) {
    channel.Close();
    const size_t requests = headset->RequestCount();
    CHeadsetProtocol::PowerStatus status{9, 9, 9, 9, 9, 9};
    EXPECT_EQ(protocol.ReadLightRecord(), channel_result::kNoReply);
    EXPECT_EQ(protocol.WriteLightRecord(0), channel_result::kNoReply);
    EXPECT_EQ(protocol.ReadPowerStatus(status), channel_result::kNoReply);
    EXPECT_EQ(status[0], 9);
    EXPECT_EQ(headset->RequestCount(), requests);
}

}  // namespace
