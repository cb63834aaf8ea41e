#pragma once

#include <json/value.h>

#include <cstddef>
#include <string>
#include <string_view>

// JSON text and files for every layer. Reads never throw and are capped; writes replace the file
// atomically. The text written is jsoncpp's StyledWriter output, with non-ASCII text as UTF-8
// rather than \u escapes, followed by one newline. Pure functions of their arguments; any thread.
class CJsonFile {
public:
    // No file a user can hand us is larger; a bigger one reads as unreadable.
    static constexpr size_t kMaxFileBytes = 4 * 1024 * 1024;

    // The whole file as bytes, or "" when it cannot be opened, is not a regular file, cannot be
    // read in full or is larger than kMaxFileBytes.
    static std::string ReadText(const std::string& path);
    // False for text that is not one JSON document; root is then unspecified.
    static bool Parse(std::string_view text, Json::Value& root);
    // The parsed document of a file, or null for a missing, empty or unparsable one.
    static Json::Value Read(const std::string& path);
    // 0 when written, else the errno of the step that failed (the old content then stays).
    static int Write(const std::string& path, const Json::Value& value);

    // The styled text of a value, as it is written to disk (with the final newline).
    static std::string StyledText(const Json::Value& value);
    // The styled writer's text with its \u escapes of non-ASCII characters turned back into UTF-8.
    static std::string UnescapeNonAscii(const std::string& text);
};
