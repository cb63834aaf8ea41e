#include "net/firmware_list.h"
#include "net/update_answer.h"
#include "net/update_round.h"
#include "net/update_service.h"

#include "net/http_client.h"
#include "platform/paths.h"
#include "tests/net/environment_guard.h"
#include "tests/net/local_http_server.h"
#include "tests/net/refused_port.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace {

// Device firmware versions by page, as the main window would give them.
class CFixedVersions : public IFirmwareVersionSource {
public:
    CFixedVersions() = default;
    CFixedVersions(std::initializer_list<std::pair<const size_t, int>> versions) : versions_(versions) {}
    int FirmwareVersion(size_t page) const override {
        const auto found = versions_.find(page);
        return found != versions_.end() ? found->second : 0;
    }

private:
    std::map<size_t, int> versions_;
};

std::string Answer(const std::string& version) {
    return R"({"device_id": 12, "path": "http://files.example/fw.bin", "name": "fw", "version_name": "new",)"
           R"( "version": ")" +
           version + "\"}";
}

// Answers each request with the reply registered for the model in its application key.
class CCatalogueServer {
public:
    CCatalogueServer()
        : server_([this](const CLocalHttpServer::Request& request) {
              for (const auto& [model, reply] : replies_) {
                  if (request.body.find("_" + model + "_") != std::string::npos) {
                      return reply;
                  }
              }
              return CLocalHttpServer::Response(200, "");
          }) {}

    void Answer(const std::string& model, CLocalHttpServer::Reply reply) {
        replies_[model] = std::move(reply);
    }
    CUpdateService Service() const { return CUpdateService(server_.Url("/api/")); }
    const CLocalHttpServer& Server() const { return server_; }

private:
    std::map<std::string, CLocalHttpServer::Reply> replies_;
    CLocalHttpServer server_;
};

class UpdateCheckTest : public ::testing::Test {
protected:
    CEnvironmentGuard environment_{CEnvironmentGuard::NetworkVariables()};
    CTempDataHome home_;
    CCatalogueServer service_;
};

TEST(FirmwareListTest, ApplicationKeysAndProgramVersion) {
    CFirmwareList list;
    EXPECT_EQ(CFirmwareList::ApplicationKey(list.Rows()[0]), "NULL");

    list.Refresh(CFixedVersions({{0, 0x0103}}), 103);
    EXPECT_EQ(CFirmwareList::ApplicationKey(list.Rows()[0]), "QUORL_1_NV4001M_Norvik 400100 Gaming Mouse_0");
    EXPECT_EQ(CFirmwareList::ApplicationKey(list.Rows()[1]), "NULL");
    EXPECT_EQ(CFirmwareList::ApplicationKey(list.Rows()[5]), "QUORL_0_ALL_Norvik 400100 Gaming Mouse_0");

    EXPECT_EQ(CFirmwareList::VersionNumber("1.0.3"), 103);
    EXPECT_EQ(CFirmwareList::VersionNumber("2.10"), 210);
    EXPECT_EQ(CFirmwareList::VersionNumber("1.x"), 0);
    EXPECT_EQ(CFirmwareList::ProgramVersion(),
              CFirmwareList::VersionNumber(CFirmwareList::ProgramVersionText()));
    EXPECT_GT(CFirmwareList::ProgramVersion(), 0);
}

TEST(FirmwareCatalogueTest, RowsFollowTheDeviceBarAndEndWithTheProgram) {
    const auto& rows = CFirmwareCatalogue::Rows();
    std::set<std::string> keys;
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].vendor, "QUORL");
        EXPECT_EQ(rows[i].version, 0);
        EXPECT_EQ(rows[i].kind == 0, i == CFirmwareCatalogue::kProgramRow) << i;
        EXPECT_TRUE(rows[i].sub == 0 || rows[i].sub == 1);
        FirmwareRow known = rows[i];
        known.version = 1;
        EXPECT_TRUE(keys.insert(CFirmwareList::ApplicationKey(known)).second) << "duplicate key in row " << i;
    }
    EXPECT_EQ(rows[CFirmwareCatalogue::kProgramRow].model, "ALL");
}

TEST_F(UpdateCheckTest, CheckPostsTheFormWithItsTerminatingZero) {
    service_.Answer("ALL", CLocalHttpServer::Response(200, Answer("103")));

    service_.Service().CheckOneRow("QUORL_0_ALL_Norvik 400100 Gaming Mouse_0", 103, false);

    const auto request = service_.Server().Requests().at(0);
    EXPECT_EQ(request.requestLine, "POST /api/updates HTTP/1.1");
    const std::string body("app_key=QUORL_0_ALL_Norvik 400100 Gaming Mouse_0&version=103\0", 61);
    EXPECT_EQ(request.body, body);
    EXPECT_NE(std::find(request.headers.begin(), request.headers.end(), "Content-Length:61"),
              request.headers.end());
    EXPECT_NE(
        std::find(request.headers.begin(), request.headers.end(), "Accept:application/prs.Quorl.v1+json"),
        request.headers.end());
}

