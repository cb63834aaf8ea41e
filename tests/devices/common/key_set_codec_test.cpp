#include "devices/common/key_set_codec.h"

#include "devices/common/function_tables.h"
#include "devices/common/key_name_table.h"
#include "devices/common/scan_code_table.h"

#include <gtest/gtest.h>

namespace {

using Category = FunctionCategory;

// A default no choice below produces, so a decode never falls back to category 0 by accident.
constexpr KeyFunctionCode kFallback{0xA0, 0x24, 0x00};
constexpr KeyFunctionCode kNothing{};
constexpr size_t kMacros = 3;

KeyFunctionCode Encode(const KeySetChoices& choices, const KeyFunctionCode& current = kNothing) {
    return CKeySetCodec::Encode(choices, current, kFallback, kMacros).code;
}

KeySetChoices Decode(const KeyFunctionCode& code) {
    return CKeySetCodec::Decode(code, kFallback, kMacros).choices;
}

KeySetChoices Movement(Category category, int direction, int count, int delay, int speed) {
    KeySetChoices choices;
    choices.category = category;
    choices.direction = direction;
    choices.countText = std::to_string(count);
    choices.delayText = std::to_string(delay);
    choices.speedText = std::to_string(speed);
    return choices;
}

KeySetChoices Item(Category category, int item) {
    KeySetChoices choices;
    choices.category = category;
    choices.item = item;
    return choices;
}

TEST(KeySetCodecTest, SwingAndWheelWorkedExamples) {
    EXPECT_EQ(Encode(Movement(Category::kMouseSwing, 1, 5, 0, 0)), (KeyFunctionCode{0x11, 0x00, 0x85}));
    const KeyFunctionCode wheel = Encode(Movement(Category::kMouseWheel, 1, 5, 0, 0));
    EXPECT_EQ(wheel, (KeyFunctionCode{0x12, 0x00, 0xFB}));
    EXPECT_EQ(Decode(wheel).countText, "5");
    EXPECT_EQ(Decode(wheel).direction, 1);
    // Delay 17 keeps only its low nibble.
    EXPECT_EQ(Encode(Movement(Category::kMouseSwing, 0, 1, 17, 2)), (KeyFunctionCode{0x11, 0x12, 0x01}));
}

TEST(KeySetCodecTest, WheelDownCountIsClampedInto1To128AndWrittenBack) {
    // 128 - count only names the count for 1-128; 0 would mean 128 and 200 would mean 72.
    for (const auto& [typed, shown, param2] :
         {std::tuple{"0", "1", 0xFF}, std::tuple{"200", "128", 0x80}, std::tuple{"abc", "1", 0xFF}}) {
        KeySetChoices choices = Movement(Category::kMouseWheel, 1, 0, 0, 0);
        choices.countText = typed;
        const auto encoded = CKeySetCodec::Encode(choices, kNothing, kFallback, kMacros);
        EXPECT_EQ(encoded.code.param2, param2) << typed;
        EXPECT_EQ(encoded.countText, std::optional<std::string>(shown)) << typed;
    }
    EXPECT_FALSE(
        CKeySetCodec::Encode(Movement(Category::kMouseWheel, 1, 128, 0, 0), kNothing, kFallback, kMacros)
            .countText);
}

TEST(KeySetCodecTest, MacroRepeatCountIsClampedAndWrittenBack) {
    KeySetChoices choices = Item(Category::kMacro, 2);
    choices.macroMode = 4;
    for (const auto& [typed, count, shown] : {std::tuple{"0", 1, std::optional<std::string>("1")},
                                              std::tuple{"300", 255, std::optional<std::string>("255")},
                                              std::tuple{"7", 7, std::optional<std::string>()}}) {
        choices.macroCycleText = typed;
        const auto encoded = CKeySetCodec::Encode(choices, kNothing, kFallback, kMacros);
        EXPECT_EQ(encoded.code, (KeyFunctionCode{0x71, 2, static_cast<uint8_t>(count)})) << typed;
        EXPECT_EQ(encoded.macroCycleText, shown) << typed;
    }
}

TEST(KeySetCodecTest, WithoutAValidChoiceTheCurrentCodeStays) {
    const KeyFunctionCode current{0x10, 0x01, 0x00};
    KeySetChoices macro = Item(Category::kMacro, 3);  // beyond the three macros
    macro.macroMode = 0;
    EXPECT_EQ(Encode(macro, current), current);
    EXPECT_EQ(CKeySetCodec::Encode(Item(Category::kMacro, 0), current, kFallback, 0).code, current);
    EXPECT_EQ(Encode(Item(Category::kMedia, 18), current), current);
    EXPECT_EQ(Encode(Item(Category::kMouseButton, -1), current), current);
    EXPECT_EQ(Encode(Item(Category::kGunKey, 4), current), current);
    // Default and no category both give the default code.
    EXPECT_EQ(Encode(Item(Category::kDefault, 0), current), kFallback);
    EXPECT_EQ(Encode(Item(Category::kNone, 0), current), kFallback);
}

TEST(KeySetCodecTest, KeyboardCategoryTakesTheCapturedUsageAndTheModifierButton) {
    KeySetChoices choices;
    choices.category = Category::kKeyboard;
    choices.modifierButton = 3;
    choices.keyNameKey = "keyboard_key_A";
    EXPECT_EQ(Encode(choices, {0x20, 0x00, 0x04}), (KeyFunctionCode{0x20, 0x04, 0x04}));
    choices.keyNameKey.clear();
    EXPECT_EQ(Encode(choices, {0x20, 0x00, 0x04}), (KeyFunctionCode{0x20, 0x04, 0x00}));
    choices.modifierButton = -1;
    EXPECT_EQ(Encode(choices, {0x20, 0x00, 0x04}), (KeyFunctionCode{0x20, 0x00, 0x00}));
}

TEST(KeySetCodecTest, CodeEqualToTheDefaultShowsAsDefault) {
    const KeyFunctionCode button{0x10, 0x01, 0x00};
    EXPECT_EQ(CKeySetCodec::Decode(button, button, kMacros).choices.category, Category::kDefault);
    EXPECT_EQ(Decode(button).category, Category::kMouseButton);
}

TEST(KeySetCodecTest, DecodeByType) {
    EXPECT_EQ(Decode({0x13, 0x02, 0x00}), Item(Category::kDpi, 1));  // also on the keyboard page
    EXPECT_EQ(Decode({0x10, 0x20, 0x00}), Item(Category::kMouseButton, -1));
    EXPECT_EQ(Decode({0x72, 0x03, 0x00}), Item(Category::kGunKey, 3));
    EXPECT_EQ(Decode({0x00, 0x05, 0x05}).category, Category::kDefault);
    EXPECT_EQ(Decode({0x16, 0x00, 0x00}).category, Category::kNone);
    EXPECT_EQ(Decode({0xD0, 0xA2, 0x01}).category, Category::kNone);
    EXPECT_EQ(Decode({0xB0, 0x01, 0x12}), Item(Category::kCombination, 0));

    // A macro index beyond the list selects nothing in either combo.
    KeySetChoices lost = Item(Category::kMacro, -1);
    EXPECT_EQ(Decode({0x70, 0x05, 0x02}), lost);
    KeySetChoices repeated = Item(Category::kMacro, 1);
    repeated.macroMode = 4;
    repeated.macroCycleText = "9";
    repeated.macroCycleVisible = true;
    EXPECT_EQ(Decode({0x71, 0x01, 0x09}), repeated);
}

TEST(KeySetCodecTest, DecodeKeyboardCodes) {
    struct Case {
        KeyFunctionCode code;
        Category category;
        int button;
        const char* keyName;
        KeyFunctionCode shown;
    };
    const Case cases[] = {
        {{0x20, 0x00, 0x04}, Category::kKeyboard, -1, "keyboard_key_A", {0x20, 0x00, 0x04}},
        // An unknown usage without modifiers: button 0, empty edit, the code loses the usage.
        {{0x20, 0x00, 0x32}, Category::kKeyboard, 0, "", {0x20, 0x00, 0x00}},
        // Right modifiers select the button of their left twin.
        {{0x20, 0x20, 0x04}, Category::kKeyboard, 2, "keyboard_key_A", {0x20, 0x20, 0x04}},
        {{0x20, 0x80, 0x00}, Category::kKeyboard, 4, "", {0x20, 0x80, 0x00}},
        // Two modifiers are no single button: the modifiers are dropped.
        {{0x20, 0x03, 0x04}, Category::kKeyboard, 0, "keyboard_key_A", {0x20, 0x00, 0x04}},
        {{0x20, 0x81, 0x04}, Category::kCombination, -1, "", {0x20, 0x81, 0x04}},
    };
    for (const Case& c : cases) {
        const auto decoded = CKeySetCodec::Decode(c.code, kFallback, kMacros);
        SCOPED_TRACE(c.code.Packed());
        EXPECT_EQ(decoded.choices.category, c.category);
        EXPECT_EQ(decoded.choices.modifierButton, c.button);
        EXPECT_EQ(decoded.choices.keyNameKey, c.keyName);
        EXPECT_EQ(decoded.code, c.shown);
    }
}

TEST(KeySetCodecTest, ModifierRowsMapToTheirButtons) {
    const int buttons[] = {1, 2, 3, 4, 1, 2, 3, 4};
    for (size_t row = 0; row < kModifierKeyCount; ++row) {
        EXPECT_EQ(CKeySetCodec::ModifierButtonOfRow(row), buttons[row]) << row;
    }
    EXPECT_EQ(CKeySetCodec::ModifierBitsOfButton(0), 0);
    EXPECT_EQ(CKeySetCodec::ModifierBitsOfButton(-1), 0);
    EXPECT_EQ(CKeySetCodec::ModifierBitsOfButton(4), 0x08);
}

TEST(KeySetCodecTest, CapturedKeys) {
    // Right Shift (0x36, extended): button 2, param1 0x02, the edit emptied.
    const auto shift = CKeySetCodec::Capture(0x36, true, -1);
    ASSERT_TRUE(shift);
    EXPECT_EQ(shift->modifierButton, 2);
    EXPECT_EQ(shift->keyNameKey, "");
    EXPECT_EQ(shift->code, (KeyFunctionCode{0x20, 0x02, 0x00}));

    // A key keeps the selected modifier, or selects button 0.
    const auto a = CKeySetCodec::Capture(0x1E, false, 1);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->modifierButton, 1);
    EXPECT_EQ(a->keyNameKey, "keyboard_key_A");
    EXPECT_EQ(a->code, (KeyFunctionCode{0x20, 0x01, 0x04}));
    EXPECT_EQ(CKeySetCodec::Capture(0x1C, true, -1)->code, (KeyFunctionCode{0x20, 0x00, 0x58}));
    EXPECT_EQ(CKeySetCodec::Capture(0x1C, true, -1)->modifierButton, 0);

