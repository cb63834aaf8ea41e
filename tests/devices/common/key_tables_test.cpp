// The key tables held to the published standards, typed here from the standards themselves:
// the USB HID Usage Tables (keyboard/keypad page 0x07, consumer page 0x0C), the PC scan code
// set 1 of the USB-HID-to-PS/2 translation table, and the Windows virtual-key codes.
#include "devices/common/default_key_table.h"
#include "devices/common/function_tables.h"
#include "devices/common/key_name_table.h"
#include "devices/common/scan_code_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

// A set-1 make sequence reduced to its prefix (none, E0, E1) and its last byte: "E0 2A E0 37"
// (Print Screen) is {0xE0, 0x37}, "E1 1D 45" (Pause) is {0xE1, 0x45}.
struct Set1 {
    uint8_t prefix;
    uint8_t code;
};

struct StandardKey {
    uint8_t usage;        // HID keyboard page
    const char* hidName;  // the usage's name in the HID Usage Tables
    Set1 set1;            // PC scan code set 1 make code
    uint16_t virtualKey;  // Windows virtual-key code
    const char* nameKey;  // our name of that key
};

constexpr uint8_t N = 0x00;
constexpr uint8_t E0 = 0xE0;
constexpr uint8_t E1 = 0xE1;

// clang-format off
const StandardKey kStandardKeys[] = {
    {0xE0, "Keyboard LeftControl", {N, 0x1D}, 0xA2, "keyboard_key_LCtrl"},
    {0xE1, "Keyboard LeftShift", {N, 0x2A}, 0xA0, "keyboard_key_LShift"},
    {0xE2, "Keyboard LeftAlt", {N, 0x38}, 0xA4, "keyboard_key_LAlt"},
    {0xE3, "Keyboard Left GUI", {E0, 0x5B}, 0x5B, "keyboard_key_LWin"},
    {0xE4, "Keyboard RightControl", {E0, 0x1D}, 0xA3, "keyboard_key_RCtrl"},
    {0xE5, "Keyboard RightShift", {N, 0x36}, 0xA1, "keyboard_key_RShift"},
    {0xE6, "Keyboard RightAlt", {E0, 0x38}, 0xA5, "keyboard_key_RAlt"},
    {0xE7, "Keyboard Right GUI", {E0, 0x5C}, 0x5C, "keyboard_key_RWin"},
    {0x04, "Keyboard a and A", {N, 0x1E}, 'A', "keyboard_key_A"},
    {0x05, "Keyboard b and B", {N, 0x30}, 'B', "keyboard_key_B"},
    {0x06, "Keyboard c and C", {N, 0x2E}, 'C', "keyboard_key_C"},
    {0x07, "Keyboard d and D", {N, 0x20}, 'D', "keyboard_key_D"},
    {0x08, "Keyboard e and E", {N, 0x12}, 'E', "keyboard_key_E"},
    {0x09, "Keyboard f and F", {N, 0x21}, 'F', "keyboard_key_F"},
    {0x0A, "Keyboard g and G", {N, 0x22}, 'G', "keyboard_key_G"},
    {0x0B, "Keyboard h and H", {N, 0x23}, 'H', "keyboard_key_H"},
    {0x0C, "Keyboard i and I", {N, 0x17}, 'I', "keyboard_key_I"},
    {0x0D, "Keyboard j and J", {N, 0x24}, 'J', "keyboard_key_J"},
    {0x0E, "Keyboard k and K", {N, 0x25}, 'K', "keyboard_key_K"},
    {0x0F, "Keyboard l and L", {N, 0x26}, 'L', "keyboard_key_L"},
    {0x10, "Keyboard m and M", {N, 0x32}, 'M', "keyboard_key_M"},
    {0x11, "Keyboard n and N", {N, 0x31}, 'N', "keyboard_key_N"},
    {0x12, "Keyboard o and O", {N, 0x18}, 'O', "keyboard_key_O"},
    {0x13, "Keyboard p and P", {N, 0x19}, 'P', "keyboard_key_P"},
    {0x14, "Keyboard q and Q", {N, 0x10}, 'Q', "keyboard_key_Q"},
    {0x15, "Keyboard r and R", {N, 0x13}, 'R', "keyboard_key_R"},
    {0x16, "Keyboard s and S", {N, 0x1F}, 'S', "keyboard_key_S"},
    {0x17, "Keyboard t and T", {N, 0x14}, 'T', "keyboard_key_T"},
    {0x18, "Keyboard u and U", {N, 0x16}, 'U', "keyboard_key_U"},
    {0x19, "Keyboard v and V", {N, 0x2F}, 'V', "keyboard_key_V"},
    {0x1A, "Keyboard w and W", {N, 0x11}, 'W', "keyboard_key_W"},
    {0x1B, "Keyboard x and X", {N, 0x2D}, 'X', "keyboard_key_X"},
    {0x1C, "Keyboard y and Y", {N, 0x15}, 'Y', "keyboard_key_Y"},
    {0x1D, "Keyboard z and Z", {N, 0x2C}, 'Z', "keyboard_key_Z"},
    {0x1E, "Keyboard 1 and !", {N, 0x02}, '1', "keyboard_key_1"},
    {0x1F, "Keyboard 2 and @", {N, 0x03}, '2', "keyboard_key_2"},
    {0x20, "Keyboard 3 and #", {N, 0x04}, '3', "keyboard_key_3"},
    {0x21, "Keyboard 4 and $", {N, 0x05}, '4', "keyboard_key_4"},
    {0x22, "Keyboard 5 and %", {N, 0x06}, '5', "keyboard_key_5"},
    {0x23, "Keyboard 6 and ^", {N, 0x07}, '6', "keyboard_key_6"},
    {0x24, "Keyboard 7 and &", {N, 0x08}, '7', "keyboard_key_7"},
    {0x25, "Keyboard 8 and *", {N, 0x09}, '8', "keyboard_key_8"},
    {0x26, "Keyboard 9 and (", {N, 0x0A}, '9', "keyboard_key_9"},
    {0x27, "Keyboard 0 and )", {N, 0x0B}, '0', "keyboard_key_0"},
    {0x28, "Keyboard Return (ENTER)", {N, 0x1C}, 0x0D, "keyboard_key_Enter"},
    {0x29, "Keyboard ESCAPE", {N, 0x01}, 0x1B, "keyboard_key_Esc"},
    {0x2A, "Keyboard DELETE (Backspace)", {N, 0x0E}, 0x08, "keyboard_key_BackSpace"},
    {0x2B, "Keyboard Tab", {N, 0x0F}, 0x09, "keyboard_key_Tab"},
    {0x2C, "Keyboard Spacebar", {N, 0x39}, 0x20, "keyboard_key_Space"},
    {0x2D, "Keyboard - and (underscore)", {N, 0x0C}, 0xBD, "keyboard_key_-"},
    {0x2E, "Keyboard = and +", {N, 0x0D}, 0xBB, "keyboard_key_="},
    {0x2F, "Keyboard [ and {", {N, 0x1A}, 0xDB, "keyboard_key_["},
    {0x30, "Keyboard ] and }", {N, 0x1B}, 0xDD, "keyboard_key_]"},
    {0x31, "Keyboard \\ and |", {N, 0x2B}, 0xDC, "keyboard_key_xiegang"},
    {0x33, "Keyboard ; and :", {N, 0x27}, 0xBA, "keyboard_key_;"},
    {0x34, "Keyboard ' and \"", {N, 0x28}, 0xDE, "keyboard_key_'"},
    {0x35, "Keyboard Grave Accent and Tilde", {N, 0x29}, 0xC0, "keyboard_key_`"},
    {0x36, "Keyboard , and <", {N, 0x33}, 0xBC, "keyboard_key_<"},
    {0x37, "Keyboard . and >", {N, 0x34}, 0xBE, "keyboard_key_."},
    {0x38, "Keyboard / and ?", {N, 0x35}, 0xBF, "keyboard_key_/"},
    {0x39, "Keyboard Caps Lock", {N, 0x3A}, 0x14, "keyboard_key_Caplk"},
    {0x3A, "Keyboard F1", {N, 0x3B}, 0x70, "keyboard_key_F1"},
    {0x3B, "Keyboard F2", {N, 0x3C}, 0x71, "keyboard_key_F2"},
    {0x3C, "Keyboard F3", {N, 0x3D}, 0x72, "keyboard_key_F3"},
    {0x3D, "Keyboard F4", {N, 0x3E}, 0x73, "keyboard_key_F4"},
    {0x3E, "Keyboard F5", {N, 0x3F}, 0x74, "keyboard_key_F5"},
    {0x3F, "Keyboard F6", {N, 0x40}, 0x75, "keyboard_key_F6"},
    {0x40, "Keyboard F7", {N, 0x41}, 0x76, "keyboard_key_F7"},
    {0x41, "Keyboard F8", {N, 0x42}, 0x77, "keyboard_key_F8"},
    {0x42, "Keyboard F9", {N, 0x43}, 0x78, "keyboard_key_F9"},
    {0x43, "Keyboard F10", {N, 0x44}, 0x79, "keyboard_key_F10"},
    {0x44, "Keyboard F11", {N, 0x57}, 0x7A, "keyboard_key_F11"},
    {0x45, "Keyboard F12", {N, 0x58}, 0x7B, "keyboard_key_F12"},
    {0x46, "Keyboard PrintScreen", {E0, 0x37}, 0x2C, "keyboard_key_Print Scr"},
    {0x47, "Keyboard Scroll Lock", {N, 0x46}, 0x91, "keyboard_key_Scroll Lock"},
    {0x48, "Keyboard Pause", {E1, 0x45}, 0x13, "keyboard_key_Pause"},
    {0x49, "Keyboard Insert", {E0, 0x52}, 0x2D, "keyboard_key_Insert"},
    {0x4A, "Keyboard Home", {E0, 0x47}, 0x24, "keyboard_key_Home"},
    {0x4B, "Keyboard PageUp", {E0, 0x49}, 0x21, "keyboard_key_Page Up"},
    {0x4C, "Keyboard Delete Forward", {E0, 0x53}, 0x2E, "keyboard_key_Delete"},
    {0x4D, "Keyboard End", {E0, 0x4F}, 0x23, "keyboard_key_End"},
    {0x4E, "Keyboard PageDown", {E0, 0x51}, 0x22, "keyboard_key_Page Down"},
    {0x4F, "Keyboard RightArrow", {E0, 0x4D}, 0x27, "keyboard_key_Right"},
    {0x50, "Keyboard LeftArrow", {E0, 0x4B}, 0x25, "keyboard_key_Left"},
    {0x51, "Keyboard DownArrow", {E0, 0x50}, 0x28, "keyboard_key_Down"},
    {0x52, "Keyboard UpArrow", {E0, 0x48}, 0x26, "keyboard_key_Up"},
    {0x53, "Keypad Num Lock and Clear", {N, 0x45}, 0x90, "keyboard_key_Num Lock"},
    {0x54, "Keypad /", {E0, 0x35}, 0x6F, "keyboard_key_Num /"},
    {0x55, "Keypad *", {N, 0x37}, 0x6A, "keyboard_key_Num *"},
    {0x56, "Keypad -", {N, 0x4A}, 0x6D, "keyboard_key_Num -"},
    {0x57, "Keypad +", {N, 0x4E}, 0x6B, "keyboard_key_Num +"},
    {0x58, "Keypad ENTER", {E0, 0x1C}, 0x0D, "keyboard_key_Num Enter"},
    {0x59, "Keypad 1 and End", {N, 0x4F}, 0x61, "keyboard_key_Num 1"},
    {0x5A, "Keypad 2 and Down Arrow", {N, 0x50}, 0x62, "keyboard_key_Num 2"},
    {0x5B, "Keypad 3 and PageDn", {N, 0x51}, 0x63, "keyboard_key_Num 3"},
    {0x5C, "Keypad 4 and Left Arrow", {N, 0x4B}, 0x64, "keyboard_key_Num 4"},
    {0x5D, "Keypad 5", {N, 0x4C}, 0x65, "keyboard_key_Num 5"},
    {0x5E, "Keypad 6 and Right Arrow", {N, 0x4D}, 0x66, "keyboard_key_Num 6"},
    {0x5F, "Keypad 7 and Home", {N, 0x47}, 0x67, "keyboard_key_Num 7"},
    {0x60, "Keypad 8 and Up Arrow", {N, 0x48}, 0x68, "keyboard_key_Num 8"},
    {0x61, "Keypad 9 and PageUp", {N, 0x49}, 0x69, "keyboard_key_Num 9"},
    {0x62, "Keypad 0 and Insert", {N, 0x52}, 0x60, "keyboard_key_Num 0"},
    {0x63, "Keypad . and Delete", {N, 0x53}, 0x6E, "keyboard_key_Decimal"},
    {0x65, "Keyboard Application", {E0, 0x5D}, 0x5D, "keyboard_key_App"},
    {0x64, "Keyboard Non-US \\ and |", {N, 0x56}, 0xE2, "keyboard_key_K45"},
    {0x87, "Keyboard International1 (Ro)", {N, 0x73}, 0xC1, "keyboard_key_K56"},
    {0x89, "Keyboard International3 (Yen)", {N, 0x7D}, 0xDC, "keyboard_key_K14"},
    {0x85, "Keypad Comma (Brazilian keypad .)", {N, 0x7E}, 0xC2, "keyboard_key_K107"},
    {0x8B, "Keyboard International5 (Muhenkan)", {N, 0x7B}, 0x1D, "keyboard_key_K131"},
    {0x8A, "Keyboard International4 (Henkan)", {N, 0x79}, 0x1C, "keyboard_key_K132"},
    {0x88, "Keyboard International2 (Katakana/Hiragana)", {N, 0x70}, 0xF2, "keyboard_key_K133"},
    {0x91, "Keyboard LANG2 (Hanja)", {N, 0xF1}, 0x19, "keyboard_key_K150"},
    {0x90, "Keyboard LANG1 (Hangul/English)", {N, 0xF2}, 0x15, "keyboard_key_K151"},
};
// clang-format on

