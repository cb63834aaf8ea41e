#include "cli/codes_command.h"

#include <json/reader.h>

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome RunCodes(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = CCodesCommand().Run(args, out, err);
    return {code, out.str(), err.str()};
}

const Json::Value* Named(const Json::Value& list, const std::string& name) {
    for (const Json::Value& item : list) {
        if (item["name"].asString() == name) {
            return &item;
        }
    }
    return nullptr;
}

TEST(CodesCommandTest, JsonListsEveryFunctionWithItsBytes) {
    const Outcome outcome = RunCodes({"--json"});
    ASSERT_EQ(outcome.code, kExitOk);
    Json::Value list;
    std::istringstream in(outcome.out);
    std::string errors;
    ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &list, &errors)) << errors;
    ASSERT_TRUE(list.isArray());

    const Json::Value* rctrl = Named(list, "keyboard_key_RCtrl");
    ASSERT_NE(rctrl, nullptr);
    EXPECT_EQ((*rctrl)["type"], Json::Value(0x20));
    EXPECT_EQ((*rctrl)["param1"], Json::Value(0x10));
    EXPECT_EQ((*rctrl)["param2"], Json::Value(0));
    EXPECT_EQ((*rctrl)["usage"], Json::Value(0xE4));
    EXPECT_EQ((*rctrl)["scan_code"], Json::Value(0x1D));
    EXPECT_EQ((*rctrl)["extended"], Json::Value(1));

    const Json::Value* play = Named(list, "media_play");
    ASSERT_NE(play, nullptr);
    EXPECT_EQ((*play)["type"], Json::Value(0x30));
    EXPECT_EQ((*play)["param1"], Json::Value(0xCD));
    EXPECT_FALSE(play->isMember("usage"));
    EXPECT_FALSE(play->isMember("scan_code"));

    size_t keys = 0;
    for (const Json::Value& item : list) {
        const std::vector<std::string> members = item.getMemberNames();
        EXPECT_TRUE(members.size() == 4 || members.size() == 7) << item.toStyledString();
        keys += item.isMember("scan_code");
    }
    EXPECT_EQ(keys, 113u);
}

TEST(CodesCommandTest, TextShowsBytesNameAndKeyDetails) {
    const Outcome outcome = RunCodes({});
    ASSERT_EQ(outcome.code, kExitOk);
    EXPECT_NE(outcome.out.find("20 00 04  keyboard_key_A "), std::string::npos);
    EXPECT_NE(outcome.out.find("0x04 0x1E 0\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("13 01 00  mouse_key_DPI_add\n"), std::string::npos);
}

TEST(CodesCommandTest, UnknownArgumentsAreUsageErrors) {
    const Outcome outcome = RunCodes({"--xml"});
    EXPECT_EQ(outcome.code, kExitUsage);
    EXPECT_TRUE(outcome.out.empty());
    EXPECT_NE(outcome.err.find("usage: norvikctl codes [--json]"), std::string::npos);
}

}  // namespace
