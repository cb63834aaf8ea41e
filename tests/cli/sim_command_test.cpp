#include "cli/sim_command.h"

#include "device/hid_device.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_headset.h"
#include "sim/simulated_mouse.h"
#include "sim/simulated_mouse_pad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome RunSim(std::shared_ptr<CSimHidBus> bus, const std::vector<std::string>& args) {
    CSimCommand command(std::move(bus));
    std::ostringstream out;
    std::ostringstream err;
    const int code = command.Run(args, out, err);
    return {code, out.str(), err.str()};
}

class SimCommandTest : public ::testing::Test {
protected:
    SimCommandTest() { bus_->Plug("mouse", mouse_); }

    std::shared_ptr<CSimHidBus> bus_ = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMouse> mouse_ = std::make_shared<CSimulatedMouse>(MouseModel3325());
};

TEST_F(SimCommandTest, DpiPressMovesTheStageAndAnnouncesIt) {
    std::vector<platform::hid::HidEntryInfo> entries;
    bus_->Enumerate(entries);
    HidDevice consumer(bus_);
    ASSERT_TRUE(consumer.Open(entries.at(2).path, true, true, true, false));

    const Outcome pressed = RunSim(bus_, {"press", "mouse", "dpi"});
    EXPECT_EQ(pressed.code, kExitOk) << pressed.err;
    EXPECT_EQ(pressed.out, "mouse: DPI stage 3 of 7\n");
    EXPECT_EQ(mouse_->Memory()[19], 2);

    std::vector<uint8_t>& report = consumer.InputReportBuffer();
    ASSERT_TRUE(consumer.Read(report.data(), report.size(), 2000));
    EXPECT_EQ(report, (std::vector<uint8_t>{0x03, 0x01, 0x04}));
}

TEST_F(SimCommandTest, ProfilePressAndItsErrors) {
    EXPECT_EQ(RunSim(bus_, {"press", "mouse", "profile", "2"}).out, "mouse: profile 2 active\n");
    EXPECT_EQ(mouse_->Memory()[0], 2);

    const Outcome missing = RunSim(bus_, {"press", "mouse", "profile", "7"});
    EXPECT_EQ(missing.code, kExitFailure);
    EXPECT_NE(missing.err.find("profiles 0 to 3"), std::string::npos) << missing.err;

    const Outcome unknown = RunSim(bus_, {"press", "keyboard", "dpi"});
    EXPECT_EQ(unknown.code, kExitFailure);
    EXPECT_NE(unknown.err.find("norvikctl sim list"), std::string::npos) << unknown.err;

    EXPECT_EQ(RunSim(bus_, {"press", "mouse", "profile", "x"}).code, kExitUsage);
    EXPECT_EQ(RunSim(bus_, {"press", "mouse"}).code, kExitUsage);
    EXPECT_EQ(RunSim(bus_, {}).code, kExitUsage);
}

TEST_F(SimCommandTest, ListAndTheMissingBus) {
    const Outcome list = RunSim(bus_, {"list"});
    EXPECT_NE(list.out.find("mouse  plugged in\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("mouse3389\n"), std::string::npos) << list.out;

    const Outcome none = RunSim(nullptr, {"press", "mouse", "dpi"});
    EXPECT_EQ(none.code, kExitFailure);
    EXPECT_NE(none.err.find("NORVIK_SIMULATE=mouse"), std::string::npos) << none.err;
}

}  // namespace

TEST_F(SimCommandTest, TheHeadsetsBatteryAndLightButton) {
    auto headset = std::make_shared<CSimulatedHeadset>();
    bus_->Plug("hs6533", headset);
    EXPECT_EQ(RunSim(bus_, {"battery", "hs6533", "15"}).out, "hs6533: battery 15%\n");
    EXPECT_EQ(headset->PowerRecord()[0], 15);
    EXPECT_EQ(RunSim(bus_, {"press", "hs6533", "light"}).out, "hs6533: light mode 2\n");
    struct SCase {
        std::vector<std::string> args;
        int code;
    };
    for (const SCase& c :
         {SCase{{"battery", "hs6533", "101"}, kExitUsage}, SCase{{"battery", "hs6533", "x"}, kExitUsage},
          SCase{{"battery", "mouse", "50"}, kExitFailure},
          SCase{{"press", "mouse", "light"}, kExitFailure}}) {
        const Outcome outcome = RunSim(bus_, c.args);
        EXPECT_EQ(outcome.code, c.code) << c.args[0] << " " << c.args[1] << " " << c.args[2];
        EXPECT_FALSE(outcome.err.empty());
    }
    EXPECT_EQ(headset->PowerRecord()[0], 15);
    EXPECT_EQ(RunSim(nullptr, {"battery", "hs6533", "50"}).code, kExitFailure);
}

TEST_F(SimCommandTest, ThePadsLightButtonStepsItsModeAndIsAnnounced) {
    auto pad = std::make_shared<CSimulatedMousePad>();
    bus_->Plug(CSimulatedMousePad::kName, pad);
    HidDevice consumer(bus_);
    std::vector<platform::hid::HidEntryInfo> entries;
    bus_->Enumerate(entries);
    const auto found = std::find_if(entries.begin(), entries.end(), [](const auto& entry) {
        return entry.path.find("mousepad") != std::string::npos && entry.collection.usage_page == 0x0C;
    });
    ASSERT_NE(found, entries.end());
    ASSERT_TRUE(consumer.Open(found->path, true, false, true, false));

    EXPECT_EQ(RunSim(bus_, {"press", "mousepad", "light"}).out, "mousepad: light mode 1\n");
    EXPECT_EQ(pad->ActiveRecord()[1], 1);
    uint8_t report[3] = {};
    ASSERT_TRUE(consumer.Read(report, sizeof report, 1000));
    EXPECT_EQ(report[1] | report[2] << 8, 0x0401);

    bus_->Unplug(2);
    EXPECT_EQ(RunSim(bus_, {"press", "mousepad", "light"}).code, kExitFailure);
}
