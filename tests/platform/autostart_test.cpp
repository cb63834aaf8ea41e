#include "platform/autostart.h"

#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(Autostart, OnWritesAnEntryThatStartsTheProgramHiddenAndOffRemovesIt) {
    CTempDataHome home;
    EXPECT_FALSE(platform::AutostartEnabled());

    ASSERT_TRUE(platform::SetAutostart(true, "/opt/My Tools/norvik"));
    const std::string entry = Read(platform::AutostartEntryPath());
    EXPECT_EQ(platform::AutostartEntryPath(), home.Path("config/autostart/com.norvik.Norvik400100.desktop"));
    EXPECT_NE(entry.find("\nExec=env NORVIK_START_HIDDEN=1 \"/opt/My Tools/norvik\"\n"), std::string::npos)
        << entry;
    EXPECT_TRUE(platform::AutostartEnabled());

    ASSERT_TRUE(platform::SetAutostart(false, ""));
    EXPECT_FALSE(std::filesystem::exists(platform::AutostartEntryPath()));
    EXPECT_TRUE(platform::SetAutostart(false, "")) << "switching off twice is no failure";
}

TEST(Autostart, AnEntryTheDesktopDisabledCountsAsOff) {
    CTempDataHome home;
    ASSERT_TRUE(platform::SetAutostart(true, "norvik"));
    std::ofstream(platform::AutostartEntryPath(), std::ios::app) << "Hidden=true\n";
    EXPECT_FALSE(platform::AutostartEnabled());
}
