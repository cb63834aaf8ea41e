#include "profile/json_document.h"

#include "platform/json_file.h"

#include "profile/data_folders.h"
#include "profile/json_access.h"
#include "tests/support/debug_capture.h"
#include "tests/support/temp_data_home.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <json/writer.h>
#pragma GCC diagnostic pop

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

Json::Value SampleProfile() {
    Json::Value root;
    root["profilename"] = "Ünïcode 配置 name";
    root["profileUUID"] = "2018_01_08_09_05_07_042";
    Json::Value section;
    section["LightInfo"]["SelectItem"] = 3;
    section["LightInfo"]["Red"] = 255;
    section["KeyList"][0]["Assignment"] = (2 << 16) + (1 << 8) + 2;
    section["KeyList"][1]["Assignment"] = 0;
    root["Device"][0] = section;
    return root;
}

class JsonDocumentTest : public ::testing::Test {
protected:
    CTempDataHome home;
    CJsonDocument document;
};

TEST_F(JsonDocumentTest, WritesExactlyTheStyledWriterTextAndOneNewline) {
    const std::string path = home.Path("profile.Json");
    ASSERT_EQ(document.wirtejsonFile(path, SampleProfile()), 0);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    Json::StyledWriter writer;
    EXPECT_EQ(ReadBytes(path), CJsonFile::UnescapeNonAscii(writer.write(SampleProfile())) + "\n");
#pragma GCC diagnostic pop
    // Names are UTF-8 text in the file, as the files have always held them, not \u escapes.
    EXPECT_NE(ReadBytes(path).find("\"profilename\" : \"Ünïcode 配置 name\""), std::string::npos);
    EXPECT_EQ(ReadBytes(path).find("\\u"), std::string::npos);
}

TEST(JsonTextTest, OnlyEscapesOfNonAsciiCharactersBecomeUtf8) {
    struct Case {
        const char* escaped;
        const char* text;
    };
    const Case cases[] = {
        {R"("\u00e9\u914d")", "\"é配\""},
        {R"("\ud83d\ude00")", "\"😀\""},
        {R"("\\u00e9")", R"("\\u00e9")"},                    // an escaped backslash, then plain text
        {R"("\u001f\n\"")", R"("\u001f\n\"")"},              // ASCII escapes stay
        {R"("\ud83d" "\ude00x")", R"("\ud83d" "\ude00x")"},  // unpaired surrogates stay
        {R"("\u00e")", R"("\u00e")"},
        {R"("\u00zz")", R"("\u00zz")"},
        {"\\\\", "\\\\"},
        {"\\", "\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CJsonFile::UnescapeNonAscii(c.escaped), c.text) << c.escaped;
    }
}

TEST_F(JsonDocumentTest, NonAsciiTextSurvivesARoundTrip) {
    const std::string path = home.Path("profile.Json");
    document.wirtejsonFile(path, SampleProfile());
    EXPECT_EQ(document.ReadJsonValue(path), SampleProfile());
    WriteBytes(path, "{ \"profilename\" : \"Ünïcode 配置 name\" }\n");
    EXPECT_EQ(document.ReadJsonValue(path)["profilename"].asString(), "Ünïcode 配置 name");
}

TEST_F(JsonDocumentTest, UnreadableFilesReadAsNull) {
    const std::string empty = home.Path("empty.Json");
    const std::string broken = home.Path("broken.Json");
    const std::string deep = home.Path("deep.Json");
    WriteBytes(empty, "");
    WriteBytes(broken, "{\"profilename\": ");
    WriteBytes(deep, std::string(100000, '['));
    const std::string huge = home.Path("huge.Json");
    WriteBytes(huge, "{\"a\": \"" + std::string(CJsonDocument::kMaxFileBytes, 'x') + "\"}");
    // A folder opens like a file and reports a huge length; reading it must not allocate that.
    for (const auto& path : {home.Path("missing.Json"), empty, broken, deep, huge, home.Path("data")}) {
        EXPECT_TRUE(document.ReadJsonValue(path).isNull()) << path;
    }
}

TEST_F(JsonDocumentTest, ReadsCommentsAndLogsTheOpenResult) {
    const std::string path = home.Path("commented.Json");
    WriteBytes(path, "// shipped defaults\n{ \"a\": 1 /* one */ }\n");
    CDebugCapture capture;
    EXPECT_EQ(document.ReadJsonValue(path)["a"].asInt(), 1);
    EXPECT_TRUE(document.readjsonFile(home.Path("missing.Json")).empty());
    EXPECT_EQ(capture.Text().find("readjsonFile 错误吗：：0\n"), 0u);
    EXPECT_NE(capture.Text().find("readjsonFile 错误吗：：2\n"), std::string::npos);
}

TEST_F(JsonDocumentTest, ReadOnlyFileKeepsItsContentAndTheWriteReportsFailure) {
    const std::string path = home.Path("locked.Json");
    WriteBytes(path, "{ \"old\" : true }\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(document.wirtejsonFile(path, SampleProfile()), 1);
    EXPECT_EQ(ReadBytes(path), "{ \"old\" : true }\n");
}

TEST_F(JsonDocumentTest, WriteIntoAMissingFolderFailsWithoutCreatingIt) {
    EXPECT_EQ(document.wirtejsonFile(home.Path("no/such/folder/x.Json"), SampleProfile()), 1);
    EXPECT_FALSE(std::filesystem::exists(home.Path("no")));
}

TEST_F(JsonDocumentTest, AKilledWriterNeverLeavesADocumentThatDoesNotParse) {
    const std::string path = home.Path("profile.Json");
    Json::Value big = SampleProfile();
    for (int i = 0; i < 20000; ++i) {
        big["Device"][0]["KeyList"][i]["Assignment"] = i;
    }
    ASSERT_EQ(document.wirtejsonFile(path, big), 0);
    for (int round = 0; round < 20; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                document.wirtejsonFile(path, big);
            }
        }
        usleep(static_cast<useconds_t>(2000 + round * 1500));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        ASSERT_EQ(document.ReadJsonValue(path), big) << "round " << round;
    }
}

