#include "profile/json_access.h"

#include <cstdint>
#include <limits>

const Json::Value& CJsonAccess::Member(const Json::Value& value, const char* key) {
    if (!value.isObject()) {
        return Json::Value::nullSingleton();
    }
    const Json::Value* member = value.find(key, key + std::char_traits<char>::length(key));
    return member != nullptr ? *member : Json::Value::nullSingleton();
}

const Json::Value& CJsonAccess::Element(const Json::Value& value, Json::ArrayIndex index) {
    if (!value.isArray() || index >= value.size()) {
        return Json::Value::nullSingleton();
    }
    return value[index];
}

Json::ArrayIndex CJsonAccess::Size(const Json::Value& value) {
    return value.isArray() ? value.size() : 0;
}

int CJsonAccess::Int(const Json::Value& value, int fallback) {
    switch (value.type()) {
        case Json::intValue:
            return static_cast<int>(static_cast<uint32_t>(value.asLargestInt()));
        case Json::uintValue:
            return static_cast<int>(static_cast<uint32_t>(value.asLargestUInt()));
        case Json::realValue: {
            const double real = value.asDouble();
            if (real >= std::numeric_limits<int>::min() && real <= std::numeric_limits<int>::max()) {
                return static_cast<int>(real);
            }
            return fallback;
        }
        case Json::booleanValue:
            return value.asBool() ? 1 : 0;
        default:
            return fallback;
    }
}

bool CJsonAccess::Bool(const Json::Value& value, bool fallback) {
    switch (value.type()) {
        case Json::booleanValue:
        case Json::intValue:
        case Json::uintValue:
        case Json::realValue:
            return value.asBool();
        default:
            return fallback;
    }
}

std::string CJsonAccess::String(const Json::Value& value, const std::string& fallback) {
    return value.isString() ? value.asString() : fallback;
}

Json::Value& CJsonAccess::MemberRef(Json::Value& value, const char* key) {
    if (!value.isObject()) {
        value = Json::Value(Json::objectValue);
    }
    return value[key];
}

Json::Value& CJsonAccess::ElementRef(Json::Value& value, Json::ArrayIndex index) {
    if (!value.isArray()) {
        value = Json::Value(Json::arrayValue);
    }
    return value[index];
}

int CJsonAccess::IntOf(const Json::Value& object, const char* key) {
    return Int(Member(object, key));
}

uint8_t CJsonAccess::ByteOf(const Json::Value& object, const char* key) {
    return static_cast<uint8_t>(IntOf(object, key));
}

uint16_t CJsonAccess::WordOf(const Json::Value& object, const char* key) {
    return static_cast<uint16_t>(IntOf(object, key));
}

uint8_t CJsonAccess::FlagOf(const Json::Value& object, const char* key) {
    return Bool(Member(object, key)) ? 1 : 0;
}
