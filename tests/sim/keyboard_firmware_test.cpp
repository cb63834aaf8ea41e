#include "sim/keyboard_firmware.h"

#include "device/command_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Report = CKeyboardFirmware::Report;

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

uint8_t Status(CKeyboardFirmware& firmware, const Report& request) {
    const auto reply = firmware.HandleRequest(request);
    EXPECT_TRUE(reply.has_value());
    return reply ? (*reply)[kCommandStatusByte] : 0xEE;
}

struct Memories {
    std::vector<uint8_t> memory, keyTable, macros;
    bool operator==(const Memories&) const = default;
};

Memories Snapshot(const CKeyboardFirmware& firmware) {
    return {firmware.Memory(), firmware.KeyTable(), firmware.MacroMemory()};
}

}  // namespace

TEST(KeyboardFirmware, RefusesWhatFirmwareRefusesAndKeepsItsMemory) {
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
        {"write past the settings memory", Request(command_code::kWriteMemory, 2, 99, {0, 0}), true,
         kStatusRejected},
        {"key table page 1", Request(command_code::kWriteKeyTable, 3, 512, {0x20, 0, 4}), true,
         kStatusRejected},
        {"read past the light order", Request(command_code::kReadLightOrder, 10, 120), true, kStatusRejected},
        {"light mode 25", Request(command_code::kWriteMemory, 1, 1, {25}), true, kStatusRejected},
        {"inverted speed 5", Request(command_code::kWriteMemory, 1, 28, {5}), true, kStatusRejected},
        {"flag 2", Request(command_code::kWriteMemory, 1, 21, {2}), true, kStatusRejected},
        {"polling 4", Request(command_code::kWriteMemory, 1, 22, {4}), true, kStatusRejected},
        {"reserved byte", Request(command_code::kWriteMemory, 1, 10, {1}), true, kStatusRejected},
        {"active slot 4", Request(command_code::kWriteMemory, 1, 0, {4}), true, kStatusRejected},
        {"length over 56", Request(command_code::kReadMemory, 57, 0), true, kStatusRejected},
        {"unknown command", Request(0x44), true, kStatusFailed},
    };
    for (const Case& c : cases) {
        CKeyboardFirmware firmware;
        const Memories before = Snapshot(firmware);
        if (c.inBracket) {
            ASSERT_EQ(Status(firmware, Request(command_code::kBeginTransfer)), 0);
        }
        EXPECT_EQ(Status(firmware, c.request), c.status) << c.what;
        EXPECT_EQ(Snapshot(firmware), before) << c.what;
        EXPECT_EQ(firmware.Refusals(), 1u) << c.what;
    }
}

TEST(KeyboardFirmware, ADamagedMacroImageIsUndoneAtTheEndOfTheTransfer) {
    CKeyboardFirmware firmware;
    const std::vector<uint8_t> before = firmware.MacroMemory();
    ASSERT_EQ(Status(firmware, Request(command_code::kBeginTransfer)), 0);
    ASSERT_EQ(Status(firmware, Request(command_code::kWriteMacroBlock, 4, 0, {0xAA, 0x55, 0x40, 0x00})), 0);
    EXPECT_EQ(Status(firmware, Request(command_code::kEndTransfer)), kStatusRejected);
    EXPECT_EQ(firmware.MacroMemory(), before);
}

TEST(KeyboardFirmware, StateKeepsTheThreeMemoriesAsHexAndRefusesWrongSizes) {
    CKeyboardFirmware firmware;
    ASSERT_EQ(Status(firmware, Request(command_code::kBeginTransfer)), 0);
    ASSERT_EQ(Status(firmware, Request(command_code::kWriteMemory, 2, 21, {1, 2})), 0);
    ASSERT_EQ(Status(firmware, Request(command_code::kWriteKeyTable, 3, 0, {0x20, 0x00, 0x3E})), 0);
    ASSERT_EQ(Status(firmware, Request(command_code::kEndTransfer)), 0);
    Json::Value state = firmware.SaveState();
    ASSERT_EQ(state["memory"].asString().size(),
              CKeyboardFirmware::kSlotCount * CKeyboardFirmware::kRecordSize * 2);
    EXPECT_EQ(state["memory"].asString().substr(42, 4), "0102");
    EXPECT_EQ(state["key_table"].asString().substr(0, 6), "20003e");
    EXPECT_EQ(state["macro_memory"].asString().size(), size_t{CKeyboardFirmware::kMacroUnits} * 128 * 2);

    CKeyboardFirmware restored;
    state["macro_memory"] = "00";  // wrong size: the factory memory stays
    restored.LoadState(state);
    EXPECT_EQ(restored.Memory(), firmware.Memory());
    EXPECT_EQ(restored.KeyTable(), firmware.KeyTable());
    EXPECT_EQ(restored.MacroMemory(), CKeyboardFirmware().MacroMemory());
}
