#include "macro/macro_event.h"

#include "profile/json_access.h"

#include <algorithm>
#include <cctype>
#include <limits>

uint32_t MacroEvent::DelayMs() const {
    uint64_t value = 0;
    for (const char c : delay) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            break;
        }
        value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'),
                                   std::numeric_limits<uint32_t>::max());
    }
    return static_cast<uint32_t>(value);
}

std::array<uint8_t, 4> MacroEvent::Encode() const {
    const uint32_t ms = DelayMs();
    return {static_cast<uint8_t>(ms & 0xFF), static_cast<uint8_t>(ms >> 8 & 0xFF),
            static_cast<uint8_t>((type & 0x7F) | (IsDown() ? 0x80 : 0)), button};
}

MacroEvent MacroEvent::FromJson(const Json::Value& value) {
    MacroEvent event;
    event.action = CJsonAccess::String(CJsonAccess::Member(value, "Action"));
    event.button = static_cast<uint8_t>(CJsonAccess::Int(CJsonAccess::Member(value, "Button")));
    event.type = static_cast<uint8_t>(CJsonAccess::Int(CJsonAccess::Member(value, "Type")));
    const Json::Value& delay = CJsonAccess::Member(value, "Delay");
    if (delay.isString()) {
        event.delay = delay.asString();
    } else if (delay.isIntegral()) {
        event.delay = std::to_string(CJsonAccess::Int(delay));
    }
    return event;
}

Json::Value MacroEvent::ToJson() const {
    Json::Value value(Json::objectValue);
    value["Action"] = action;
    value["Button"] = button;
    value["Type"] = type;
    value["Delay"] = std::to_string(DelayMs());
    return value;
}
