#include "sim/mouse_firmware.h"

#include "device/command_report.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Report = CMouseFirmware::Report;

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

Report Answer(CMouseFirmware& firmware, const Report& request) {
    const auto reply = firmware.HandleRequest(request);
    EXPECT_TRUE(reply.has_value());
    return reply.value_or(Report{});
}

std::vector<uint8_t> Payload(const Report& reply, size_t length) {
    return {reply.begin() + 8, reply.begin() + 8 + static_cast<std::ptrdiff_t>(length)};
}

TEST(MouseFirmware, RepliesEchoTheRequestHeaderAndCarryAValidChecksum) {
    CMouseFirmware firmware(MouseModel3325());
    const Report reply = Answer(firmware, Request(command_code::kReadMemory, 20, 0x0080));
    EXPECT_EQ(reply[0], kCommandReportId);
    EXPECT_EQ(reply[3], command_code::kReadMemory);
    EXPECT_EQ(reply[4], 20);
    EXPECT_EQ(reply[5], 0x80);
    EXPECT_EQ(reply[6], 0x00);
    EXPECT_EQ(reply[7], 0x00);
    EXPECT_EQ(reply[1] | reply[2] << 8, CommandChecksum(reply.data()));
}

TEST(MouseFirmware, RefusesARequestWhoseChecksumDoesNotMatch) {
    CMouseFirmware firmware(MouseModel3325());
    const std::vector<uint8_t> before = firmware.Memory();
    Report request = Request(command_code::kWriteMemory, 2, 0x0010, {0xAB, 0xCD});
    request[9] = 0xCE;  // a byte changed on the way; the checksum no longer holds

    EXPECT_EQ(Answer(firmware, request)[7], kStatusFailed);
    EXPECT_EQ(firmware.Memory(), before);
    EXPECT_EQ(firmware.Refusals(), 1u);
}

// The status byte belongs to the reply: a request that carries one is refused and counted.
TEST(MouseFirmware, RefusesARequestWithAStatusByte) {
    CMouseFirmware firmware(MouseModel3325());
    const std::vector<uint8_t> before = firmware.Memory();
    Report request = Request(command_code::kWriteMemory, 2, 0x0010, {0xAB, 0xCD});
    request[7] = 0x01;
    SealCommandReport(request.data());

    EXPECT_EQ(Answer(firmware, request)[7], kStatusFailed);
    EXPECT_EQ(firmware.Memory(), before);
    EXPECT_EQ(Answer(firmware, Request(command_code::kReadInfo, 32, 0))[7], 0x00);
    EXPECT_EQ(firmware.Refusals(), 1u);
}

TEST(MouseFirmware, InfoBlockCarriesEachModelsFigures) {
    struct Case {
        MouseModel model;
        uint16_t sensor;
        uint8_t keyCount, macroUnits, step, highest, lowest;
    };
    const Case cases[] = {{MouseModel3325(), 0x3325, 7, 8, 100, 80, 200},
                          {MouseModel3389(), 0x3389, 8, 16, 100, 159, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model.name);
        CMouseFirmware firmware(c.model);
        const std::vector<uint8_t> info =
            Payload(Answer(firmware, Request(command_code::kReadInfo, 32, 0)), 32);
        EXPECT_EQ(info[5], c.keyCount);
        EXPECT_EQ(info[6], c.macroUnits);
        EXPECT_EQ(info[9] | info[10] << 8, c.sensor);
        EXPECT_EQ(info[11], c.step);
        EXPECT_EQ(info[12], c.highest);
        EXPECT_EQ(info[13], c.lowest);
    }
}