// Where our scan-code table departs from set 1 on purpose: the pairs are those the Windows
// low-level hook reports for the key, which is what capture compares against.
struct ScanDeparture {
    const char* nameKey;
    uint8_t scanCode;
    uint8_t extended;
};
const ScanDeparture kScanDepartures[] = {
    {"keyboard_key_RShift", 0x36, 1},    // set 1: 36 (no E0)
    {"keyboard_key_Num Lock", 0x45, 1},  // set 1: 45; extended keeps it apart from Pause (E1 1D 45)
    {"keyboard_key_K150", 0x71, 0},      // set 1: F1, reported without its top bit
    {"keyboard_key_K151", 0x72, 0},      // set 1: F2, reported without its top bit
};

// Where our virtual-key codes depart from the Windows ones on purpose.
const std::map<std::string, uint16_t> kVirtualKeyDepartures = {
    {"keyboard_key_Num Enter", 0x101},  // VK_RETURN, told apart from Enter
    {"keyboard_key_K14", 0xFF},         // VK_OEM_5, shared with the backslash key
    {"keyboard_key_K132", 0xFF},        // VK_CONVERT
    {"keyboard_key_K133", 0xFF},        // the kana key
    {"keyboard_key_K151", 0xFF},        // VK_HANGUL
};

// The usage a keyboard row stands for: a modifier bit n is usage 0xE0 + n.
uint8_t UsageOf(const KeyNameEntry& row) {
    for (uint8_t bit = 0; bit < 8; ++bit) {
        if (row.code.param1 == 1u << bit) {
            return static_cast<uint8_t>(0xE0 + bit);
        }
    }
    return row.code.param2;
}

