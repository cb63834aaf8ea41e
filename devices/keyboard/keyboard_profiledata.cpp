#include "devices/keyboard/keyboard_profiledata.h"

#include "profile/json_access.h"

namespace {

using Access = CJsonAccess;

Json::Value EncodeColor(const LedColor& color) {
    Json::Value object(Json::objectValue);
    object["Red"] = color.red;
    object["Green"] = color.green;
    object["Blue"] = color.blue;
    object["Alpha"] = color.alpha;
    return object;
}

// Bounds on what a number from a file or a caller may create in the document: group numbers are
// combo item indices and counts are LED counts, both far below these.
constexpr int kMaxGroup = 255;
constexpr int kMaxGroupLeds = 4096;
constexpr int kKeyboardLeds = 126;  // the LEDs the fill and per-key operations address

}  // namespace

KeyboardSystemStages CKeyboardProfiledata::GetSystemSettings() {
    const Json::Value& system = Access::Member(DeviceSection(), "SystemStages");
    KeyboardSystemStages settings;
    settings.repeat = Access::WordOf(system, "Repeat");
    settings.repeatDelay = Access::WordOf(system, "RepeatDelay");
    settings.key6Flag = Access::WordOf(system, "Key6Flag");
    settings.pollingRate = Access::WordOf(system, "PollingRate");
    settings.wFlag = Access::WordOf(system, "WFlag");
    settings.winFlag = Access::WordOf(system, "WinFlag");
    systemSettings_ = settings;
    return settings;
}

void CKeyboardProfiledata::SetSystemSettings(const KeyboardSystemStages& settings) {
    systemSettings_ = settings;
    Json::Value& system = SectionMember("SystemStages");
    Access::MemberRef(system, "Repeat") = settings.repeat;
    Access::MemberRef(system, "RepeatDelay") = settings.repeatDelay;
    Access::MemberRef(system, "Key6Flag") = settings.key6Flag;
    Access::MemberRef(system, "PollingRate") = settings.pollingRate;
    Access::MemberRef(system, "WFlag") = settings.wFlag;
    Access::MemberRef(system, "WinFlag") = settings.winFlag;
}

Json::Value* CKeyboardProfiledata::GroupArray(int group) {
    if (group < 0 || group > kMaxGroup) {
        return nullptr;
    }
    Json::Value& groups = Access::MemberRef(SectionMember("CustomLightMode"), "LightColorInfo");
    Json::Value& list = Access::ElementRef(groups, static_cast<Json::ArrayIndex>(group));
    if (!list.isArray()) {
        list = Json::Value(Json::arrayValue);
    }
    return &list;
}

std::vector<LedColor> CKeyboardProfiledata::GetGroupColors(int group, int count) {
    groupColors_.clear();
    Json::Value* list = count > 0 && count <= kMaxGroupLeds ? GroupArray(group) : nullptr;
    if (list == nullptr) {
        return groupColors_;
    }
    for (int i = 0; i < count; ++i) {
        Json::Value& entry = (*list)[static_cast<Json::ArrayIndex>(i)];
        if (!entry.isObject()) {
            entry = EncodeColor(LedColor{});
        }
        groupColors_.push_back({Access::ByteOf(entry, "Red"), Access::ByteOf(entry, "Green"),
                                Access::ByteOf(entry, "Blue"), Access::ByteOf(entry, "Alpha")});
    }
    return groupColors_;
}

void CKeyboardProfiledata::SetGroupColors(const std::vector<LedColor>& colors, int group) {
    groupColors_ = colors;
    Json::Value* list = GroupArray(group);
    if (list == nullptr) {
        return;
    }
    for (size_t i = 0; i < colors.size(); ++i) {
        (*list)[static_cast<Json::ArrayIndex>(i)] = EncodeColor(colors[i]);
    }
}

int CKeyboardProfiledata::GetGroupIndex() {
    const Json::Value& mode = Access::Member(DeviceSection(), "CustomLightMode");
    groupIndex_ = Access::IntOf(mode, "CustomLightModeGroupIndex");
    return groupIndex_;
}

void CKeyboardProfiledata::SetGroupIndex(int group) {
    groupIndex_ = group;
    Access::MemberRef(SectionMember("CustomLightMode"), "CustomLightModeGroupIndex") = group;
}

bool CKeyboardProfiledata::SelectCustomGroup(int group, int ledCount, std::vector<LedColor>& leds) {
    SetGroupIndex(group);
    leds = GetGroupColors(group, ledCount);
    return true;
}

bool CKeyboardProfiledata::FillCustomGroup(std::vector<LedColor>& leds, uint8_t red, uint8_t green,
                                           uint8_t blue, int selectedGroup) {
    leds.resize(kKeyboardLeds);
    for (LedColor& led : leds) {
        led.red = red;
        led.green = green;
        led.blue = blue;
    }
    if (selectedGroup < 0) {
        return false;
    }
    SetGroupColors(leds, selectedGroup);
    return true;
}

bool CKeyboardProfiledata::SetCustomGroupLed(std::vector<LedColor>& leds, int position, uint8_t red,
                                             uint8_t green, uint8_t blue, int selectedGroup) {
    if (position < 0 || position >= kKeyboardLeds) {
        return false;
    }
    if (leds.size() <= static_cast<size_t>(position)) {
        leds.resize(kKeyboardLeds);
    }
    LedColor& led = leds[static_cast<size_t>(position)];
    led.red = red;
    led.green = green;
    led.blue = blue;
    if (selectedGroup < 0) {
        return false;
    }
    SetGroupColors(leds, selectedGroup);
    return true;
}