TEST(MouseFirmware, KeyTableHoldsTheFactoryCodes) {
    CMouseFirmware firmware(MouseModel3325());
    const std::vector<uint8_t> table =
        Payload(Answer(firmware, Request(command_code::kReadKeyTable, 21, 0)), 21);
    const std::vector<uint8_t> expected = {0x10, 0x01, 0x00, 0x10, 0x02, 0x00, 0x10, 0x04, 0x00, 0x10, 0x08,
                                           0x00, 0x10, 0x10, 0x00, 0x13, 0x01, 0x00, 0x13, 0x02, 0x00};
    EXPECT_EQ(table, expected);
    EXPECT_EQ(firmware.KeyTable(), expected);
}

TEST(MouseFirmware, WritesLandAtTheirAddressAndReadBack) {
    CMouseFirmware firmware(MouseModel3389());
    std::vector<uint8_t> data(56);
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<uint8_t>(i + 1);
    }
    EXPECT_EQ(Answer(firmware, Request(command_code::kWriteMemory, 56, 0x0080, data))[7], 0x00);
    EXPECT_EQ(Answer(firmware, Request(command_code::kWriteMemory, 2, 0x00B8, {0xEE, 0xFF}))[7], 0x00);

    EXPECT_EQ(Payload(Answer(firmware, Request(command_code::kReadMemory, 56, 0x0080)), 56), data);
    EXPECT_EQ(firmware.Memory()[0xB8], 0xEE);
    EXPECT_EQ(firmware.Memory()[0xB9], 0xFF);
}

