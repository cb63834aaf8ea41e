#include "sim/mouse_firmware.h"

#include "device/command_report.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Opens the transfer bracket that every write needs.
void Begin(CMouseFirmware& firmware) {
    ASSERT_EQ(Answer(firmware, Request(command_code::kBeginTransfer))[7], 0x00);
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
    Begin(firmware);
    std::vector<uint8_t> colours(21);  // the stage colours of record 1 take any value
    for (size_t i = 0; i < colours.size(); ++i) {
        colours[i] = static_cast<uint8_t>(i + 1);
    }
    EXPECT_EQ(Answer(firmware, Request(command_code::kWriteMemory, 21, 0x0080 + 24, colours))[7], 0x00);
    EXPECT_EQ(Answer(firmware, Request(command_code::kWriteMemory, 2, 0x0080 + 15, {0xEE, 0xFF}))[7], 0x00);

    EXPECT_EQ(Payload(Answer(firmware, Request(command_code::kReadMemory, 21, 0x0080 + 24)), 21), colours);
    EXPECT_EQ(firmware.Memory()[0x80 + 15], 0xEE);
    EXPECT_EQ(firmware.Memory()[0x80 + 16], 0xFF);
    EXPECT_EQ(firmware.Refusals(), 0u);
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
        Begin(firmware);
        const Json::Value before = firmware.SaveState();
        EXPECT_EQ(Answer(firmware, c.request)[7], kStatusRejected);
        EXPECT_EQ(firmware.SaveState(), before);
    }
}

// What real firmware refuses, this firmware refuses too, with 0xFE, changing nothing and counting
// it: a wrong byte from the host fails the test that sent it.
TEST(MouseFirmware, RefusesWritesTheFirmwareWouldRefuse) {
    struct Case {
        const char* what;
        bool bracketed;
        Report request;
    };
    const Case cases[] = {
        {"parameters outside a transfer", false, Request(command_code::kWriteMemory, 1, 0x0080 + 24, {1})},
        {"key table outside a transfer", false,
         Request(command_code::kWriteKeyTable, 3, 0, {0x10, 0x01, 0x00})},
        {"macro outside a transfer", false, Request(command_code::kWriteMacroBlock, 2, 0, {0xAA, 0x55})},
        {"shoot outside a transfer", false, Request(command_code::kWriteShootBlock, 2, 0, {0xAA, 0x55})},
        {"active profile past the profiles", true, Request(command_code::kWriteMemory, 1, 0, {4})},
        {"light mode 12", true, Request(command_code::kWriteMemory, 1, 0x0081, {12})},
        {"light speed 5", true, Request(command_code::kWriteMemory, 3, 0x0081, {1, 4, 5})},
        {"active stage 7", true, Request(command_code::kWriteMemory, 1, 0x0080 + 19, {7})},
        {"reserved byte 10", true, Request(command_code::kWriteMemory, 2, 0x0080 + 9, {0, 1})},
        {"reserved byte 45", true, Request(command_code::kWriteMemory, 1, 0x0080 + 45, {1})},
        {"a byte after the record", true, Request(command_code::kWriteMemory, 4, 0x0080 + 60, {0, 0, 0, 9})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CMouseFirmware firmware(MouseModel3325());
        if (c.bracketed) {
            Begin(firmware);
        }
        const Json::Value before = firmware.SaveState();
        EXPECT_EQ(Answer(firmware, c.request)[7], kStatusRejected);
        EXPECT_EQ(firmware.SaveState(), before);
        EXPECT_EQ(firmware.Refusals(), 1u);
    }
}

// The macro image layout as literal bytes: one macro of two events (key 0x04 down for 20 ms, up).
const std::vector<uint8_t> kOneMacroImage = {
    0xAA, 0x55, 0x1E, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // header
    0x12, 0x00,                                                                                      // offset
    0x02, 0x00, 0x00, 0x00,                          // 2 events
    0x14, 0x00, 0x8A, 0x04, 0x00, 0x00, 0x0A, 0x04,  // events
};

TEST(MouseFirmware, AnImageMustBeWholeWhenTheTransferEnds) {
    struct Case {
        const char* what;
        size_t at;  // the byte changed in the image, or its size for none
        uint8_t value;
        uint8_t status;
    };
    const Case cases[] = {
        {"a whole image", kOneMacroImage.size(), 0, 0x00},
        {"no signature", 0, 0x55, kStatusRejected},
        {"a size past the entries", 2, 0x22, kStatusRejected},
        {"a size short of the entries", 2, 0x1A, kStatusRejected},
        {"two entries named", 4, 0x02, kStatusRejected},
        {"a header byte set", 9, 0x01, kStatusRejected},
        {"an offset past the table", 16, 0x14, kStatusRejected},
        {"an entry head byte set", 20, 0x01, kStatusRejected},
        {"more events than the size holds", 18, 0x03, kStatusRejected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (uint8_t command : {command_code::kWriteMacroBlock, command_code::kWriteShootBlock}) {
            CMouseFirmware firmware(MouseModel3325());
            std::vector<uint8_t> image = kOneMacroImage;
            if (c.at < image.size()) {
                image[c.at] = c.value;
            }
            const auto memory = [&] {
                return command == command_code::kWriteMacroBlock ? firmware.MacroMemory()
                                                                 : firmware.ShootMemory();
            };
            const std::vector<uint8_t> before = memory();
            Begin(firmware);
            ASSERT_EQ(Answer(firmware, Request(command, static_cast<uint8_t>(image.size()), 0, image))[7],
                      0x00);
            EXPECT_EQ(Answer(firmware, Request(command_code::kEndTransfer))[7], c.status);
            if (c.status == 0x00) {
                EXPECT_TRUE(std::equal(image.begin(), image.end(), memory().begin()));
            } else {
                EXPECT_EQ(memory(), before);
            }
            EXPECT_EQ(firmware.Refusals(), c.status == 0x00 ? 0u : 1u);
        }
    }
}

TEST(MouseFirmware, FillsMacroMemoryUpToItsCapacity) {
    CMouseFirmware firmware(MouseModel3325());
    Begin(firmware);
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

    // An active-profile byte outside the profiles is refused; the stage still cycles.
    Begin(firmware);
    EXPECT_EQ(Answer(firmware, Request(command_code::kWriteMemory, 1, 0, {0xF0}))[7], kStatusRejected);
    EXPECT_EQ(firmware.Memory()[0], 2);
    EXPECT_TRUE(firmware.CycleDpiStage());
}

TEST(MouseFirmware, StateRoundTripsAndDamagedMembersKeepTheFactoryContent) {
    CMouseFirmware changed(MouseModel3325());
    Begin(changed);
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
