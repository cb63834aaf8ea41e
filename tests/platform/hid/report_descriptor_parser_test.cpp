#include "platform/hid/report_descriptor_parser.h"
#include "profile/json_access.h"
#include "profile/json_document.h"
#include "tests/support/mouse_interface_descriptor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using platform::hid::CReportDescriptorParser;
using platform::hid::HidCollectionInfo;

namespace {

std::vector<uint8_t> FromHex(const std::string& hex) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::vector<HidCollectionInfo> ParseOk(const std::vector<uint8_t>& descriptor) {
    std::vector<HidCollectionInfo> collections;
    std::string error;
    EXPECT_TRUE(CReportDescriptorParser::Parse(descriptor, collections, &error)) << error;
    return collections;
}

// Each collection's figures must be what Windows reported for the same descriptor.
TEST(ReportDescriptorParserTest, FiguresEqualWhatWindowsMeasuredForRealDevices) {
    const char* root = std::getenv("NORVIK_TESTDATA");
    const std::string file = root == nullptr ? "" : std::string(root) + "/hid/windows-measured.json";
    if (file.empty() || !std::filesystem::exists(file)) {
        GTEST_SKIP() << "no reference data at $NORVIK_TESTDATA/hid";
    }
    const Json::Value devices = CJsonDocument().ReadJsonValue(file);
    ASSERT_GT(CJsonAccess::Size(devices), 0u);
    int checked = 0;
    for (Json::ArrayIndex d = 0; d < CJsonAccess::Size(devices); ++d) {
        const Json::Value& device = CJsonAccess::Element(devices, d);
        const std::string name = CJsonAccess::String(CJsonAccess::Member(device, "name"));
        SCOPED_TRACE(name);
        const auto collections =
            ParseOk(FromHex(CJsonAccess::String(CJsonAccess::Member(device, "descriptor_hex"))));
        const Json::Value& expected = CJsonAccess::Member(device, "collections");
        ASSERT_EQ(collections.size(), CJsonAccess::Size(expected));
        for (Json::ArrayIndex c = 0; c < CJsonAccess::Size(expected); ++c) {
            const Json::Value& want = CJsonAccess::Element(expected, c);
            const HidCollectionInfo& got = collections[c];
            SCOPED_TRACE("collection " + std::to_string(c + 1));
            EXPECT_EQ(got.index, CJsonAccess::Int(CJsonAccess::Member(want, "index")));
            EXPECT_EQ(got.caps.usage_page, CJsonAccess::Int(CJsonAccess::Member(want, "usage_page")));
            EXPECT_EQ(got.caps.usage, CJsonAccess::Int(CJsonAccess::Member(want, "usage")));
            EXPECT_EQ(got.caps.input_report_length, CJsonAccess::Int(CJsonAccess::Member(want, "input_len")));
            EXPECT_EQ(got.caps.output_report_length,
                      CJsonAccess::Int(CJsonAccess::Member(want, "output_len")));
            EXPECT_EQ(got.caps.feature_report_length,
                      CJsonAccess::Int(CJsonAccess::Member(want, "feature_len")));
            std::vector<uint8_t> ids;
            const Json::Value& want_ids = CJsonAccess::Member(want, "report_ids");
            for (Json::ArrayIndex i = 0; i < CJsonAccess::Size(want_ids); ++i) {
                ids.push_back(static_cast<uint8_t>(CJsonAccess::Int(CJsonAccess::Element(want_ids, i))));
            }
            EXPECT_EQ(got.report_ids, ids);
            ++checked;
        }
    }
    EXPECT_GE(checked, 20);
}

TEST(ReportDescriptorParserTest, SplitsAnInterfaceIntoItsTopLevelCollections) {
    const auto collections = ParseOk(kMouseInterfaceDescriptor);
    ASSERT_EQ(collections.size(), 4u);
    EXPECT_EQ(collections[0].caps.usage, 0x02);
    EXPECT_EQ(collections[0].caps.input_report_length, 6);
    EXPECT_EQ(collections[0].caps.button_caps[0], 1);  // five buttons as one range
    EXPECT_EQ(collections[0].caps.value_caps[0], 2);   // X and Y
    EXPECT_EQ(collections[1].caps.usage_page, 0x01);
    EXPECT_EQ(collections[1].caps.usage, 0x06);
    EXPECT_EQ(collections[1].caps.input_report_length, 7);
    EXPECT_EQ(collections[1].caps.button_caps[0], 2);  // the modifier bits and the key array
    EXPECT_EQ(collections[2].caps.usage_page, 0x0C);
    EXPECT_EQ(collections[2].caps.usage, 0x01);
    EXPECT_EQ(collections[2].caps.input_report_length, 3);
    EXPECT_EQ(collections[2].report_ids, std::vector<uint8_t>{3});
    EXPECT_EQ(collections[3].index, 4);
    EXPECT_EQ(collections[3].caps.usage_page, 0xFF1C);
    EXPECT_EQ(collections[3].caps.usage, 0x92);
    EXPECT_EQ(collections[3].caps.input_report_length, 64);
    EXPECT_EQ(collections[3].caps.output_report_length, 64);
    EXPECT_EQ(collections[3].caps.feature_report_length, 0);
    EXPECT_EQ(collections[3].caps.value_caps[0], 1);
}

TEST(ReportDescriptorParserTest, BrokenGrammarIsRefusedWithAReason) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"truncated item", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x26, 0xFF}},
        {"end without collection", {0xC0}},
        {"unclosed collection", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}},
        {"pop without push", {0xB4}},
        {"truncated long item", {0xFE, 0x10, 0x01, 0x00}},
        {"too long", std::vector<uint8_t>(5000, 0x00)},
    };
    for (const Case& c : cases) {
        std::vector<HidCollectionInfo> collections(1);
        std::string error;
        EXPECT_FALSE(CReportDescriptorParser::Parse(c.bytes, collections, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_TRUE(collections.empty()) << c.what;
    }
}

}  // namespace