    EXPECT_FALSE(CKeySetCodec::Capture(0x36, false, 0));  // not a key of the table
    EXPECT_FALSE(CKeySetCodec::Capture(0x00, false, 0));
}

TEST(KeySetCodecTest, EditNumbersTakeTheUsualIntegerRule) {
    EXPECT_EQ(CKeySetCodec::EditNumber("42"), 42);
    EXPECT_EQ(CKeySetCodec::EditNumber(" 12ab"), 12);
    EXPECT_EQ(CKeySetCodec::EditNumber("abc"), 0);
    EXPECT_EQ(CKeySetCodec::EditNumber(""), 0);
    EXPECT_EQ(CKeySetCodec::EditNumber("-3"), -3);
    EXPECT_EQ(CKeySetCodec::EditNumber("99999999999999"), INT_MAX);
}

// decode(encode(choices)) gives the choices back, for every category over its whole range.
void ExpectRoundTrip(const KeySetChoices& choices, const KeyFunctionCode& current = kNothing) {
    const KeyFunctionCode code = Encode(choices, current);
    EXPECT_EQ(Decode(code), choices) << "code " << code.Packed();
}

TEST(KeySetCodecRoundTripTest, TableCategories) {
    const std::pair<Category, size_t> tables[] = {
        {Category::kMouseButton, MouseKeyTable.size()},
        {Category::kDpi, DpiTable.size()},
        {Category::kMedia, MediaTable.size()},
        {Category::kSystem, SystemTable.size()},
        {Category::kGunKey, 4},
    };
    for (const auto& [category, size] : tables) {
        for (size_t i = 0; i < size; ++i) {
            ExpectRoundTrip(Item(category, static_cast<int>(i)));
        }
    }
    ExpectRoundTrip(Item(Category::kDefault, -1));
}

