#pragma once

#include "macro/macro_event.h"

#include <json/value.h>

#include <string>
#include <vector>

// One macro file (Guid + ".mac"): {"MacroName", "Guid", "Events": [MacroEvent...], "Version": 64},
// written whole on every save. Reads never fail: a missing or unparsable file, or one whose
// "Events" is not an array, has no events. Files only; any thread, one writer per file.
class CMacroFile {
public:
    static constexpr const char* kExtension = ".mac";
    static constexpr int kVersion = 64;

    static std::vector<MacroEvent> Events(const Json::Value& document);
    static std::vector<MacroEvent> Read(const std::string& path);
    // The number of events Read would give, counted without building the document (for lists
    // already known not to fit, where only the count is reported).
    static size_t CountEvents(const std::string& path);
    // Whether the file parses as a macro file: an object whose "Events" is an array.
    static bool IsMacroFile(const std::string& path);

    // 0 when written, 1 when the file could not be replaced (it then keeps its old content).
    static int Write(const std::string& path, const std::string& name, const std::string& guid,
                     const std::vector<MacroEvent>& events);

    // Copies a file as text: a CR LF pair reads as one line end and every line end is written as
    // CR LF; nothing else changes. False when the source cannot be read or the target written;
    // the target is then not created or left as it was.
    static bool CopyAsText(const std::string& from, const std::string& to);
};
