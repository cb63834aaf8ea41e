#pragma once

#include "platform/json_file.h"

#include <json/value.h>

#include <cstddef>
#include <string>

// How the profile layer and above read and write their JSON files, on CJsonFile below, with a
// debug line for each read and write. The object holds no data; whoever needs files owns one.
//
// Reads never throw: a missing, short, empty or unparsable file reads as null. Writes replace
// the file atomically, so a crash or a full disk leaves either the old document or the new one,
// never a truncated one.
//
// Thread safety: the operations share no state except the time-stamp clock, which is locked.
class CJsonDocument {
public:
    // No file a user can hand us is larger; a bigger one reads as unreadable.
    static constexpr size_t kMaxFileBytes = CJsonFile::kMaxFileBytes;

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
};