TEST_F(UpdateCheckTest, FirmwareRowsSpeakHexadecimalAndTheProgramRowDecimal) {
    const struct {
        int version;
        bool hex;
        std::string server;
        std::string sent;
        std::string shown;
        int status;
    } cases[] = {
        {0x0103, true, "0104", "&version=103", "V0103", CheckResult::kStatusNewer},
        {0x0103, true, "0103", "&version=103", "V0103", CheckResult::kStatusUpToDate},
        {0x0103, true, "010a", "&version=103", "V0103", CheckResult::kStatusNewer},
        {0x00ff, true, "0x100", "&version=ff", "V00ff", CheckResult::kStatusNewer},
        {103, false, "99", "&version=103", "V103", CheckResult::kStatusUpToDate},
        {103, false, "104", "&version=103", "V103", CheckResult::kStatusNewer},
        {103, false, "1.0.4", "&version=103", "V103", CheckResult::kStatusUpToDate},
    };
    for (const auto& c : cases) {
        CCatalogueServer service;
        service.Answer("M", CLocalHttpServer::Response(200, Answer(c.server)));

        const CheckResult result = service.Service().CheckOneRow("V_1_M_N_0", c.version, c.hex);

        EXPECT_EQ(service.Server().Requests().at(0).body,
                  "app_key=V_1_M_N_0" + c.sent + std::string(1, '\0'));
        EXPECT_EQ(result.status, c.status) << c.server;
        EXPECT_EQ(result.localVersionText, c.shown);
        EXPECT_EQ(result.serverVersionText, "V" + c.server);
        EXPECT_EQ(result.path, "http://files.example/fw.bin");
        EXPECT_EQ(result.name, "fw");
        EXPECT_EQ(result.versionName, "new");
        EXPECT_EQ(result.deviceId, 12);
    }
}

TEST(UpdateAnswerTest, AnswersWithoutInformation) {
    const struct {
        std::string body;
        int status;
        std::string path;
    } cases[] = {
        {"", CheckResult::kStatusNone, ""},
        {"<html>busy</html>", CheckResult::kStatusNone, ""},
        {R"({"version": "0104"})", CheckResult::kStatusNewer, ""},
        {R"([1, 2])", CheckResult::kStatusUpToDate, ""},
        {R"({"path": 5, "version": 102, "device_id": "x"})", CheckResult::kStatusUpToDate, ""},
        {std::string(R"({"path": "p", "version": "0104"})") + '\0' + "trailing", CheckResult::kStatusNewer,
         "p"},
        {std::string(100000, '['), CheckResult::kStatusNone, ""},
    };
    for (const auto& c : cases) {
        const CheckResult result = CUpdateAnswer::Parse(c.body, 0x0103, true);
        EXPECT_EQ(result.status, c.status) << c.body.substr(0, 40);
        EXPECT_EQ(result.path, c.path) << c.body.substr(0, 40);
        EXPECT_EQ(result.localVersionText, "V0103");
    }
}

// A service may answer the version as a number; it reads as its digits would as text.
TEST(UpdateAnswerTest, AVersionGivenAsANumberIsReadLikeItsText) {
    const struct {
        const char* body;
        bool hex;
        int status;
        const char* shown;
    } cases[] = {
        {R"({"version": 104})", true, CheckResult::kStatusNewer, "V104"},
        {R"({"version": 103})", true, CheckResult::kStatusUpToDate, "V103"},
        {R"({"version": 104})", false, CheckResult::kStatusNewer, "V104"},
        {R"({"version": "104"})", false, CheckResult::kStatusNewer, "V104"},
        {R"({"version": 102})", false, CheckResult::kStatusUpToDate, "V102"},
        {R"({"version": 1.5})", false, CheckResult::kStatusUpToDate, "V"},
    };
    for (const auto& c : cases) {
        const CheckResult result = CUpdateAnswer::Parse(c.body, c.hex ? 0x0103 : 103, c.hex);
        EXPECT_EQ(result.status, c.status) << c.body << " hex " << c.hex;
        EXPECT_EQ(result.serverVersionText, c.shown) << c.body;
    }
}

TEST_F(UpdateCheckTest, UnreachableServiceGivesTheFailureMarkerAsPath) {
    CRefusedPort refused;

    const CheckResult result = CUpdateService(refused.Url("/api/")).CheckOneRow("K", 1, true);

    EXPECT_EQ(result.path, "NO_LINK_SERVER");
    EXPECT_EQ(result.status, CheckResult::kStatusNone);
}

