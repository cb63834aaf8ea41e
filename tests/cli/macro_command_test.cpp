#include "cli/macro_command.h"
#include "cli/mouse_command.h"
#include "devices/mouse/mouse_profiledata.h"
#include "macro/macro_list.h"
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

struct Output {
    int code = 0;
    std::string out;
    std::string err;
};

template <class Command>
Output Invoke(std::vector<std::string> args) {
    std::ostringstream out, err;
    Output result;
    result.code = Command().Run(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

// "norvikctl macro" on the process bus with a fresh data folder.
class MacroCommand : public ::testing::Test {
protected:
    void SetUp() override { platform::hid::SetProcessBackend(bus); }
    void TearDown() override { platform::hid::SetProcessBackend(nullptr); }

    std::string Folder() const { return CDataFolders::UserDataFolder("mouse3389"); }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
};

TEST_F(MacroCommand, EachOperationPrintsTheResultingListAsJson) {
    const std::string source = home.Path("jump.mac");
    std::ofstream(source) << R"({"Events": [{"Action": "down", "Button": 44, "Type": 10, "Delay": "30"},)"
                          << R"( {"Action": "up", "Button": 44, "Type": 10, "Delay": "0"}], "Version": 64})";
    const std::string junk = home.Path("junk.mac");
    std::ofstream(junk) << "not a macro";
    const std::string exported = home.Path("out.mac");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::vector<std::pair<std::string, int>> list;  // names and event counts; empty: none printed
    };
    const std::vector<Case> cases = {
        {{"list"}, kExitOk, {}},
        {{"add", "Jump"}, kExitOk, {{"Jump", 0}}},
        {{"import", source}, kExitOk, {{"Jump", 0}, {"macro_1", 2}}},
        {{"import", junk}, kExitFailure, {{"Jump", 0}, {"macro_1", 2}}},
        {{"rename", "1", "Dash é"}, kExitOk, {{"Jump", 0}, {"Dash é", 2}}},
        {{"export", "1", exported}, kExitOk, {{"Jump", 0}, {"Dash é", 2}}},
        {{"export", "0", exported}, kExitFailure, {{"Jump", 0}, {"Dash é", 2}}},  // never saved
        {{"delete", "0"}, kExitOk, {{"Dash é", 2}}},
        {{"delete", "5"}, kExitUsage, {}},
        {{"rename", "0"}, kExitUsage, {}},
        {{"shuffle"}, kExitUsage, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--device", "mouse3389", "--json"});
        SCOPED_TRACE(args[0] + " " + (args.size() > 3 ? args[1] : ""));
        const Output output = Invoke<CMacroCommand>(args);
        EXPECT_EQ(output.code, c.code) << output.err;
        EXPECT_EQ(output.err.empty(), c.code == kExitOk) << output.err;
        if (c.code == kExitUsage) {
            EXPECT_EQ(output.out, "");
            continue;
        }
        const Json::Value list = ParseJson(output.out);
        ASSERT_EQ(list.size(), c.list.size());
        const auto stored = CMacroList(Folder()).Entries();
        for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i]["index"].asInt(), static_cast<int>(i));
            EXPECT_EQ(list[i]["name"].asString(), c.list[i].first);
            EXPECT_NE(output.out.find('"' + c.list[i].first + '"'), std::string::npos)
                << "names print as UTF-8";
            EXPECT_EQ(list[i]["guid"].asString(), stored[i].guid);
            EXPECT_EQ(list[i]["events"].asInt(), c.list[i].second);
        }
    }
    const Json::Value events =
        ParseJson(Invoke<CMacroCommand>({"show", "0", "--device", "mouse3389", "--json"}).out);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["Button"].asInt(), 44);
    EXPECT_EQ(events[0]["Delay"].asString(), "30");
    std::ifstream in(exported, std::ios::binary);
    const std::string copy((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(copy.find("\"Button\": 44"), std::string::npos) << "the export is the file the import copied";
}

// A list file that is not a list is kept aside, and said so, by the first run that reads it, as
// the macro page does; the run goes on with a new list.
TEST_F(MacroCommand, ADamagedListIsKeptAsideAndANewOneStarts) {
    std::filesystem::create_directories(Folder());
    const std::string junk(1000, '\x7f');
    std::ofstream(Folder() + "macro.config", std::ios::binary) << junk;

    const Output added = Invoke<CMacroCommand>({"add", "Jump", "--device", "mouse3389"});
    EXPECT_EQ(added.code, kExitOk) << added.err;
    const std::string kept = "kept as " + Folder() + "macro.config.damaged-";
    const size_t at = added.err.find(kept);
    ASSERT_NE(at, std::string::npos) << added.err;
    const std::string moved = added.err.substr(at + 8, added.err.find(';', at) - at - 8);
    std::ifstream in(moved, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), junk);
    EXPECT_EQ(CMacroList(Folder()).Names(), std::vector<std::string>{"Jump"});
    EXPECT_EQ(Invoke<CMacroCommand>({"list", "--device", "mouse3389"}).err, "") << "told once";
}

// Deleting a macro through the connected mouse's folder renumbers the active profile's buttons,
// and write-macros reports the bytes the list takes and leaves free.
TEST_F(MacroCommand, DeleteRenumbersTheProfileAndWriteMacrosReportsTheBytes) {
    auto mouse = std::make_shared<CSimulatedMouse>(MouseModel3389());
    bus->Plug("mouse3389", mouse);
    for (const char* name : {"One", "Two", "Three"}) {
        ASSERT_EQ(Invoke<CMacroCommand>({"add", name}).code, kExitOk);
    }
    ASSERT_EQ(CMacroList(Folder()).Save(2, {MacroEvent{"down", 4, 10, "5"}}), 0);
    CProfileList profiles(2, Folder(), CDataFolders::DefaultProfileFile("mouse3389"));
    profiles.Load();
    CMouseProfiledata profile;
    profile.OpenActiveProfile(profiles.CurrentProfilePath(), Folder() + "quorl_light.config",
                              CDataFolders::DefaultProfileFile("mouse3389"));
    std::vector<KeyAssignment> keys = profile.GetKeyList();
    ASSERT_GE(keys.size(), 2u);
    keys[0].code1 = 0x70;
    keys[0].code2 = 1;
    keys[1].code1 = 0x70;
    keys[1].code2 = 2;
    profile.SetKeyList(keys);
    ASSERT_EQ(profile.Save(), 0);

    ASSERT_EQ(Invoke<CMacroCommand>({"delete", "1"}).code, kExitOk);
    CMouseProfiledata reread;
    reread.OpenActiveProfile(profiles.CurrentProfilePath(), Folder() + "quorl_light.config",
                             CDataFolders::DefaultProfileFile("mouse3389"));
    keys = reread.GetKeyList();
    EXPECT_EQ(keys[0].code1, keys[0].defaultCode1);
    EXPECT_EQ(keys[1].code1, 0x70);
    EXPECT_EQ(keys[1].code2, 1);

    const Output written = Invoke<CMouseCommand>({"write-macros"});
    EXPECT_EQ(written.code, kExitOk) << written.err;
    EXPECT_NE(written.out.find("32 bytes used, 2016 of 2048 free"), std::string::npos) << written.out;
}

}  // namespace
