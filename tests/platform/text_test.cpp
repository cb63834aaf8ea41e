#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, CaseFoldsAsciiLettersOnly) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    for (const Case& c : {Case{"Macro_1", "mACRO_1", true}, Case{"", "", true}, Case{"abc", "abcd", false},
                          Case{"abc", "ab", false}, Case{"[", "{", false}, Case{"É", "é", false},
                          Case{"配置", "配置", true}}) {
        EXPECT_EQ(platform::EqualsNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
    }
    EXPECT_EQ(platform::ToLower("HTTPS://Host/É"), "https://host/É");
}

TEST(TextTest, TrimmedDropsOuterWhiteSpaceOnly) {
    EXPECT_EQ(platform::Trimmed(" \t a b \r\n"), "a b");
    EXPECT_EQ(platform::Trimmed(" \t\r\n"), "");
    EXPECT_EQ(platform::Trimmed("x"), "x");
}

}  // namespace
