#pragma once

#include <json/value.h>

#include <cstddef>
#include <string>

// The one way every JSON file of the program is read and written. The object holds no data;
// whoever needs files owns one.
//
// Reads never throw: a missing, short, empty or unparsable file reads as null. Writes replace
// the file atomically (a temporary file beside it, then a rename), so a crash or a full disk
// leaves either the old document or the new one, never a truncated one. The bytes written are
// jsoncpp's StyledWriter output, with non-ASCII text as UTF-8 rather than \u escapes, followed by
// one newline.
//
// Thread safety: the operations share no state except the time-stamp clock, which is locked.
class CJsonDocument {
public:
    // No file a user can hand us is larger; a bigger one reads as unreadable.
    static constexpr size_t kMaxFileBytes = 4 * 1024 * 1024;

    // The whole file as bytes, or "" when it cannot be opened or read in full or is larger than
    // kMaxFileBytes.
    std::string readjsonFile(const std::string& path) const;

    // The parsed document, or null for a missing, empty or unparsable file.
    Json::Value ReadJsonValue(const std::string& path) const;

    // 0 when the document was written, 1 when the file could not be replaced (the old content
    // then stays, also for a file without write permission).
    int wirtejsonFile(const std::string& path, const Json::Value& value) const;

    // Local time as "%d_%02d_%02d_%02d_%02d_%02d_%03d"; never the same twice in one process:
    // within one millisecond the next free millisecond is taken.
    std::string TimeStamp() const;

    // The styled text of a value, as it is written to disk (with the final newline); non-ASCII
    // text is written as UTF-8, not as \u escapes.
    static std::string StyledText(const Json::Value& value);
    // The styled writer's text with its \u escapes of non-ASCII characters turned back into UTF-8.
    static std::string UnescapeNonAscii(const std::string& text);
};
