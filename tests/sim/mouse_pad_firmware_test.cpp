#include "sim/mouse_pad_firmware.h"

#include "device/command_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Report = CMousePadFirmware::Report;

Report Request(uint8_t command, uint8_t length = 0, uint16_t address = 0, std::vector<uint8_t> payload = {}) {
    Report report{};
    report[0] = kCommandReportId;
    report[3] = command;
    report[4] = length;
    report[5] = static_cast<uint8_t>(address & 0xFF);
    report[6] = static_cast<uint8_t>(address >> 8);
    std::copy(payload.begin(), payload.end(), report.begin() + 8);
    SealCommandReport(report.data());
    return report;
}

uint8_t Status(CMousePadFirmware& firmware, const Report& request) {
    const auto reply = firmware.HandleRequest(request);
    EXPECT_TRUE(reply.has_value());
    return reply ? (*reply)[kCommandStatusByte] : 0xEE;
}

}  // namespace

TEST(MousePadFirmware, RefusesWhatFirmwareRefusesAndKeepsItsMemory) {
    struct Case {
        const char* what;
        Report request;
        bool inBracket;
        uint8_t status;
    };
    Report damaged = Request(command_code::kWriteMemory, 1, 2, {3});
    damaged[8] = 4;  // changed on the way: the checksum no longer holds
    const std::vector<Case> cases = {
        {"bad checksum", damaged, true, kStatusFailed},
        {"write outside a transfer", Request(command_code::kWriteMemory, 1, 2, {3}), false, kStatusRejected},
        {"write past the memory", Request(command_code::kWriteMemory, 2, 99, {0, 0}), true, kStatusRejected},
        {"read past the memory", Request(command_code::kReadMemory, 25, 76), true, kStatusRejected},
        {"light mode 9", Request(command_code::kWriteMemory, 1, 26, {9}), true, kStatusRejected},
        {"brightness 5", Request(command_code::kWriteMemory, 1, 2, {5}), true, kStatusRejected},
        {"inverted speed 5", Request(command_code::kWriteMemory, 1, 3, {5}), true, kStatusRejected},
        {"multicolour 2", Request(command_code::kWriteMemory, 1, 5, {2}), true, kStatusRejected},
        {"active slot 4", Request(command_code::kWriteMemory, 1, 0, {4}), true, kStatusRejected},
        {"the firmware's own byte 21",
         Request(command_code::kWriteMemory, 22, 0, std::vector<uint8_t>(22, 0)), true, kStatusRejected},
        {"length over 56", Request(command_code::kReadMemory, 57, 0), true, kStatusRejected},
        {"unknown command", Request(command_code::kReadKeyTable), true, kStatusFailed},
    };
    for (const Case& c : cases) {
        CMousePadFirmware firmware;
        const std::vector<uint8_t> before = firmware.Memory();
        if (c.inBracket) {
            ASSERT_EQ(Status(firmware, Request(command_code::kBeginTransfer)), 0);
        }
        EXPECT_EQ(Status(firmware, c.request), c.status) << c.what;
        EXPECT_EQ(firmware.Memory(), before) << c.what;
        EXPECT_EQ(firmware.Refusals(), 1u) << c.what;
    }
}

TEST(MousePadFirmware, TheLightButtonStepsTheActiveSlotsModeRoundTheNineModes) {
    CMousePadFirmware firmware;
    ASSERT_EQ(Status(firmware, Request(command_code::kBeginTransfer)), 0);
    ASSERT_EQ(Status(firmware, Request(command_code::kWriteMemory, 1, 0, {2})), 0);   // slot 2 active
    ASSERT_EQ(Status(firmware, Request(command_code::kWriteMemory, 1, 51, {8})), 0);  // its mode: off
    ASSERT_EQ(Status(firmware, Request(command_code::kEndTransfer)), 0);
    firmware.StepLightMode();
    EXPECT_EQ(firmware.Memory()[51], 0) << "after off comes wave";
    firmware.StepLightMode();
    EXPECT_EQ(firmware.Memory()[51], 1);
    EXPECT_EQ(firmware.Memory()[1], 0) << "slot 0 is not the active one";
}

TEST(MousePadFirmware, StateKeepsTheMemoryAsHexAndRefusesAWrongSize) {
    CMousePadFirmware firmware;
    ASSERT_EQ(Status(firmware, Request(command_code::kBeginTransfer)), 0);
    ASSERT_EQ(Status(firmware, Request(command_code::kWriteMemory, 2, 6, {0xAB, 0xCD})), 0);
    ASSERT_EQ(Status(firmware, Request(command_code::kEndTransfer)), 0);
    Json::Value state = firmware.SaveState();
    ASSERT_EQ(state["memory"].asString().size(),
              CMousePadFirmware::kSlotCount * CMousePadFirmware::kRecordSize * 2);
    EXPECT_EQ(state["memory"].asString().substr(12, 4), "abcd");

    CMousePadFirmware restored;
    restored.LoadState(state);
    EXPECT_EQ(restored.Memory(), firmware.Memory());
    state["memory"] = "00";
    CMousePadFirmware unchanged;
    unchanged.LoadState(state);
    EXPECT_EQ(unchanged.Memory(), CMousePadFirmware().Memory());
}
