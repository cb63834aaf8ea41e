#pragma once

#include <json/value.h>

#include <cstdint>
#include <string>

// Type-checked access to documents read from disk. jsoncpp throws when a member has an
// unexpected type (asInt on a string, operator[] on an array); files come from outside, so every
// reader goes through these: a member of the wrong type reads as absent.
class CJsonAccess {
public:
    // The member, or null when the value is not an object or lacks it.
    static const Json::Value& Member(const Json::Value& value, const char* key);
    // The element, or null when the value is not an array or is too short.
    static const Json::Value& Element(const Json::Value& value, Json::ArrayIndex index);
    // The element count of an array; 0 for anything else.
    static Json::ArrayIndex Size(const Json::Value& value);

    // Numbers and booleans convert as jsoncpp would; anything else gives the fallback.
    // Integers wider than 32 bits keep their low 32 bits, as the firmware fields truncate anyway.
    static int Int(const Json::Value& value, int fallback = 0);
    static bool Bool(const Json::Value& value, bool fallback = false);
    static std::string String(const Json::Value& value, const std::string& fallback = {});

    // A member of an object as a number, its low byte or its low 16 bits, or a boolean member as
    // 1 or 0; absent or of the wrong type, 0.
    static int IntOf(const Json::Value& object, const char* key);
    static uint8_t ByteOf(const Json::Value& object, const char* key);
    static uint16_t WordOf(const Json::Value& object, const char* key);
    static uint8_t FlagOf(const Json::Value& object, const char* key);

    // Writable member or element; a value of another type is replaced by an empty object or array
    // first, so a damaged document is rebuilt rather than crashing the writer.
    static Json::Value& MemberRef(Json::Value& value, const char* key);
    static Json::Value& ElementRef(Json::Value& value, Json::ArrayIndex index);
};
