#include "net/update_time_record.h"

#include "platform/json_file.h"

#include "profile/json_document.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(UpdateTimeRecordTest, DateHasNoLeadingZeros) {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    EXPECT_EQ(CUpdateTimeRecord::DateText(local), "2026-3-5");
}

TEST(UpdateTimeRecordTest, MissingOrDamagedRecordIsCreatedWithToday) {
    for (const std::string content :
         {"", "not json", R"({"updatelasttime": 5})", R"({"updatelasttime": {"value": 7}})"}) {
        CTempDataHome home;
        if (!content.empty()) {
            std::ofstream(CUpdateTimeRecord::FilePath()) << content;
        }

        EXPECT_EQ(CUpdateTimeRecord::ReadLastCheckDate(), CUpdateTimeRecord::Today()) << content;

        Json::Value expected;
        expected["updatelasttime"]["value"] = CUpdateTimeRecord::Today();
        EXPECT_EQ(ReadFile(CUpdateTimeRecord::FilePath()), CJsonFile::StyledText(expected)) << content;
    }
}

TEST(UpdateTimeRecordTest, WriteKeepsTheRestOfTheDocument) {
    CTempDataHome home;
    std::ofstream(CUpdateTimeRecord::FilePath())
        << R"({"other": 1, "updatelasttime": {"value": "2020-1-1"}})";
    EXPECT_EQ(CUpdateTimeRecord::ReadLastCheckDate(), "2020-1-1");

    EXPECT_EQ(CUpdateTimeRecord::WriteLastCheckDate("2026-12-10"), 0);

    const Json::Value document = CJsonDocument().ReadJsonValue(CUpdateTimeRecord::FilePath());
    EXPECT_EQ(document["other"].asInt(), 1);
    EXPECT_EQ(CUpdateTimeRecord::ReadLastCheckDate(), "2026-12-10");
    EXPECT_EQ(CUpdateTimeRecord::FilePath(),
              home.Path("data") + "/Norvik 400100 Gaming Mouse/updatetime.config");
}

}  // namespace
