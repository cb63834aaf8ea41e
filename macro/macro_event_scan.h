#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// Counts the elements of a macro file's top-level "Events" array without building a document:
// once a macro list is known not to fit the device, the remaining files are only counted, and a
// full parse of megabytes of events would dominate "Apply". Strings and nesting are followed
// exactly; numbers and literals are not checked, so a document that a JSON reader would refuse
// for a bad literal may still be counted. Nothing when the text is not an object or a string or
// bracket is left open. Pure; any thread.
class CMacroEventScan {
public:
    static std::optional<size_t> CountEvents(std::string_view document);
};
