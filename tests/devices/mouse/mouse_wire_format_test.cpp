#include "devices/mouse/mouse_wire_format.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace mousewire;

namespace {

MouseParameters SampleParameters() {
    MouseParameters p;
    p.activeProfile = 0;
    p.lightMode = 7;
    p.lightBrightness = 3;
    p.lightSpeedIndex = 1;
    p.lightFx = 1;
    p.lightMulticolour = 1;
    p.lightRed = 0x11;
    p.lightGreen = 0x22;
    p.lightBlue = 0x33;
    p.lightByte8 = 0x44;
    p.pollingRate = 3;
    p.activeStage = 2;
    for (uint8_t s = 0; s < kStageCount; ++s) {
        p.stages[s] = {static_cast<uint8_t>(10 + s), static_cast<uint8_t>(0xA0 + s),
                       static_cast<uint8_t>(0xB0 + s), static_cast<uint8_t>(0xC0 + s)};
    }
    p.logoMode = 5;
    p.ast = 2;
    return p;
}

}  // namespace

TEST(MouseWireFormat, ParameterRecordPutsEveryFieldAtItsByte) {
    const auto bytes = EncodeParameters(SampleParameters(), false);

    std::array<uint8_t, kParameterWriteLength> expected{};
    const uint8_t head[] = {0, 7, 3, 3,  1,  1,  0x11, 0x22, 0x33, 0x44, 0,  0,
                            0, 0, 3, 10, 11, 12, 13,   2,    14,   15,   16, 0};
    std::copy(std::begin(head), std::end(head), expected.begin());
    for (size_t s = 0; s < kStageCount; ++s) {
        expected[24 + 3 * s] = static_cast<uint8_t>(0xA0 + s);
        expected[25 + 3 * s] = static_cast<uint8_t>(0xB0 + s);
        expected[26 + 3 * s] = static_cast<uint8_t>(0xC0 + s);
    }
    expected[46] = 5;
    expected[48] = 2;
    EXPECT_EQ(bytes, expected);
}

TEST(MouseWireFormat, LightModeAndSpeedAreKeptInTheFirmwareRange) {
    struct Case {
        uint8_t mode, speedIndex;
        bool wireless;
        uint8_t byte1, byte3;
    };
    const Case cases[] = {
        {11, 0, false, 11, 4},  // the last built-in mode passes, speed index 0 is the slowest byte
        {12, 4, false, 0, 0},   // a custom effect goes out as mode 0
        {200, 1, true, 0, 1},   // behind the receiver the speed index goes out itself
        {3, 9, false, 3, 0},    // a damaged speed index cannot wrap the byte
        {3, 9, true, 3, 4},
    };
    for (const Case& c : cases) {
        MouseParameters p;
        p.lightMode = c.mode;
        p.lightSpeedIndex = c.speedIndex;
        const auto bytes = EncodeParameters(p, c.wireless);
        EXPECT_EQ(bytes[1], c.byte1) << int{c.mode};
        EXPECT_EQ(bytes[3], c.byte3) << int{c.speedIndex} << " wireless " << c.wireless;
    }
}

TEST(MouseWireFormat, DecodingReadsBackWhatWasEncoded) {
    const MouseParameters p = SampleParameters();
    const auto bytes = EncodeParameters(p, false);
    EXPECT_EQ(
        DecodeParameters(std::span<const uint8_t, kParameterReadLength>(bytes.data(), kParameterReadLength)),
        p);

    std::array<uint8_t, kParameterReadLength> odd{};
    odd[3] = 0xF0;  // not a speed the host writes
    EXPECT_EQ(DecodeParameters(odd).lightSpeedIndex, 0);
}

TEST(MouseWireFormat, InfoBlockFields) {
    std::array<uint8_t, 32> raw{};
    raw[5] = 200;
    raw[6] = 2;
    raw[9] = 0x89;
    raw[10] = 0x33;
    raw[11] = 50;
    raw[12] = 255;
    raw[13] = 100;
    raw[31] = 0x5A;
    const InfoBlock info = DecodeInfoBlock(raw);
    EXPECT_EQ(info.SensorId(), 0x3389);
    EXPECT_EQ(info.KeyTableBytes(), 600u);  // too large for the channel's 512-byte block
    EXPECT_EQ(info.MacroCapacity(), 256u);
    EXPECT_EQ(info.dpiStep, 50);
    EXPECT_EQ(info.highestPosition, 255);
    EXPECT_EQ(info.lowestDpi, 100);
    EXPECT_EQ(info.unknown_14[17], 0x5A);
}