TEST_F(UpdateCheckTest, AnswerFillingTheWholeBufferIsReadSafely) {
    std::string body = R"({"path": ")" + std::string(CUpdateService::kResponseCapacity, 'p') + "\"}";
    service_.Answer("M", CLocalHttpServer::Response(200, body));

    const CheckResult result = service_.Service().CheckOneRow("V_1_M_N_0", 1, true);

    EXPECT_EQ(result.path, "");
    EXPECT_EQ(result.status, CheckResult::kStatusNone);
}

TEST_F(UpdateCheckTest, NoDeviceConnectedChecksOnlyTheProgram) {
    CFirmwareList list;
    list.Refresh(CFixedVersions(), 103);
    service_.Answer("ALL", CLocalHttpServer::Response(200, Answer("103")));

    const RoundResult round = CUpdateRound::Run(list, service_.Service());

    EXPECT_EQ(round.verdict, RoundResult::Verdict::kNothingNew);
    ASSERT_EQ(service_.Server().Requests().size(), 1u);
    EXPECT_NE(service_.Server().Requests()[0].body.find("app_key=QUORL_0_ALL_"), std::string::npos);
}

TEST_F(UpdateCheckTest, EmptyAnswerSkipsToTheNextRow) {
    CFirmwareList list;
    list.Refresh(CFixedVersions({{0, 0x0103}, {4, 0x0200}}), 103);
    service_.Answer("NV4001M", CLocalHttpServer::Response(200, ""));
    service_.Answer("NV4001M3389", CLocalHttpServer::Response(200, Answer("0201")));

    const RoundResult round = CUpdateRound::Run(list, service_.Service());

    EXPECT_EQ(round.verdict, RoundResult::Verdict::kSomethingNew);
    ASSERT_EQ(round.checked.size(), 2u);
    EXPECT_EQ(round.checked[0].result.path, "");
    EXPECT_EQ(round.checked[1].row.model, "NV4001M3389");
    EXPECT_EQ(round.checked[1].result.localVersionText, "V0200");
    EXPECT_EQ(service_.Server().Requests().size(), 2u);
}

TEST_F(UpdateCheckTest, RoundEndsAtTheFirstNewerRowOrAtAnUnreachableService) {
    CFirmwareList list;
    list.Refresh(CFixedVersions({{0, 0x0103}, {1, 0x0001}}), 103);
    service_.Answer("NV4001M", CLocalHttpServer::Response(200, Answer("0104")));

    EXPECT_EQ(CUpdateRound::Run(list, service_.Service()).verdict, RoundResult::Verdict::kSomethingNew);
    EXPECT_EQ(service_.Server().Requests().size(), 1u);

    CRefusedPort refused;
    const RoundResult unreachable = CUpdateRound::Run(list, CUpdateService(refused.Url("/api/")));
    EXPECT_EQ(unreachable.verdict, RoundResult::Verdict::kUnreachable);
    EXPECT_EQ(unreachable.checked.size(), 1u);
}

TEST_F(UpdateCheckTest, NoServiceConfiguredAsksNothing) {
    CFirmwareList list;
    list.Refresh(CFixedVersions({{0, 0x0103}}), 103);

    const CUpdateService service = CUpdateService::FromUserSettings();
    EXPECT_FALSE(service.IsConfigured());
    EXPECT_FALSE(service.CheckOneRow("K", 1, true).serviceConfigured);
    EXPECT_EQ(CUpdateRound::Run(list, service).verdict, RoundResult::Verdict::kNoService);
    EXPECT_FALSE(CUpdateService("ftp://files.example/api/").IsConfigured());
    EXPECT_TRUE(service_.Server().Requests().empty());
}

TEST_F(UpdateCheckTest, AddressComesFromTheEnvironmentElseTheConfigurationFile) {
    const std::string file = CUpdateService::ConfigFilePath();
    EXPECT_EQ(file, platform::UserConfigFolder() + "Norvik 400100 Gaming Mouse/update.conf");
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream(file) << "# the update service\n\n  http://updates.example:8080/api  \n";

    EXPECT_EQ(CUpdateService::FromUserSettings().BaseAddress(), "http://updates.example:8080/api/");
    EXPECT_EQ(CUpdateService::FromUserSettings().UpdatesUrl(), "http://updates.example:8080/api/updates");

    setenv("NORVIK_UPDATE_URL", "https://other.example/api/", 1);
    EXPECT_EQ(CUpdateService::FromUserSettings().BaseAddress(), "https://other.example/api/");
}

}  // namespace
