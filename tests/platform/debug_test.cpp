#include "platform/debug.h"

#include "platform/paths.h"
#include "tests/support/debug_capture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(DebugTest, FormattedTextReachesTheSinkUnchanged) {
    CDebugCapture capture;
    platform::DebugFormat("命令 %02X%s\n", 0x0C, "!");
    platform::DebugOutput("plain");
    EXPECT_EQ(capture.Text(), "命令 0C!\nplain");
}

TEST(DebugTest, EnabledWhileSomebodyReads) {
    const char* stderrSwitch = std::getenv("NORVIK_DEBUG");
    const bool toStderr = stderrSwitch != nullptr && std::string(stderrSwitch) == "1";
    EXPECT_EQ(platform::DebugEnabled(), toStderr);
    CDebugCapture capture;
    EXPECT_TRUE(platform::DebugEnabled());
}

TEST(PathsTest, XdgFoldersFollowTheEnvironmentAndIgnoreRelativeValues) {
    setenv("HOME", "/home/someone", 1);
    setenv("XDG_DATA_HOME", "/var/tmp/data", 1);
    EXPECT_EQ(platform::LocalAppDataFolder(), "/var/tmp/data/");
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(platform::LocalAppDataFolder(), "/home/someone/.local/share/");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(platform::UserConfigFolder(), "/home/someone/.config/");
}

TEST(PathsTest, ProgramFolderIsTheBuiltTreeInTests) {
    const char* programDir = std::getenv("NORVIK_PROGRAM_DIR");
    ASSERT_NE(programDir, nullptr);
    EXPECT_EQ(platform::ProgramFolder(), std::string(programDir) + "/");
}

}  // namespace