TEST(MouseWireFormat, ButtonMapFindsTheFirstFactoryCode) {
    std::vector<uint8_t> table(8 * 3, 0);
    const uint8_t left[] = {0x10, 0x01, 0x00};
    const uint8_t m8[] = {0x16, 0x90, 0x01};
    std::copy(std::begin(left), std::end(left), table.begin() + 3 * 3);
    std::copy(std::begin(left), std::end(left), table.begin() + 6 * 3);  // a later copy is ignored
    std::copy(std::begin(m8), std::end(m8), table.begin() + 7 * 3);

    const ButtonMap map = BuildButtonMap(table);
    EXPECT_EQ(map[0], 3);
    EXPECT_EQ(map[9], 7);
    for (size_t button = 1; button < 9; ++button) {
        EXPECT_EQ(map[button], kUnmappedButton) << button;
    }
}

// A table read back after buttons were given other functions: left and right factory codes
// at 0 and 1, the DPI cycle code (button 7's factory code) written over the middle button at 2.
TEST(MouseWireFormat, ButtonsGivenAnotherFunctionAreFoundByThatFunction) {
    const std::vector<uint8_t> table = {0x10, 0x01, 0x00, 0x30, 0xCD, 0x00,
                                        0x13, 0x03, 0x00, 0x10, 0x10, 0x00};
    struct Case {
        const char* what;
        std::vector<FunctionCode> assignments;
        std::vector<uint8_t> expected;  // positions of buttons 0-3 and 7
    };
    const Case cases[] = {
        {"as the profile says",
         {{0x10, 0x01, 0x00}, {0x30, 0xCD, 0x00}, {0x13, 0x03, 0x00}, {0x10, 0x10, 0x00}},
         {0, 1, 2, 3, kUnmappedButton}},
        {"no profile: factory codes only", {}, {0, kUnmappedButton, kUnmappedButton, 3, 2}},
        {"the profile and the mouse disagree",
         {{0x10, 0x01, 0x00}, {0x40, 0x01, 0x00}},
         {0, kUnmappedButton, kUnmappedButton, 3, 2}},
    };
    for (const Case& c : cases) {
        const ButtonMap map = MapAssignedButtons(table, c.assignments);
        const std::vector<uint8_t> positions = {map[0], map[1], map[2], map[3], map[7]};
        EXPECT_EQ(positions, c.expected) << c.what;
    }
}

TEST(MouseWireFormat, KeyTablePatchWritesOnlyMappedButtons) {
    std::vector<uint8_t> firmware(5 * 3);
    std::iota(firmware.begin(), firmware.end(), uint8_t{1});
    ButtonMap map;
    map.fill(kUnmappedButton);
    map[0] = 4;
    map[1] = 0;
    map[3] = 2;  // no assignment for button 3: its position keeps the firmware code
    const FunctionCode assignments[] = {{0xA1, 0xA2, 0xA3}, {0xB1, 0xB2, 0xB3}, {0xC1, 0xC2, 0xC3}};

    const std::vector<uint8_t> table = PatchKeyTable(firmware, map, std::span(assignments, 2));

    std::vector<uint8_t> expected = firmware;
    expected[12] = 0xA1, expected[13] = 0xA2, expected[14] = 0xA3;
    expected[0] = 0xB1, expected[1] = 0xB2, expected[2] = 0xB3;
    EXPECT_EQ(table, expected);
}

TEST(MouseWireFormat, MacroOverflowCountsEventsToRemove) {
    EXPECT_EQ(MacroOverflowEvents(16 + 6 + 244, 256), 3u);  // one macro of 61 events into 256 bytes
    EXPECT_EQ(MacroOverflowEvents(300, 256), 12u);
    EXPECT_EQ(MacroOverflowEvents(256, 256), 0u);
    EXPECT_EQ(MacroOverflowEvents(30, 0), 8u);
}
