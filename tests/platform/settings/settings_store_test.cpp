#include "platform/settings/settings_store.h"

#include "platform/json_file.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    CTempDataHome home_;
    CSettingsStore store_;  // constructed after home_, so it names the temporary folder
};

TEST_F(SettingsStoreTest, MissingKeyIsOpenedNotCreated) {
    EXPECT_FALSE(store_.KeyExists(kProductSettingsKey));
    EXPECT_EQ(std::nullopt, store_.QueryValue(kProductSettingsKey, kLanguageValueName));
    EXPECT_FALSE(store_.SetValue(kProductSettingsKey, kLanguageValueName, "3"));
    EXPECT_FALSE(std::filesystem::exists(store_.File()));
}

TEST_F(SettingsStoreTest, ValueWrittenIntoACreatedKeyReadsBackWithoutRegardToCase) {
    EXPECT_EQ(home_.Path("config") + "/Norvik 400100 Gaming Mouse/settings.json", store_.File());
    ASSERT_TRUE(store_.CreateKey(kProductSettingsKey));
    EXPECT_EQ(std::nullopt, store_.QueryValue(kProductSettingsKey, kLanguageValueName));
    ASSERT_TRUE(store_.SetValue(kProductSettingsKey, kLanguageValueName, "3"));
    EXPECT_EQ("3", store_.QueryValue("software\\norvik 400100 gaming mouse", "language"));

    // A rewrite in another spelling keeps the stored names, as the registry does.
    ASSERT_TRUE(store_.SetValue("SOFTWARE\\NORVIK 400100 GAMING MOUSE", "Language", "5"));
    const Json::Value root = CJsonFile::Read(store_.File());
    EXPECT_EQ(1u, root.size());
    EXPECT_EQ("5", root[kProductSettingsKey][kLanguageValueName].asString());
    EXPECT_TRUE(store_.CreateKey("software\\Norvik 400100 Gaming Mouse"));
    EXPECT_EQ("5", store_.QueryValue(kProductSettingsKey, kLanguageValueName));
}

TEST_F(SettingsStoreTest, DamagedFilesReadAsEmptyAndNeverThrow) {
    std::filesystem::create_directories(std::filesystem::path(store_.File()).parent_path());
    const char* documents[] = {
        "not json at all",
        "[1, 2, 3]",
        R"({"SOFTWARE\\Norvik 400100 Gaming Mouse": 7})",
        R"({"SOFTWARE\\Norvik 400100 Gaming Mouse": {"LANGUAGE": 3}})",
        R"({"SOFTWARE\\Norvik 400100 Gaming Mouse": {"LANGUAGE": ["3"]}})",
    };
    for (const char* text : documents) {
        SCOPED_TRACE(text);
        std::ofstream(store_.File(), std::ios::trunc) << text;
        EXPECT_EQ(std::nullopt, store_.QueryValue(kProductSettingsKey, kLanguageValueName));
    }
    // The last one has the key: a value of the wrong type is replaced by a proper one.
    EXPECT_TRUE(store_.SetValue(kProductSettingsKey, kLanguageValueName, "2"));
    EXPECT_EQ("2", store_.QueryValue(kProductSettingsKey, kLanguageValueName));
}

TEST_F(SettingsStoreTest, UnwritableFileReportsFailureAndKeepsTheOldValue) {
    ASSERT_TRUE(store_.CreateKey(kProductSettingsKey));
    ASSERT_TRUE(store_.SetValue(kProductSettingsKey, kLanguageValueName, "1"));
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root: file permissions do not hold";
    }
    const auto folder = std::filesystem::path(store_.File()).parent_path();
    std::filesystem::permissions(folder,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(store_.SetValue(kProductSettingsKey, kLanguageValueName, "2"));
    EXPECT_EQ("1", store_.QueryValue(kProductSettingsKey, kLanguageValueName));
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
}

}  // namespace