TEST(MouseFirmware, AccessOutsideAMemoryIsRejectedAndChangesNothing) {
    struct Case {
        const char* what;
        Report request;
    };
    // 4 profiles of 128 bytes, 7 keys of 3 bytes, 8 x 128 bytes of macro memory.
    const Case cases[] = {
        {"memory past its end", Request(command_code::kWriteMemory, 8, 0x01FC, {1, 2, 3, 4, 5, 6, 7, 8})},
        {"read past the end", Request(command_code::kReadMemory, 1, 0x0200)},
        {"key table page 1", Request(command_code::kWriteKeyTable, 3, 0x0200, {1, 2, 3})},
        {"key table past the keys", Request(command_code::kReadKeyTable, 24, 0)},
        {"macro capacity",
         Request(command_code::kWriteMacroBlock, 16, 1024 - 8, std::vector<uint8_t>(16, 1))},
        {"info past 32 bytes", Request(command_code::kReadInfo, 33, 0)},
        {"length over 56", Request(command_code::kReadMemory, 57, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CMouseFirmware firmware(MouseModel3325());
        const Json::Value before = firmware.SaveState();
        EXPECT_EQ(Answer(firmware, c.request)[7], kStatusRejected);
        EXPECT_EQ(firmware.SaveState(), before);
    }
}

TEST(MouseFirmware, FillsMacroMemoryUpToItsCapacity) {
    CMouseFirmware firmware(MouseModel3325());
    EXPECT_EQ(
        Answer(firmware, Request(command_code::kWriteMacroBlock, 8, 1024 - 8, std::vector<uint8_t>(8, 7)))[7],
        0x00);
    EXPECT_EQ(firmware.MacroMemory()[1023], 7);
    EXPECT_EQ(Answer(firmware, Request(command_code::kWriteShootBlock, 4, 0, {9, 9, 9, 9}))[7], 0x00);
    EXPECT_EQ(firmware.ShootMemory()[3], 9);
}

TEST(MouseFirmware, AnswersEveryCommandOfTheMouseAndFailsOthers) {
    CMouseFirmware firmware(MouseModel3325());
    for (uint8_t command :
         {command_code::kBeginTransfer, command_code::kEndTransfer, command_code::kWriteLightFrame}) {
        EXPECT_EQ(Answer(firmware, Request(command))[7], 0x00) << int(command);
    }
    EXPECT_EQ(firmware.LightFrameCount(), 1u);
    EXPECT_EQ(Payload(Answer(firmware, Request(command_code::kReadRecord, 6, 0)), 2),
              (std::vector<uint8_t>{100, 0}));
    EXPECT_EQ(Answer(firmware, Request(command_code::kReadLightOrder, 8, 0))[7], kStatusFailed);
    EXPECT_EQ(Answer(firmware, Request(0x42))[7], kStatusFailed);

    Report otherReport = Request(command_code::kReadInfo, 32, 0);
    otherReport[0] = 0x03;
    EXPECT_FALSE(firmware.HandleRequest(otherReport).has_value());
}

TEST(MouseFirmware, WirelessMouseThatIsOffAnswersOnlyTheOnlineCheck) {
    CMouseFirmware firmware(MouseModel3389Wireless());
    EXPECT_EQ(Answer(firmware, Request(command_code::kIsOnline))[8], 0xFF);

    firmware.SetOnline(false);
    EXPECT_EQ(Answer(firmware, Request(command_code::kIsOnline))[8], 0x00);
    EXPECT_FALSE(firmware.HandleRequest(Request(command_code::kReadInfo, 32, 0)).has_value());

    CMouseFirmware wired(MouseModel3389());
    wired.SetOnline(false);
    EXPECT_EQ(Answer(wired, Request(command_code::kIsOnline))[8], 0xFF);
}

TEST(MouseFirmware, ButtonsOnTheMouseChangeItsOwnParameters) {
    CMouseFirmware firmware(MouseModel3325());
    const uint8_t stage = firmware.Memory()[mouse_record::kActiveStage];
    EXPECT_TRUE(firmware.CycleDpiStage());
    EXPECT_EQ(firmware.Memory()[mouse_record::kActiveStage], (stage + 1) % 7);

    EXPECT_TRUE(firmware.SelectProfile(2));
    EXPECT_EQ(firmware.Memory()[0], 2);
    EXPECT_FALSE(firmware.SelectProfile(2));
    EXPECT_FALSE(firmware.SelectProfile(4));
    EXPECT_TRUE(firmware.CycleDpiStage());
    EXPECT_EQ(firmware.Memory()[2 * 128 + mouse_record::kActiveStage], 2);

    // The host may put anything into the active-profile byte.
    Answer(firmware, Request(command_code::kWriteMemory, 1, 0, {0xF0}));
    EXPECT_TRUE(firmware.CycleDpiStage());
}

TEST(MouseFirmware, StateRoundTripsAndDamagedMembersKeepTheFactoryContent) {
    CMouseFirmware changed(MouseModel3325());
    Answer(changed, Request(command_code::kWriteMemory, 2, 0x0081, {5, 6}));
    Answer(changed, Request(command_code::kWriteKeyTable, 3, 0, {0xA0, 0x1B, 0x00}));
    Answer(changed, Request(command_code::kWriteMacroBlock, 2, 0, {0x55, 0xAA}));
    Answer(changed, Request(command_code::kWriteShootBlock, 1, 10, {0x77}));
    const Json::Value state = changed.SaveState();
    EXPECT_EQ(state["memory"].asString().size(), 512u * 2);
    EXPECT_EQ(state["key_table"].asString().substr(0, 6), "a01b00");

    CMouseFirmware restored(MouseModel3325());
    restored.LoadState(state);
    EXPECT_EQ(restored.SaveState(), state);

    Json::Value damaged = state;
    damaged["memory"] = "zz" + state["memory"].asString().substr(2);
    damaged["key_table"] = 12;
    damaged["macro_memory"] = "55aa";
    CMouseFirmware partly(MouseModel3325());
    const Json::Value factory = partly.SaveState();
    partly.LoadState(damaged);
    EXPECT_EQ(partly.SaveState()["memory"], factory["memory"]);
    EXPECT_EQ(partly.SaveState()["key_table"], factory["key_table"]);
    EXPECT_EQ(partly.SaveState()["macro_memory"], factory["macro_memory"]);
    EXPECT_EQ(partly.SaveState()["shoot_memory"], state["shoot_memory"]);

    partly.LoadState(Json::Value("not an object"));
    EXPECT_EQ(partly.SaveState()["shoot_memory"], state["shoot_memory"]);
}

}  // namespace
