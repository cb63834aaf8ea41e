#include "platform/atomic_file.h"

#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Touch(const std::string& path, std::chrono::minutes age) {
    std::ofstream(path) << "{";
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

TEST(AtomicFileTest, AWriteRemovesOnlyTheFilesOwnOldTemporaries) {
    CTempDataHome home;
    const std::string target = home.Path("profile.Json");
    Touch(home.Path("profile.Json.tmp-a1B2c3"), std::chrono::minutes(60));  // left by a killed writer
    Touch(home.Path("profile.Json.tmp-d4E5f6"), std::chrono::minutes(1));   // a write that may still run
    Touch(home.Path("profile.Json.backup"), std::chrono::minutes(60));      // a user's file: kept
    Touch(home.Path("other.Json.tmp-a1B2c3"), std::chrono::minutes(60));    // another file's: kept

    ASSERT_EQ(platform::ReplaceFile(target, "{}\n"), 0);

    EXPECT_EQ(ReadAll(target), "{}\n");
    EXPECT_FALSE(fs::exists(home.Path("profile.Json.tmp-a1B2c3")));
    EXPECT_TRUE(fs::exists(home.Path("profile.Json.tmp-d4E5f6")));
    EXPECT_TRUE(fs::exists(home.Path("profile.Json.backup")));
    EXPECT_TRUE(fs::exists(home.Path("other.Json.tmp-a1B2c3")));
}

}  // namespace