const StandardKey& StandardFor(std::string_view nameKey) {
    for (const StandardKey& key : kStandardKeys) {
        if (key.nameKey == nameKey) {
            return key;
        }
    }
    throw std::runtime_error("no standard row for " + std::string(nameKey));
}

TEST(KeyTablesTest, KeyboardRowsCarryTheirHidUsagesAndModifierBits) {
    ASSERT_EQ(std::size(kStandardKeys), kKeyboardKeyCount);
    for (size_t i = 0; i < kKeyboardKeyCount; ++i) {
        const KeyNameEntry& row = KeyNameTable[i];
        SCOPED_TRACE(std::string(row.nameKey));
        const StandardKey& standard = StandardFor(row.nameKey);
        EXPECT_EQ(row.code.type, 0x20);
        EXPECT_EQ(int{UsageOf(row)}, int{standard.usage}) << standard.hidName;
        // Modifiers travel as bits with usage 0, every other key as its usage with no bits.
        EXPECT_EQ(i < kModifierKeyCount, row.code.param2 == 0);
        EXPECT_EQ(i < kModifierKeyCount, row.code.param1 != 0);
    }
}

TEST(KeyTablesTest, ScanCodesFollowSet1ExceptTheListedDepartures) {
    std::set<std::string> departed;
    for (const ScanCodeEntry& row : ScanCodeTable) {
        const size_t index = static_cast<size_t>(&row - ScanCodeTable.data());
        const std::string name(KeyNameTable[index].nameKey);
        SCOPED_TRACE(name);
        const StandardKey& standard = StandardFor(name);
        const uint8_t derivedScan = standard.set1.code;
        const uint8_t derivedExtended = standard.set1.prefix == E0 ? 1 : 0;
        const auto departure = std::find_if(std::begin(kScanDepartures), std::end(kScanDepartures),
                                            [&](const ScanDeparture& d) { return d.nameKey == name; });
        if (departure == std::end(kScanDepartures)) {
            EXPECT_EQ(int{row.scanCode}, int{derivedScan}) << standard.hidName;
            EXPECT_EQ(int{row.extended}, int{derivedExtended}) << standard.hidName;
            continue;
        }
        departed.insert(name);
        EXPECT_EQ(int{row.scanCode}, int{departure->scanCode});
        EXPECT_EQ(int{row.extended}, int{departure->extended});
        EXPECT_TRUE(row.scanCode != derivedScan || row.extended != derivedExtended) << "not a departure";
    }
    EXPECT_EQ(departed.size(), std::size(kScanDepartures));
}

