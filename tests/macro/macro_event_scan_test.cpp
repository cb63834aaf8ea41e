#include "macro/macro_event_scan.h"
#include "macro/macro_file.h"

#include <json/reader.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace {

std::optional<size_t> ParsedCount(const std::string& text) {
    Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value document;
    if (!reader->parse(text.data(), text.data() + text.size(), &document, nullptr)) {
        return std::nullopt;
    }
    return CMacroFile::Events(document).size();
}

// Well-formed documents: the scan must count what the reader's "Events" holds.
TEST(MacroEventScanTest, CountsWhatTheReaderReads) {
    const std::string documents[] = {
        R"({})",
        R"({"Events": []})",
        R"( { "MacroName" : "a,b]}" , "Events" : [ {"Action": "down", "Delay": "1"} ] } )",
        R"({"Events": [{"Action": "d\"o,w}n"}, {"x": [1, [2, 3], {"y": ","}]}, 7], "Version": 64})",
        R"({"Guid": {"nested": [1, 2]}, "Events": [1, 2, 3]})",
        R"({"Events": [1, 2], "Events": [3]})",
        R"({"Events": "not a list"})",
        R"({"Events": {"a": 1, "b": 2}})",
        "{\"Events\":\r\n[\r\n{},\r\n{}\r\n]\r\n}",
    };
    for (const std::string& document : documents) {
        EXPECT_EQ(CMacroEventScan::CountEvents(document), ParsedCount(document)) << document;
    }
}

TEST(MacroEventScanTest, LeavesBrokenTextToTheReader) {
    for (const char* text : {"", "[1, 2]", "{ broken", R"({"Events": [1, 2)", R"({"Events": ["open])",
                             R"({"Events": [1}, "x": 1})", R"({"Events" [1]})"}) {
        EXPECT_EQ(CMacroEventScan::CountEvents(text), std::nullopt) << text;
    }
}

}  // namespace