TEST(KeySetCodecRoundTripTest, SwingAndWheel) {
    for (int direction = 0; direction < 2; ++direction) {
        for (int delay = 0; delay < 16; ++delay) {
            for (int speed = 0; speed < 16; ++speed) {
                for (int count = 0; count < 128; ++count) {
                    ExpectRoundTrip(Movement(Category::kMouseSwing, direction, count, delay, speed));
                    // Upward wheel counts are 0-127, downward ones 1-128.
                    ExpectRoundTrip(
                        Movement(Category::kMouseWheel, direction, count + direction, delay, speed));
                }
            }
        }
    }
}

TEST(KeySetCodecRoundTripTest, Fire) {
    KeySetChoices choices;
    choices.category = Category::kFire;
    for (int interval = 0; interval < 256; ++interval) {
        for (int count = 0; count < 256; ++count) {
            choices.intervalText = std::to_string(interval);
            choices.countText = std::to_string(count);
            ExpectRoundTrip(choices);
        }
    }
}

TEST(KeySetCodecRoundTripTest, KeyboardEveryModifierButtonWithEveryKey) {
    for (int button = -1; button <= 4; ++button) {
        if (button == 0) {
            continue;  // button 0 and no button both mean no modifier; a key shows with none
        }
        KeySetChoices choices;
        choices.category = Category::kKeyboard;
        choices.modifierButton = button;
        if (button > 0) {
            ExpectRoundTrip(choices);  // the modifier alone
        }
        for (size_t row = kModifierKeyCount; row < kKeyboardKeyCount; ++row) {
            choices.keyNameKey = std::string(KeyNameTable[row].nameKey);
            ExpectRoundTrip(choices, KeyNameTable[row].code);
        }
    }
}

