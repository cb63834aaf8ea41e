#include "cli/hid_command.h"
#include "cli/command_line.h"

#include "profile/json_document.h"
#include "sim/sim_hid_bus.h"
#include "tests/support/mouse_interface_descriptor.h"
#include "tests/support/scripted_sim_device.h"
#include "tests/support/temp_data_home.h"

#include <json/reader.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome RunHid(std::shared_ptr<platform::hid::CHidBackend> backend, const std::vector<std::string>& args) {
    const CCommandLine command_line(
        {{"hid", "HID", [backend] { return std::make_unique<CHidCommand>(backend); }}});
    std::ostringstream out;
    std::ostringstream err;
    const int code = command_line.Run(args, out, err);
    return {code, out.str(), err.str()};
}

Json::Value Parse(const std::string& text) {
    Json::Value value;
    std::istringstream stream(text);
    Json::CharReaderBuilder builder;
    std::string errors;
    EXPECT_TRUE(Json::parseFromStream(builder, stream, &value, &errors)) << errors;
    return value;
}

std::vector<std::string> Keys(const Json::Value& object) {
    std::vector<std::string> keys = object.getMemberNames();
    std::sort(keys.begin(), keys.end());
    return keys;
}

TEST(HidCommandTest, ListGivesEveryEntryWithTheKeysDiscoveryReads) {
    auto bus = std::make_shared<CSimHidBus>();
    bus->Plug("mouse3389", std::make_shared<CScriptedSimDevice>(
                               CSimDevice::Identity{0x320F, 0x21FD, 0, 1, ""}, kMouseInterfaceDescriptor));
    const Outcome json = RunHid(bus, {"hid", "list", "--json"});
    ASSERT_EQ(json.code, kExitOk) << json.err;
    const Json::Value entries = Parse(json.out);
    ASSERT_EQ(entries.size(), 4u);
    const Json::Value& vendor = entries[3];
    EXPECT_EQ(Keys(vendor),
              (std::vector<std::string>{"collection", "feature_report_length", "input_report_length",
                                        "interface", "output_report_length", "path", "product_id", "usage",
                                        "usage_page", "vendor_id"}));
    EXPECT_EQ(vendor["path"].asString(), "sim#vid_320f&pid_21fd&mi_01&col04#mouse3389.1");
    EXPECT_TRUE(vendor["vendor_id"].isInt());
    EXPECT_EQ(vendor["vendor_id"].asInt(), 0x320F);
    EXPECT_EQ(vendor["product_id"].asInt(), 0x21FD);
    EXPECT_EQ(vendor["interface"].asInt(), 1);
    EXPECT_EQ(vendor["collection"].asInt(), 4);
    EXPECT_EQ(vendor["usage_page"].asInt(), 0xFF1C);
    EXPECT_EQ(vendor["usage"].asInt(), 0x92);
    EXPECT_EQ(vendor["input_report_length"].asInt(), 64);
    EXPECT_EQ(vendor["output_report_length"].asInt(), 64);
    EXPECT_EQ(vendor["feature_report_length"].asInt(), 0);

    const Outcome text = RunHid(bus, {"hid", "list"});
    ASSERT_EQ(text.code, kExitOk);
    EXPECT_NE(text.out.find("sim#vid_320f&pid_21fd&mi_01&col03#mouse3389.1"), std::string::npos);
    EXPECT_NE(text.out.find("usage page 0xFF1C  usage 0x0092  input 64  output 64  feature 0"),
              std::string::npos);

    const Outcome empty = RunHid(std::make_shared<CSimHidBus>(), {"hid", "list", "--json"});
    EXPECT_EQ(Parse(empty.out).size(), 0u);
    EXPECT_TRUE(Parse(empty.out).isArray());
}

TEST(HidCommandTest, DescribeReadsRawBytesAndHexDumps) {
    CTempDataHome home;
    const std::string raw = home.Path("mouse.bin");
    std::ofstream(raw, std::ios::binary)
        .write(reinterpret_cast<const char*>(kMouseInterfaceDescriptor.data()),
               kMouseInterfaceDescriptor.size());
    const std::string dump = home.Path("mouse.txt");
    std::ofstream(dump)
        << "0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01,\n"
           "0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01,\n"
           "0x75, 0x03, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F,\n"
           "0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0\n";

    const Outcome json = RunHid(nullptr, {"hid", "describe", raw, "--json"});
    ASSERT_EQ(json.code, kExitOk) << json.err;
    const Json::Value collections = Parse(json.out);
    ASSERT_EQ(collections.size(), 4u);
    EXPECT_EQ(Keys(collections[2]),
              (std::vector<std::string>{"collection", "feature_report_length", "input_report_length",
                                        "output_report_length", "usage", "usage_page"}));
    EXPECT_EQ(collections[2]["collection"].asInt(), 3);
    EXPECT_EQ(collections[2]["usage_page"].asInt(), 0x0C);
    EXPECT_EQ(collections[2]["input_report_length"].asInt(), 3);

    // A five-button mouse: one collection, 3 data bytes and the report id byte.
    const Outcome text = RunHid(nullptr, {"hid", "describe", dump});
    ASSERT_EQ(text.code, kExitOk) << text.err;
    EXPECT_EQ(text.out, "collection 0: usage page 0x0001  usage 0x0002  input 4  output 0  feature 0\n");
}

TEST(HidCommandTest, MistakesGiveAReasonAndTheirExitCode) {
    CTempDataHome home;
    const std::string broken = home.Path("broken.bin");
    std::ofstream(broken) << "05 01 A1 01";
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;
    } cases[] = {
        {{"hid", "describe", home.Path("missing.bin")}, kExitFailure, "cannot open"},
        {{"hid", "describe", broken},
         kExitFailure,
         "not a usable report descriptor: a collection is not closed"},
        {{"hid", "frobnicate"}, kExitUsage, "expected \"list\" or \"describe FILE\""},
        {{"hid"}, kExitUsage, "Usage: norvikctl hid list"},
        {{"nosuch"}, kExitUsage, "unknown command \"nosuch\""},
        {{}, kExitUsage, "Usage: norvikctl COMMAND"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunHid(std::make_shared<CSimHidBus>(), c.args);
        EXPECT_EQ(outcome.code, c.code) << c.says;
        EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
    }
    const Outcome help = RunHid(nullptr, {"hid", "--help"});
    EXPECT_EQ(help.code, kExitOk);
    EXPECT_NE(help.out.find("norvikctl hid describe FILE"), std::string::npos);
    const Outcome top = RunHid(nullptr, {"--help"});
    EXPECT_EQ(top.code, kExitOk);
    EXPECT_NE(top.out.find("  hid       HID"), std::string::npos);
}

}  // namespace
