#include "cli/profile_command.h"
#include "platform/hid/hid_backend.h"
#include "profile/data_folders.h"
#include "profile/json_document.h"
#include "profile/profile_list.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"
#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Output {
    int code = 0;
    std::string out;
    std::string err;
};

Output Profile(std::vector<std::string> args) {
    std::ostringstream out, err;
    Output result;
    result.code = CProfileCommand().Run(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

// "norvikctl profile" on the process bus with a fresh data folder.
class ProfileCommand : public ::testing::Test {
protected:
    void SetUp() override { platform::hid::SetProcessBackend(bus); }
    void TearDown() override { platform::hid::SetProcessBackend(nullptr); }

    std::string Folder() const { return CDataFolders::UserDataFolder("mouse3389"); }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
};

TEST_F(ProfileCommand, EachOperationPrintsTheResultingListAsJson) {
    const std::string exported = home.Path("game.json");
    const std::string broken = home.Path("broken.json");
    std::ofstream(broken) << "{\"profilename\": \"x\"";
    struct SCase {
        std::vector<std::string> args;
        int code;
        std::vector<std::string> names;  // the printed list; empty when none is printed
        int selected;
    };
    const std::vector<SCase> cases = {
        {{"list"}, kExitOk, {"profile1"}, 0},
        {{"add"}, kExitOk, {"profile1", "profile2"}, 1},
        {{"copy"}, kExitOk, {"profile1", "profile2", "profile2 copy"}, 1},
        {{"rename", "Game"}, kExitOk, {"profile1", "Game", "profile2 copy"}, 1},
        {{"rename", "PROFILE1"}, kExitFailure, {"profile1", "Game", "profile2 copy"}, 1},
        {{"export", exported}, kExitOk, {"profile1", "Game", "profile2 copy"}, 1},
        {{"import", exported}, kExitOk, {"profile1", "Game", "profile2 copy", "Game(1)"}, 1},
        {{"import", broken}, kExitFailure, {"profile1", "Game", "profile2 copy", "Game(1)"}, 1},
        {{"select", "0"}, kExitOk, {"profile1", "Game", "profile2 copy", "Game(1)"}, 0},
        {{"delete"}, kExitOk, {"Game", "profile2 copy", "Game(1)"}, 0},
        {{"reset"}, kExitOk, {"Game", "profile2 copy", "Game(1)"}, 0},
        {{"select", "3"}, kExitUsage, {}, 0},
        {{"rename"}, kExitUsage, {}, 0},
        {{"shuffle"}, kExitUsage, {}, 0},
    };
    for (const SCase& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--device", "mouse3389", "--json"});
        SCOPED_TRACE(args[0]);
        const Output output = Profile(args);
        EXPECT_EQ(output.code, c.code) << output.err;
        EXPECT_EQ(output.err.empty(), c.code == kExitOk && args[0] != "select") << output.err;
        if (c.names.empty()) {
            EXPECT_EQ(output.out, "");
            continue;
        }
        const Json::Value list = ParseJson(output.out);
        ASSERT_EQ(list.size(), c.names.size());
        CProfileList stored(2, Folder(), CDataFolders::DefaultProfileFile("mouse3389"));
        stored.Load();
        for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i]["index"].asInt(), static_cast<int>(i));
            EXPECT_EQ(list[i]["name"].asString(), c.names[i]);
            EXPECT_EQ(list[i]["uuid"].asString(), stored.Entries()[i].uuid);
            EXPECT_EQ(list[i]["selected"].asBool(), static_cast<int>(i) == c.selected);
        }
    }
}

TEST_F(ProfileCommand, SelectWritesTheProfileToTheConnectedMouse) {
    auto mouse = std::make_shared<CSimulatedMouse>(MouseModel3389());
    bus->Plug("mouse3389", mouse);
    ASSERT_EQ(Profile({"add"}).code, kExitOk) << "without --device the connected mouse is meant";
    CProfileList list(2, Folder(), CDataFolders::DefaultProfileFile("mouse3389"));
    list.Load();
    CJsonDocument document;
    Json::Value profile = document.ReadJsonValue(list.ProfilePath(1));
    profile["Device"][0]["DPIStages"]["StageDPIs"][1]["StageDPIX"] = 77;
    document.wirtejsonFile(list.ProfilePath(1), profile);

    const Output output = Profile({"select", "1"});

    ASSERT_EQ(output.code, kExitOk) << output.err;
    EXPECT_EQ(mouse->Memory()[16], 77);
    EXPECT_NE(output.out.find("* 1  profile2"), std::string::npos) << output.out;
}

TEST_F(ProfileCommand, ADamagedListIsKeptAsideAndNamed) {
    fs::create_directories(Folder());
    std::ofstream(Folder() + "ProfileList.ini") << "{\"profilelist\": [";
    const Output output = Profile({"list", "--device", "mouse3389"});
    EXPECT_EQ(output.code, kExitOk);
    const size_t at = output.err.find(Folder() + "ProfileList.ini.damaged-");
    ASSERT_NE(at, std::string::npos) << output.err;
    const std::string kept = output.err.substr(at, output.err.find(';', at) - at);
    std::ifstream in(kept);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "{\"profilelist\": [");
}

TEST_F(ProfileCommand, WithoutADeviceOrAKnownNameNothingIsTouched) {
    EXPECT_EQ(Profile({"list"}).code, kExitNoDevice);
    EXPECT_EQ(Profile({"list", "--device", "toaster"}).code, kExitUsage);
    EXPECT_EQ(Profile({"list", "--device"}).code, kExitUsage);
    EXPECT_FALSE(fs::exists(Folder() + "ProfileList.ini"));
}

}  // namespace

namespace {

TEST_F(ProfileCommand, AddStopsAtFiftyProfilesWithAReasonWhileCopyGoesOn) {
    CProfileList list(2, Folder(), CDataFolders::DefaultProfileFile("mouse3389"));
    list.Load();
    while (list.Count() < CProfileList::kMaxAddedProfiles) {
        list.Add();
    }
    const Output add = Profile({"add", "--device", "mouse3389"});
    EXPECT_EQ(add.code, kExitFailure);
    EXPECT_NE(add.err.find("at most 50 profiles"), std::string::npos) << add.err;
    EXPECT_EQ(Profile({"copy", "--device", "mouse3389"}).code, kExitOk);
    list.Load();
    EXPECT_EQ(list.Count(), CProfileList::kMaxAddedProfiles + 1);
}

}  // namespace