TEST(KeySetCodecRoundTripTest, Macros) {
    for (int macro = 0; macro < static_cast<int>(kMacros); ++macro) {
        for (int mode = 0; mode < 4; ++mode) {
            KeySetChoices choices = Item(Category::kMacro, macro);
            choices.macroMode = mode;
            ExpectRoundTrip(choices);
        }
        for (int count = 1; count < 256; ++count) {
            KeySetChoices choices = Item(Category::kMacro, macro);
            choices.macroMode = 4;
            choices.macroCycleText = std::to_string(count);
            choices.macroCycleVisible = true;
            ExpectRoundTrip(choices);
        }
    }
}

TEST(KeySetCodecRoundTripTest, CombinationsComeBackAsTheirKeyboardCodes) {
    // A combination is a keyboard code (Ctrl with a key); it shows on the keyboard page with Ctrl
    // selected, and building the code from that view gives the same code again.
    for (size_t i = 0; i < CombinationTable.size(); ++i) {
        const KeyFunctionCode code = Encode(Item(Category::kCombination, static_cast<int>(i)));
        EXPECT_EQ(code, CombinationTable[i]);
        const auto decoded = CKeySetCodec::Decode(code, kFallback, kMacros);
        EXPECT_EQ(decoded.choices.category, Category::kKeyboard);
        EXPECT_EQ(decoded.choices.modifierButton, 1);
        EXPECT_EQ(Encode(decoded.choices, decoded.code), code);
    }
}

}  // namespace