TEST(KeyTablesTest, VirtualKeysAreTheWindowsOnesExceptTheListedDepartures) {
    for (size_t i = 0; i < kKeyboardKeyCount; ++i) {
        const KeyNameEntry& row = KeyNameTable[i];
        const std::string name(row.nameKey);
        const auto departure = kVirtualKeyDepartures.find(name);
        const uint16_t expected =
            departure == kVirtualKeyDepartures.end() ? StandardFor(name).virtualKey : departure->second;
        EXPECT_EQ(row.virtualKey, expected) << name;
    }
}

TEST(KeyTablesTest, ScanCodeTableRepeatsTheKeyboardRowsOfKeyNameTable) {
    for (size_t i = 0; i < ScanCodeTable.size(); ++i) {
        EXPECT_EQ(ScanCodeTable[i].virtualKey, KeyNameTable[i].virtualKey) << i;
        EXPECT_EQ(ScanCodeTable[i].code, KeyNameTable[i].code) << i;
    }
}

struct StandardConsumer {
    uint16_t usage;
    const char* hidName;    // the usage's name in the HID Usage Tables, consumer page
    uint16_t virtualKey;    // Windows virtual-key code
    const char* nameKey;    // our key name
    const char* mediaName;  // our media name
};

// clang-format off
const StandardConsumer kStandardConsumer[] = {
    {0x0192, "AL Calculator", 0xB7, "keyboard_key_Launch App2", "media_calc"},
    {0x0223, "AC Home", 0xAC, "keyboard_key_Browaer Home", "web_text"},
    {0x00CD, "Play/Pause", 0xB3, "keyboard_key_Media Play Pause", "media_play"},
    {0x0221, "AC Search", 0xAA, "keyboard_key_Browser Search", "web_search"},
    {0x018A, "AL Email Reader", 0xB4, "keyboard_key_Launch Mail", "media_mail"},
    {0x00E9, "Volume Increment", 0xAF, "keyboard_key_Volume Up", "media_vol_add"},
    {0x00E2, "Mute", 0xAD, "keyboard_key_Volume Mute", "media_mute"},
    {0x00B7, "Stop", 0xB2, "keyboard_key_Media Stop", "media_stop"},
    {0x00EA, "Volume Decrement", 0xAE, "keyboard_key_Volume Down", "media_vol_sub"},
    {0x022A, "AC Bookmarks", 0xAB, "keyboard_key_Browser Favorites", "wed_favorite"},
    {0x0225, "AC Forward", 0xA7, "keyboard_key_Browser ForWard", "wed_forward"},
    {0x0224, "AC Back", 0xA6, "keyboard_key_Browser Back", "wed_back"},
    {0x00B6, "Scan Previous Track", 0xB1, "keyboard_key_Media Prev Track", "media_prev"},
    {0x00B5, "Scan Next Track", 0xB0, "keyboard_key_Media Next Track", "media_next"},
    {0x0194, "AL Local Machine Browser", 0xB6, "keyboard_key_Computer", "media_mypc"},
    {0x0227, "AC Refresh", 0xA8, "keyboard_key_Browser Refresh", "web_refresh"},
    {0x0226, "AC Stop", 0xA9, "wed_stop", "wed_stop"},
    {0x0183, "AL Consumer Control Configuration", 0xB5, "keyboard_key_Launch Media Select", "media_text"},
};
// clang-format on

