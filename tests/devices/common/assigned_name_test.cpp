#include "devices/common/assigned_name.h"

#include "devices/common/default_key_table.h"

#include <gtest/gtest.h>

namespace {

AssignedName Keys(std::vector<std::string> keys) {
    return {AssignedName::Kind::kNameKeys, std::move(keys), {}};
}
AssignedName Text(std::string text) {
    return {AssignedName::Kind::kText, {}, std::move(text)};
}
const AssignedName kNoName{};

const std::vector<std::string> kMacros{"Reload", "Combo"};

TEST(AssignedNameTest, NamesByType) {
    struct Case {
        KeyFunctionCode code;
        AssignedName name;
    };
    const Case cases[] = {
        {{0x20, 0x00, 0x04}, Keys({"keyboard_key_A"})},
        {{0x20, 0x01, 0x04}, Keys({"keyboard_key_LCtrl", "keyboard_key_A"})},
        {{0x20, 0x03, 0x04}, Keys({"keyboard_key_A"})},
        {{0x20, 0x00, 0x00}, Keys({"close_text"})},
        {{0x00, 0x00, 0x00}, Keys({"close_text"})},
        {{0x00, 0x00, 0x2C}, Keys({"keyboard_key_Space"})},
        {{0x20, 0x10, 0x00}, Keys({"keyboard_key_RCtrl"})},
        // Matched on param1/param2 alone, so the consumer row with these bytes names it.
        {{0x20, 0x83, 0x01}, Keys({"keyboard_key_Launch Media Select"})},
        {{0x10, 0x02, 0x00}, Keys({"mouse_key_right"})},
        {{0x10, 0x04, 0x00}, Keys({"mouse_key_middle"})},
        {{0x10, 0x40, 0x00}, kNoName},
        {{0x11, 0x35, 0x05}, Keys({"mouse_key_left_Swing"})},
        {{0x11, 0x35, 0x85}, Keys({"mouse_key_right_Swing"})},
        {{0x12, 0x00, 0x05}, Keys({"mouse_key_up_Swing"})},
        {{0x12, 0x00, 0xFB}, Keys({"mouse_key_down_Swing"})},
        {{0x13, 0x03, 0x00}, Keys({"mouse_key_DPI_loop"})},
        {{0x13, 0x04, 0x00}, kNoName},
        {{0x14, 0x50, 0x02}, Keys({"mouse_key_fire_key"})},
        {{0x22, 0x00, 0x04}, Keys({"custem_select_all"})},
        {{0x22, 0x00, 0x09}, kNoName},
        {{0x30, 0xE9, 0x00}, Keys({"media_vol_add"})},
        {{0x30, 0x26, 0x02}, Keys({"wed_stop"})},
        {{0x30, 0x01, 0x00}, kNoName},
        {{0x40, 0x04, 0x00}, Keys({"system_wake_up"})},
        {{0x70, 0x01, 0x00}, Text("Combo")},
        {{0x71, 0x00, 0x09}, Text("Reload")},
        {{0x70, 0x02, 0x00}, kNoName},
        {{0x16, 0x00, 0x00}, Keys({"mouse_key_DPI_shift"})},
        {{0x16, 0x07, 0x07}, Keys({"mouse_key_DPI_shift"})},
        {{0x23, 0x00, 0x00}, Keys({"show_window"})},
        {{0x23, 0x01, 0x00}, kNoName},
        {{0xA0, 0x02, 0x00}, Keys({"mouse_key_smart_key"})},
        {{0xA0, 0x00, 0x00}, Keys({"close_text"})},
        {{0xA0, 0x01, 0x00}, Keys({"keyboard_key_FN"})},
        {{0xA0, 0x1B, 0x00}, Keys({"keyboard_key_GM"})},
        {{0xA0, 0x24, 0x00}, kNoName},
        {{0xD0, 0xA2, 0x05}, Keys({"keyboard_key_M5"})},
        {{0x72, 0x00, 0x00}, Text("关闭")},
        {{0x01, 0x00, 0x00}, Text("关闭")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CAssignedName::Name(c.code, kMacros), c.name) << std::hex << c.code.Packed();
    }
    for (const uint8_t type : {0x15, 0x21, 0x50, 0x60, 0xB0, 0xC0}) {
        EXPECT_EQ(CAssignedName::Name({type, 0x01, 0x04}, kMacros), kNoName) << int(type);
    }
}

TEST(AssignedNameTest, AModifierCodeWithoutAKeyIsNotNamedAfterEveryModifier) {
    // Every modifier row has usage 0; matching a zero usage would name 0x20 0x05 0x00 (Ctrl+Alt)
    // "LCtrl+LShift+LAlt+LWin+RCtrl+RShift+RAlt+RWin".
    EXPECT_EQ(CAssignedName::Name({0x20, 0x05, 0x00}, {}), kNoName);
    EXPECT_EQ(CAssignedName::Name({0x20, 0x05, 0x04}, {}), Keys({"keyboard_key_A"}));
    EXPECT_EQ(CAssignedName::Name({0x20, 0x08, 0x2B}, {}), Keys({"keyboard_key_LWin", "keyboard_key_Tab"}));
}

TEST(AssignedNameTest, TextResolvesEachKeyAndJoinsWithPlus) {
    const auto resolve = [](std::string_view key) { return "<" + std::string(key.substr(13)) + ">"; };
    EXPECT_EQ(CAssignedName::Text(CAssignedName::Name({0x20, 0x01, 0x04}, {}), resolve), "<LCtrl>+<A>");
    EXPECT_EQ(CAssignedName::Text(Text("Reload"), resolve), "Reload");
    EXPECT_EQ(CAssignedName::Text(kNoName, resolve), "");
}

TEST(AssignedNameTest, EveryKeyButtonHasItsOwnNameExceptTheUnnamedPositions) {
    for (size_t position = 0; position < DefaultKeyTable.size(); ++position) {
        const bool unnamed = position == 17 || position == 18 || position == 19 || position == 20 ||
                             position == 62 || position == 104;
        EXPECT_EQ(CAssignedName::OwnNameKey(DefaultKeyTable[position]).has_value(), !unnamed) << position;
    }
    EXPECT_EQ(CAssignedName::OwnNameKey(DefaultKeyTable[0]), "keyboard_key_Esc");
}

}  // namespace