TEST(TimeStampTest, HasTheProfileUuidShapeAndNeverRepeats) {
    CJsonDocument document;
    const std::regex shape(R"(\d{4}_\d{2}_\d{2}_\d{2}_\d{2}_\d{2}_\d{3})");
    std::set<std::string> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::string stamp = document.TimeStamp();
        ASSERT_TRUE(std::regex_match(stamp, shape)) << stamp;
        ASSERT_TRUE(seen.insert(stamp).second) << "repeated " << stamp;
    }
}

TEST(JsonAccessTest, MembersOfTheWrongTypeReadAsAbsent) {
    Json::Value v;
    v["int"] = 7;
    v["big"] = Json::UInt64(0x1'0000'0102ULL);
    v["real"] = 2.9;
    v["bool"] = true;
    v["text"] = "12";
    v["list"][0] = 1;
    EXPECT_EQ(CJsonAccess::Int(CJsonAccess::Member(v, "int")), 7);
    EXPECT_EQ(CJsonAccess::Int(CJsonAccess::Member(v, "big")), 0x102);
    EXPECT_EQ(CJsonAccess::Int(CJsonAccess::Member(v, "real")), 2);
    EXPECT_EQ(CJsonAccess::Int(CJsonAccess::Member(v, "bool")), 1);
    EXPECT_EQ(CJsonAccess::Int(CJsonAccess::Member(v, "text"), -1), -1);
    EXPECT_EQ(CJsonAccess::Int(CJsonAccess::Member(v, "list"), -1), -1);
    EXPECT_TRUE(CJsonAccess::Bool(CJsonAccess::Member(v, "int")));
    EXPECT_FALSE(CJsonAccess::Bool(CJsonAccess::Member(v, "text")));
    EXPECT_EQ(CJsonAccess::String(CJsonAccess::Member(v, "int"), "none"), "none");
    EXPECT_TRUE(CJsonAccess::Member(v["list"], "x").isNull());
    EXPECT_TRUE(CJsonAccess::Element(v["int"], 0).isNull());
    EXPECT_TRUE(CJsonAccess::Element(v["list"], 5).isNull());
    EXPECT_EQ(CJsonAccess::Size(v["text"]), 0u);

    Json::Value damaged(Json::arrayValue);
    CJsonAccess::MemberRef(damaged, "Device") = 1;
    EXPECT_EQ(damaged["Device"].asInt(), 1);
}

TEST(DataFoldersTest, FoldersAreCreatedUnderTheDataHome) {
    CTempDataHome home;
    const std::string folder = CDataFolders::UserDataFolder("mouse3389");
    EXPECT_EQ(folder, home.Path("data/Norvik 400100 Gaming Mouse/mouse3389/"));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(CDataFolders::DefaultProfileFile("mouse").substr(CDataFolders::DefaultDataFolder().size()),
              "mouse.Json");
}

TEST(DataFoldersTest, NamesFromFilesThatWouldLeaveTheirFolderAreRefused) {
    for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b", "x\n"}) {
        EXPECT_FALSE(CDataFolders::IsSafeFileName(bad)) << bad;
    }
    for (const char* good : {"2018_01_08_09_05_07_042", "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}", "a..b"}) {
        EXPECT_TRUE(CDataFolders::IsSafeFileName(good)) << good;
    }
}

}  // namespace