TEST(KeyTablesTest, ConsumerRowsCarryTheirConsumerPageUsages) {
    size_t consumerRows = 0;
    for (const KeyNameEntry& row : KeyNameTable) {
        if (row.code.type != 0x30) {
            continue;
        }
        ++consumerRows;
        const auto standard =
            std::find_if(std::begin(kStandardConsumer), std::end(kStandardConsumer),
                         [&](const StandardConsumer& c) { return c.nameKey == row.nameKey; });
        ASSERT_NE(standard, std::end(kStandardConsumer)) << row.nameKey;
        EXPECT_EQ(ConsumerUsage(row.code), standard->usage) << standard->hidName;
        EXPECT_EQ(row.virtualKey, standard->virtualKey) << standard->hidName;
    }
    EXPECT_EQ(consumerRows, std::size(kStandardConsumer));

    for (const NamedCode& media : MediaTable) {
        const auto standard =
            std::find_if(std::begin(kStandardConsumer), std::end(kStandardConsumer),
                         [&](const StandardConsumer& c) { return c.mediaName == media.nameKey; });
        ASSERT_NE(standard, std::end(kStandardConsumer)) << media.nameKey;
        EXPECT_EQ(media.code.type, 0x30);
        EXPECT_EQ(ConsumerUsage(media.code), standard->usage) << standard->hidName;
    }
}

