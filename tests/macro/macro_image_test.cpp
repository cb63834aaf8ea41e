#include "macro/macro_image.h"
#include "macro/mouse_event_table.h"

#include <gtest/gtest.h>

namespace {

MacroEvent Event(const char* action, uint8_t type, uint8_t button, const char* delay) {
    return {action, button, type, delay};
}

TEST(MacroImageTest, OneMacroOfTwoEventsIsThe30ByteImage) {
    const std::vector<std::vector<MacroEvent>> macros{
        {Event("down", MacroEvent::kOtherKey, 0x04, "20"), Event("up", MacroEvent::kOtherKey, 0x04, "0")}};
    const auto image = CMacroImage::Build(macros, 256);
    EXPECT_EQ(image.overflow, 0);
    const std::vector<uint8_t> expected{0xAA, 0x55, 0x1E, 0x00, 0x01, 0x00, 0,    0,    0,    0,
                                        0,    0,    0,    0,    0,    0,    0x12, 0x00, 0x02, 0x00,
                                        0x00, 0x00, 0x14, 0x00, 0x8A, 0x04, 0x00, 0x00, 0x0A, 0x04};
    EXPECT_EQ(image.bytes, expected);
}

TEST(MacroImageTest, OffsetsPointAtEachEntryInOrder) {
    const std::vector<std::vector<MacroEvent>> macros{
        {Event("down", 1, 1, "1")}, {}, {Event("down", 1, 2, "2"), Event("up", 1, 2, "3")}};
    const auto image = CMacroImage::Build(macros, std::nullopt);
    ASSERT_EQ(image.bytes.size(), CMacroImage::Size({1, 0, 2}));
    ASSERT_EQ(image.bytes.size(), 16u + 6 + 8 + 4 + 12);
    EXPECT_EQ(image.bytes[4], 3);
    const size_t offsets[] = {22, 30, 34};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(image.bytes[16 + 2 * i] | image.bytes[17 + 2 * i] << 8, offsets[i]) << i;
    }
    EXPECT_EQ(image.bytes[30], 0);  // the empty macro keeps its head
    EXPECT_EQ(image.bytes[34], 2);
    EXPECT_EQ(image.bytes[38], 2);  // its first delay
}

TEST(MacroImageTest, AnImageBeyondTheCapacityGivesTheEventsToRemove) {
    // 16 + 2 x 2 + (4 + 4 x 34) x 2 = 300 bytes into 256.
    const std::vector<std::vector<MacroEvent>> macros(2,
                                                      std::vector<MacroEvent>(34, Event("down", 10, 4, "0")));
    ASSERT_EQ(CMacroImage::Size({34, 34}), 300u);
    const auto image = CMacroImage::Build(macros, 2 * 128);
    EXPECT_EQ(image.overflow, 12);
    EXPECT_TRUE(image.bytes.empty());
    EXPECT_EQ(CMacroImage::Build(macros, 300).overflow, 0);
}

TEST(MacroImageTest, NoImageOutgrowsItsSixteenBitSizeField) {
    // A shoot block has no capacity check; a 16-bit size would otherwise wrap and mislead the
    // firmware about where the entries are.
    const std::vector<std::vector<MacroEvent>> macros{std::vector<MacroEvent>(16380, Event("up", 4, 1, "0"))};
    EXPECT_EQ(CMacroImage::Size({16380}), 65542u);
    const auto image = CMacroImage::Build(macros, std::nullopt);
    EXPECT_GT(image.overflow, 0);
    EXPECT_TRUE(image.bytes.empty());
    EXPECT_EQ(
        CMacroImage::Build({std::vector<MacroEvent>(16378, Event("up", 4, 1, "0"))}, std::nullopt).overflow,
        0);
}

TEST(MacroEventTest, DeviceEncoding) {
    struct Case {
        MacroEvent event;
        std::array<uint8_t, 4> bytes;
    };
    const Case cases[] = {
        {Event("down", 1, 0x10, "0"), {0, 0, 0x81, 0x10}},       // mouse forward press
        {Event("down", 4, 10, "5"), {5, 0, 0x84, 10}},           // 10 to the left
        {Event("DOWN", 10, 4, "0"), {0, 0, 0x0A, 4}},            // only "down" is a press
        {Event("down", 10, 4, "70000"), {0x70, 0x11, 0x8A, 4}},  // 70000 mod 65536 = 4464
        {Event("up", 9, 0x20, "20ms"), {20, 0, 0x09, 0x20}},     // leading digits
        {Event("up", 9, 0x20, "x20"), {0, 0, 0x09, 0x20}},
        {Event("up", 0xFF, 0x20, "-5"), {0, 0, 0x7F, 0x20}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.event.Encode(), c.bytes) << c.event.action << " " << c.event.delay;
    }
}

TEST(MacroEventTest, JsonReadsEveryShapeAndWritesDelayAsText) {
    Json::Value value;
    value["Action"] = "down";
    value["Button"] = 300;
    value["Type"] = 10;
    value["Delay"] = 0;
    const MacroEvent event = MacroEvent::FromJson(value);
    EXPECT_EQ(event, Event("down", 10, 300 & 0xFF, "0"));
    EXPECT_EQ(event.ToJson()["Delay"], Json::Value("0"));
    EXPECT_EQ(event.ToJson()["Button"], Json::Value(44));

    Json::Value wrong;
    wrong["Action"] = 1;
    wrong["Button"] = "a";
    wrong["Delay"] = Json::Value(Json::arrayValue);
    EXPECT_EQ(MacroEvent::FromJson(wrong), Event("", 0, 0, "0"));
    EXPECT_EQ(MacroEvent::FromJson(Json::Value("junk")), Event("", 0, 0, "0"));
}

TEST(MouseEventTableTest, EventCodesAgreeWithTheMacroEventTypes) {
    for (size_t i = 0; i < 10; ++i) {
        const MouseEventEntry& row = MouseEventTable[i];
        EXPECT_EQ(row.eventCode & 0x7F, MacroEvent::kMouseButton) << i;
        EXPECT_EQ((row.eventCode & 0x80) != 0, i % 2 == 0) << i;  // down rows first
        EXPECT_EQ(row.functionType, 0x10) << i;
    }
    EXPECT_EQ(MouseEventTable[6].mask, 0x10);  // forward
    EXPECT_EQ(MouseEventTable[8].mask, 0x08);  // back
    const uint8_t moves[] = {0x84, 0x04, 0x85, 0x05};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(MouseEventTable[10 + i].eventCode, moves[i]);
        EXPECT_EQ(MouseEventTable[10 + i].message, moves[i] & 0x7F);
    }
    EXPECT_EQ(MouseEventTable[14].message, 0x20A);
}

}  // namespace
