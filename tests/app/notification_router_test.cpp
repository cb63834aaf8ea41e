#include "app/notification_router.h"
#include "app/editing_lock.h"
#include "tests/support/debug_capture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Match = CNotificationRouter::Match;

TEST(SplitControlName, SplitsAtTheLastUnderscore) {
    struct Case {
        const char* name;
        bool hasPrefix;
        const char* prefix;
        long index;
    };
    const Case cases[] = {
        {"DPI_slider_3", true, "DPI_slider_", 3},
        {"DPI_slider_12", true, "DPI_slider_", 12},
        {"quorl_DPI_edit_2", true, "quorl_DPI_edit_", 2},
        {"DPI_slider", true, "DPI_", 0},
        {"key_", true, "key_", 0},
        {"key_7x", true, "key_", 7},
        {"key_-2", true, "key_", -2},
        {"closebtn", false, "", 0},
    };
    for (const Case& c : cases) {
        const RoutedName split = SplitControlName(c.name);
        EXPECT_EQ(split.name, c.name);
        EXPECT_EQ(split.hasPrefix, c.hasPrefix) << c.name;
        EXPECT_EQ(split.prefix, c.prefix) << c.name;
        EXPECT_EQ(split.index, c.index) << c.name;
    }
}

class RouterTest : public ::testing::Test {
protected:
    CNotificationRouter::Handler Record(const std::string& tag) {
        return [this, tag](const RoutedNotification& n) {
            calls.push_back(tag + ":" + std::to_string(n.sender.index));
        };
    }

    CNotificationRouter router;
    std::vector<std::string> calls;
};

TEST_F(RouterTest, FirstMatchingRowWinsInTableOrder) {
    router.Add("click", Match::ExactNoCase, "closebtn", Record("close"));
    router.Add("click", Match::Prefix, "key_", Record("key"));
    router.Add("click", Match::ExactNoCase, "key_butt_prosave", Record("prosave"));
    router.Add("click", Match::Prefix, "key_butt_", Record("never"));

    router.Route("click", "CLOSEBTN");
    router.Route("click", "key_4");
    // "key_butt_prosave" splits as "key_butt_", so the "key_" row leaves it to its exact row.
    router.Route("click", "key_butt_prosave");
    router.Route("click", "unknown");
    EXPECT_EQ(calls, (std::vector<std::string>{"close:0", "key:4", "prosave:0"}));
}

TEST_F(RouterTest, CaseRulesAndTypesAreSeparate) {
    router.Add("click", Match::Exact, "macro_inset_moveleftkey_btn", Record("left"));
    router.Add("selectchanged", Match::Prefix, "DPI_enable_check_", Record("check"));

    router.Route("click", "MACRO_INSET_MOVELEFTKEY_BTN");
    router.Route("click", "DPI_enable_check_1");
    router.Route("selectchanged", "dpi_enable_check_1");
    router.Route("selectchanged", "DPI_enable_check_6");
    router.Route("click", "macro_inset_moveleftkey_btn");
    EXPECT_EQ(calls, (std::vector<std::string>{"check:6", "left:0"}));
}

TEST_F(RouterTest, OnlyTheEndingTypesStayFromTheToolkitAndTimersStayQuiet) {
    router.EndHere("click_wpremove");
    CDebugCapture capture;
    EXPECT_TRUE(router.Route("click", "nothing"));
    EXPECT_FALSE(router.Route("click_wpremove", "list"));
    EXPECT_TRUE(router.Route("timer", "ticker"));
    EXPECT_NE(capture.Text().find("click nothing"), std::string::npos);
    EXPECT_NE(capture.Text().find("click_wpremove list"), std::string::npos);
    EXPECT_EQ(capture.Text().find("ticker"), std::string::npos);
}

TEST(EditingLock, BarFollowsOnlyTheWithBarCallsAndThePanelFollowsAll) {
    std::vector<std::string> seen;
    CEditingLock lock([&](bool on) { seen.push_back(on ? "bar on" : "bar off"); },
                      [&](bool busy) { seen.push_back(busy ? "busy" : "idle"); });
    EXPECT_FALSE(lock.IsLocked());
    lock.Take(true);
    EXPECT_TRUE(lock.IsLocked());
    lock.Release(false);
    EXPECT_FALSE(lock.IsLocked());
    lock.Release(true);
    EXPECT_EQ(seen, (std::vector<std::string>{"bar off", "busy", "idle", "bar on", "idle"}));
}

}  // namespace