TEST(KeyTablesTest, TheRestOfKeyNameTableAndTheColourName) {
    struct Row {
        const char* nameKey;
        uint16_t virtualKey;
        KeyFunctionCode code;
    };
    const Row rows[] = {
        {"keyboard_key_Power", 0x103, {0x40, 0x01, 0}},  {"keyboard_key_Sleep", 0x104, {0x40, 0x02, 0}},
        {"keyboard_key_Wakeup", 0x105, {0x40, 0x04, 0}}, {"keyboard_key_M1", 0, {0xD0, 0xA2, 1}},
        {"keyboard_key_M2", 0, {0xD0, 0xA2, 2}},         {"keyboard_key_M3", 0, {0xD0, 0xA2, 3}},
        {"keyboard_key_M4", 0, {0xD0, 0xA2, 4}},         {"keyboard_key_M5", 0, {0xD0, 0xA2, 5}},
        {"keyboard_key_FN", 0, {0xA0, 0x01, 0}},         {"keyboard_key_GM", 0, {0xA0, 0x1B, 0}},
    };
    const size_t first = KeyNameTable.size() - std::size(rows);
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(KeyNameTable[first + i].nameKey, rows[i].nameKey);
        EXPECT_EQ(KeyNameTable[first + i].virtualKey, rows[i].virtualKey) << rows[i].nameKey;
        EXPECT_EQ(KeyNameTable[first + i].code, rows[i].code) << rows[i].nameKey;
    }
    EXPECT_EQ(KeyNameTable.size(), 141u);
    EXPECT_EQ(kKeyNameListSize, 142u);
    EXPECT_EQ(kColorKeyNameKey, "keyboard_key_COLOR");
    EXPECT_FALSE(FindKeyName(kColorKeyNameKey));
}

