#include "cli/update_command.h"

#include "net/update_time_record.h"
#include "tests/net/environment_guard.h"
#include "tests/net/local_http_server.h"
#include "tests/net/refused_port.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

class UpdateCommandTest : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return CUpdateCommand().Run(args, out_, err_);
    }

    CEnvironmentGuard environment_{CEnvironmentGuard::NetworkVariables()};
    CTempDataHome home_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(UpdateCommandTest, ChecksTheProgramAndTheNamedDevices) {
    CLocalHttpServer server([](const CLocalHttpServer::Request& request) {
        const bool mouse = request.body.find("_NV4001M_") != std::string::npos;
        return CLocalHttpServer::Response(
            200, mouse ? R"({"path": "http://files.example/m.bin", "version": "0104"})"
                       : R"({"path": "p", "version": "1"})");
    });
    setenv("NORVIK_UPDATE_URL", server.Url("/api/").c_str(), 1);

    EXPECT_EQ(Run({"check", "mouse=0103"}), kExitOk) << err_.str();

    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0].body,
              std::string("app_key=QUORL_1_NV4001M_Norvik 400100 Gaming Mouse_0&version=103") + '\0');
    const std::string text = out_.str();
    EXPECT_NE(text.find("key: QUORL_1_NV4001M_Norvik 400100 Gaming Mouse_0\n  local: V0103\n  server: V0104\n"
                        "  result: newer version available: http://files.example/m.bin\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("key: QUORL_0_ALL_Norvik 400100 Gaming Mouse_0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("result: up to date\n"), std::string::npos) << text;
    EXPECT_TRUE(std::filesystem::exists(CUpdateTimeRecord::FilePath()));
}

TEST_F(UpdateCommandTest, ReportsAMissingOrUnreachableServiceAndBadArguments) {
    EXPECT_EQ(Run({"check"}), kExitFailure);
    EXPECT_NE(err_.str().find("no update service is configured"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(CUpdateTimeRecord::FilePath()));

    CRefusedPort refused;
    setenv("NORVIK_UPDATE_URL", refused.Url("/api/").c_str(), 1);
    EXPECT_EQ(Run({"check"}), kExitFailure);
    EXPECT_NE(out_.str().find("result: service unreachable"), std::string::npos);
    EXPECT_NE(err_.str().find("could not be reached"), std::string::npos);

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"fetch"},
                                               {"check", "mouse"},
                                               {"check", "toaster=0103"},
                                               {"check", "mouse=0"},
                                               {"check", "mouse=xyz"}}) {
        EXPECT_EQ(Run(args), kExitUsage);
    }
}

}  // namespace