template <typename Table, typename Key>
void ExpectUnique(const Table& table, Key key, const char* what) {
    std::set<decltype(key(table[0]))> seen;
    for (const auto& row : table) {
        EXPECT_TRUE(seen.insert(key(row)).second) << what << " row " << (&row - table.data());
    }
}

TEST(KeyTablesTest, NoTableHasDuplicateRows) {
    ExpectUnique(
        KeyNameTable, [](const KeyNameEntry& r) { return std::string(r.nameKey); }, "name");
    ExpectUnique(
        KeyNameTable, [](const KeyNameEntry& r) { return r.code.Packed(); }, "code");
    ExpectUnique(
        ScanCodeTable, [](const ScanCodeEntry& r) { return r.scanCode << 1 | r.extended; }, "scan code");
    ExpectUnique(
        MouseKeyTable, [](const NamedCode& r) { return r.code.Packed(); }, "mouse key");
    ExpectUnique(
        DpiTable, [](const NamedCode& r) { return r.code.Packed(); }, "dpi");
    ExpectUnique(
        MediaTable, [](const NamedCode& r) { return r.code.Packed(); }, "media");
    ExpectUnique(
        SystemTable, [](const NamedCode& r) { return r.code.Packed(); }, "system");
    ExpectUnique(
        CombinationTable, [](const KeyFunctionCode& r) { return r.Packed(); }, "combination");
    ExpectUnique(
        MouseFunctionTable, [](const NamedCode& r) { return r.code.Packed(); }, "mouse function");
    // Every named key sits at one position; only the empty positions repeat.
    std::set<uint32_t> placed;
    for (const KeyFunctionCode& code : DefaultKeyTable) {
        EXPECT_TRUE(code == (KeyFunctionCode{0x20, 0, 0}) || placed.insert(code.Packed()).second)
            << code.Packed();
    }
}

TEST(KeyTablesTest, MouseButtonBitsAndNamesAgreeWithTheHidButtonOrder) {
    // HID button page: button 1 primary (left), 2 secondary (right), 3 tertiary (middle), 4 and
    // 5 the back and forward buttons; the firmware gives button n the bit 1 << (n - 1).
    const std::map<std::string, uint8_t> bits = {{"mouse_key_left", 0x01},
                                                 {"mouse_key_right", 0x02},
                                                 {"mouse_key_middle", 0x04},
                                                 {"mouse_key_back", 0x08},
                                                 {"mouse_key_forward", 0x10}};
    for (const NamedCode& row : MouseKeyTable) {
        EXPECT_EQ(row.code.param1, bits.at(std::string(row.nameKey))) << row.nameKey;
    }
    // The mouse's own table swaps middle and right (kept as the firmware defines it).
    EXPECT_EQ(MouseFunctionTable[1].code.param1, 0x02);
    EXPECT_EQ(MouseFunctionTable[1].nameKey, "mouse_key_middle");
    EXPECT_EQ(MouseFunctionTable[2].code.param1, 0x04);
    EXPECT_EQ(MouseFunctionTable[2].nameKey, "mouse_key_right");
}

TEST(KeyTablesTest, CombinationTableIsCtrlWithItsLetters) {
    const char* keys[] = {"O", "N", "Z", "S", "C", "X", "V", "F", "A", "-", "="};
    for (size_t i = 0; i < CombinationTable.size(); ++i) {
        const KeyFunctionCode key = KeyNameTable[*FindKeyName(std::string("keyboard_key_") + keys[i])].code;
        EXPECT_EQ(CombinationTable[i], (KeyFunctionCode{0x20, 0x01, key.param2})) << keys[i];
    }
}

TEST(DefaultKeyTableTest, PositionsHoldTheirKeys) {
    struct Row {
        size_t position;
        const char* key;
    };
    const Row rows[] = {
        {0, "Esc"},       {1, "F1"},      {12, "F12"},        {13, "Print Scr"}, {15, "Pause"},
        {16, "GM"},       {21, "`"},      {22, "1"},          {31, "0"},         {34, "BackSpace"},
        {38, "Num Lock"}, {41, "Num -"},  {42, "Tab"},        {43, "Q"},         {55, "xiegang"},
        {56, "Delete"},   {61, "Num 9"},  {63, "Caplk"},      {64, "A"},         {75, "Enter"},
        {79, "K132"},     {81, "K151"},   {83, "K133"},       {84, "LShift"},    {95, "RShift"},
        {96, "Up"},       {100, "K56"},   {103, "K107"},      {105, "LCtrl"},    {110, "FN"},
        {111, "App"},     {112, "RCtrl"}, {118, "Num Enter"}, {119, "Num +"},    {120, "M1"},
        {124, "M5"},      {125, "RWin"},
    };
    for (const Row& row : rows) {
        const auto index = FindKeyName(std::string("keyboard_key_") + row.key);
        ASSERT_TRUE(index) << row.key;
        EXPECT_EQ(DefaultKeyTable[row.position], KeyNameTable[*index].code) << row.position;
    }
    EXPECT_EQ(DefaultKeyTable[17], (KeyFunctionCode{0xA0, 0x24, 0x00}));
    for (const size_t empty : {18, 19, 20, 62, 104}) {
        EXPECT_EQ(DefaultKeyTable[empty], (KeyFunctionCode{0x20, 0x00, 0x00})) << empty;
    }
}

TEST(DefaultKeyTableTest, EveryKeyboardKeyHasAPosition) {
    std::set<std::string> placed;
    for (const KeyFunctionCode& code : DefaultKeyTable) {
        for (const KeyNameEntry& row : KeyNameTable) {
            if (row.code == code) {
                placed.insert(std::string(row.nameKey));
            }
        }
    }
    for (size_t i = 0; i < kKeyboardKeyCount; ++i) {
        EXPECT_TRUE(placed.count(std::string(KeyNameTable[i].nameKey))) << KeyNameTable[i].nameKey;
    }
}

}  // namespace
