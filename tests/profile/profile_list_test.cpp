#include "profile/profile_list.h"

#include "profile/data_folders.h"
#include "tests/support/profile_section.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace {

namespace fs = std::filesystem;

class ProfileListTest : public ::testing::Test {
protected:
    void SetUp() override {
        Json::Value defaults;
        defaults["Device"][0]["LightInfo"]["SelectItem"] = 4;
        defaults["Device"][0]["CustomEQNameInfo"] = Json::Value(Json::arrayValue);
        document.wirtejsonFile(defaultPath, defaults);
    }

    // Writes a list of profiles named as given, each with a profile file, selecting `select`.
    void WriteList(const std::vector<std::string>& names, int select = 0) {
        Json::Value list;
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string uuid = "2020_01_01_00_00_00_" + std::to_string(100 + i);
            Json::Value& entry = list["profilelist"][static_cast<Json::ArrayIndex>(i)];
            entry["profilename"] = names[i];
            entry["profileUUID"] = uuid;
            entry["profileislink"] = 0;
            entry["profilelinkmame"] = "";
            Json::Value profile;
            profile["profilename"] = names[i];
            profile["profileUUID"] = uuid;
            profile["Device"][0]["LightInfo"]["SelectItem"] = static_cast<int>(10 + i);
            document.wirtejsonFile(folder + uuid + ".Json", profile);
        }
        list["profileselect"] = select;
        document.wirtejsonFile(folder + "ProfileList.ini", list);
    }

    Json::Value StoredList() const { return document.ReadJsonValue(folder + "ProfileList.ini"); }
    std::vector<std::string> Names(const CProfileList& profiles) const {
        std::vector<std::string> names;
        for (const ProfileEntry& entry : profiles.Entries()) {
            names.push_back(entry.name);
        }
        return names;
    }
    CProfileList Loaded(int kind = 2) {
        CProfileList profiles(kind, folder, defaultPath);
        profiles.Load();
        return profiles;
    }

    CTempDataHome home;
    CJsonDocument document;
    const std::string folder = CDataFolders::UserDataFolder("mouse");
    const std::string defaultPath = home.Path("mouse.Json");
};

TEST_F(ProfileListTest, FirstStartCreatesTheListAndACopyOfTheDefaultProfile) {
    CProfileList profiles(2, folder, defaultPath);
    EXPECT_EQ(profiles.Load(), 1);

    const Json::Value list = StoredList();
    ASSERT_EQ(list["profilelist"].size(), 1u);
    const Json::Value& entry = list["profilelist"][0];
    EXPECT_EQ(entry["profilename"].asString(), "profile1");
    EXPECT_EQ(entry["profileislink"], Json::Value(0));
    EXPECT_EQ(entry["profilelinkmame"], Json::Value(""));
    EXPECT_EQ(list["profileselect"].asInt(), 0);

    const std::string uuid = entry["profileUUID"].asString();
    EXPECT_EQ(profiles.CurrentUuid(), uuid);
    EXPECT_EQ(profiles.SelectedIndex(), 0);
    EXPECT_EQ(profiles.CurrentProfilePath(), folder + uuid + ".Json");
    Json::Value expected = document.ReadJsonValue(defaultPath);
    expected["profilename"] = "profile1";
    expected["profileUUID"] = uuid;
    EXPECT_EQ(document.ReadJsonValue(profiles.CurrentProfilePath()), expected);
}

TEST_F(ProfileListTest, AnEmptyOrDamagedListIsRecreated) {
    for (const char* text :
         {"{\"profilelist\": [], \"profileselect\": 3}", "{\"profilelist\": 5}", "garbage"}) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::ofstream(folder + "ProfileList.ini") << text;
        CProfileList profiles = Loaded();
        EXPECT_EQ(Names(profiles), std::vector<std::string>{"profile1"}) << text;
        EXPECT_TRUE(fs::exists(profiles.CurrentProfilePath())) << text;
    }
}

TEST_F(ProfileListTest, AStoredSelectionIsOpenedAndOneOutsideTheListOpensTheFirst) {
    WriteList({"a", "b", "c"}, 2);
    EXPECT_EQ(Loaded().SelectedIndex(), 2);
    WriteList({"a", "b", "c"}, 7);
    CProfileList profiles = Loaded();
    EXPECT_EQ(profiles.SelectedIndex(), 0);
    EXPECT_EQ(StoredList()["profileselect"].asInt(), 0);
    EXPECT_EQ(profiles.Select(3), -1);
    EXPECT_EQ(profiles.Select(1), 1);
    EXPECT_EQ(profiles.CurrentUuid(), "2020_01_01_00_00_00_101");
    EXPECT_EQ(StoredList()["profileselect"].asInt(), 1);
}

// A switch to an entry whose UUID cannot name a file is refused: the selection, the current UUID
// and the stored selection stay with the profile whose file the next save writes.
TEST_F(ProfileListTest, ASwitchToAUuidThatIsNoSafeFileNameIsRefused) {
    WriteList({"a", "b"}, 1);
    Json::Value list = StoredList();
    for (const char* uuid : {"../../escape", "", "sub/dir", ".."}) {
        list["profilelist"][1]["profileUUID"] = uuid;
        list["profileselect"] = 0;
        document.wirtejsonFile(folder + "ProfileList.ini", list);
        CProfileList profiles = Loaded();
        ASSERT_EQ(profiles.SelectedIndex(), 0) << uuid;
        EXPECT_EQ(profiles.Select(1), -1) << uuid;
        EXPECT_EQ(profiles.SelectedIndex(), 0) << uuid;
        EXPECT_EQ(profiles.CurrentUuid(), "2020_01_01_00_00_00_100") << uuid;
        EXPECT_EQ(StoredList()["profileselect"].asInt(), 0) << uuid;
    }
}

TEST_F(ProfileListTest, AddTakesTheFirstFreeNameAndStoresItAsTheNextStartsProfile) {
    WriteList({"profile1", "PROFILE3"});
    CProfileList profiles = Loaded();
    EXPECT_EQ(profiles.Add(), 2);
    EXPECT_EQ(Names(profiles), (std::vector<std::string>{"profile1", "PROFILE3", "profile2"}));
    EXPECT_EQ(profiles.SelectedIndex(), 0) << "the device keeps its profile";
    EXPECT_EQ(StoredList()["profileselect"].asInt(), 2);
    Json::Value expected = document.ReadJsonValue(defaultPath);
    expected["profilename"] = "profile2";
    expected["profileUUID"] = profiles.Entries()[2].uuid;
    EXPECT_EQ(document.ReadJsonValue(profiles.ProfilePath(2)), expected);
    EXPECT_EQ(profiles.Add(), 3);
    EXPECT_EQ(profiles.Entries()[3].name, "profile4");
}

TEST_F(ProfileListTest, AddStopsAtFiftyProfilesButCopyAndImportDoNot) {
    std::vector<std::string> names;
    for (int i = 0; i < 50; ++i) {
        names.push_back("p" + std::to_string(i));
    }
    WriteList(names);
    CProfileList profiles = Loaded();
    EXPECT_EQ(profiles.Add(), -1);
    EXPECT_EQ(profiles.Count(), 50);
    EXPECT_EQ(profiles.Copy(), 50);
    EXPECT_EQ(profiles.Import(profiles.ProfilePath(3)), 51);
    EXPECT_EQ(StoredList()["profilelist"].size(), 52u);
}

TEST_F(ProfileListTest, DeleteSelectsThePreviousProfileAndRemovesTheFile) {
    WriteList({"a", "b", "c"}, 0);
    CProfileList profiles = Loaded();
    const std::string first = profiles.ProfilePath(0);
    EXPECT_EQ(profiles.Delete(), 0);
    EXPECT_FALSE(fs::exists(first));
    EXPECT_EQ(Names(profiles), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(StoredList()["profileselect"].asInt(), 0);
    EXPECT_EQ(profiles.CurrentUuid(), "2020_01_01_00_00_00_101");

    WriteList({"a", "b", "c"}, 2);
    profiles = Loaded();
    EXPECT_EQ(profiles.Delete(), 1);
    EXPECT_EQ(StoredList()["profileselect"].asInt(), 1);
    EXPECT_EQ(profiles.CurrentUuid(), "2020_01_01_00_00_00_101");

    WriteList({"only"});
    profiles = Loaded();
    EXPECT_EQ(profiles.Delete(), -1);
    EXPECT_EQ(profiles.Count(), 1);
    EXPECT_TRUE(fs::exists(profiles.CurrentProfilePath()));
}

TEST_F(ProfileListTest, CopyAppendsCopySuffixesAndCopiesTheSettings) {
    WriteList({"Game", "Work"}, 0);
    CProfileList profiles = Loaded();
    EXPECT_EQ(profiles.Copy(), 2);
    EXPECT_EQ(profiles.Copy(), 3);
    EXPECT_EQ(Names(profiles), (std::vector<std::string>{"Game", "Work", "Game copy", "Game copy copy"}));
    const Json::Value copy = document.ReadJsonValue(profiles.ProfilePath(3));
    EXPECT_EQ(copy["Device"][0]["LightInfo"]["SelectItem"].asInt(), 10);
    EXPECT_EQ(copy["profileUUID"].asString(), profiles.Entries()[3].uuid);
    EXPECT_NE(profiles.Entries()[2].uuid, profiles.Entries()[3].uuid);
    EXPECT_EQ(StoredList()["profileselect"].asInt(), 0);
}

TEST_F(ProfileListTest, ImportNumbersTakenNamesAndRefusesFilesThatAreNoProfile) {
    WriteList({"Game", "Game(1)"});
    CProfileList profiles = Loaded();
    Json::Value imported;
    imported["profilename"] = "game";
    imported["profileUUID"] = "../../elsewhere";
    imported["Device"][0]["KeyList"][0]["Assignment"] = 7;
    const std::string source = home.Path("export.json");
    document.wirtejsonFile(source, imported);

    ASSERT_EQ(profiles.Import(source), 2);
    EXPECT_EQ(profiles.Entries()[2].name, "game(1)(2)");
    const Json::Value written = document.ReadJsonValue(profiles.ProfilePath(2));
    EXPECT_EQ(written["Device"][0]["KeyList"][0]["Assignment"].asInt(), 7);
    EXPECT_EQ(written["profileUUID"].asString(), profiles.Entries()[2].uuid) << "a fresh UUID names the file";

    for (const char* text :
         {"{\"profilename\": \"x\"}", "{\"profilename\": 1, \"profileUUID\": \"u\"}", "[]", ""}) {
        std::ofstream(source, std::ios::trunc) << text;
        EXPECT_LT(profiles.Import(source), 0) << text;
    }
    EXPECT_EQ(profiles.Count(), 3);
}

TEST_F(ProfileListTest, RenameRefusesAnotherProfilesNameButAcceptsItsOwnInOtherCase) {
    WriteList({"Game", "Work"}, 1);
    CProfileList profiles = Loaded();
    EXPECT_EQ(profiles.Rename("GAME"), 0);
    EXPECT_EQ(profiles.Rename(""), -1);
    EXPECT_EQ(profiles.Rename("WORK"), 1);
    EXPECT_EQ(profiles.Rename("Büro 办公"), 1);
    EXPECT_EQ(Names(profiles), (std::vector<std::string>{"Game", "Büro 办公"}));
    EXPECT_EQ(StoredList()["profilelist"][1]["profilename"].asString(), "Büro 办公");
    EXPECT_EQ(document.ReadJsonValue(profiles.CurrentProfilePath())["profilename"].asString(), "Büro 办公");
}

TEST_F(ProfileListTest, ResetRestoresTheDefaultsUnderTheSameNameAndUuid) {
    WriteList({"Game"});
    CProfileList profiles = Loaded();
    EXPECT_EQ(profiles.Reset(), 0);
    const Json::Value reset = document.ReadJsonValue(profiles.CurrentProfilePath());
    EXPECT_EQ(reset["profilename"].asString(), "Game");
    EXPECT_EQ(reset["profileUUID"].asString(), profiles.CurrentUuid());
    EXPECT_EQ(reset["Device"][0]["LightInfo"]["SelectItem"].asInt(), 4);
}

TEST_F(ProfileListTest, ResettingAHeadsetProfileKeepsItsOwnEqualisers) {
    WriteList({"Music"});
    CProfileList profiles = Loaded(7);
    Json::Value current = document.ReadJsonValue(profiles.CurrentProfilePath());
    current["Device"][0]["CustomEQNameInfo"][0]["Name"] = "Bass";
    current["Device"][0]["CustomEQHzValueInfo"][0][0]["value"] = 9;
    document.wirtejsonFile(profiles.CurrentProfilePath(), current);

    EXPECT_EQ(profiles.Reset(), 0);

    const Json::Value section = document.ReadJsonValue(profiles.CurrentProfilePath())["Device"][0];
    EXPECT_EQ(section["CustomEQNameInfo"], current["Device"][0]["CustomEQNameInfo"]);
    EXPECT_EQ(section["CustomEQHzValueInfo"], current["Device"][0]["CustomEQHzValueInfo"]);
    EXPECT_EQ(section["LightInfo"]["SelectItem"].asInt(), 4);
}

TEST_F(ProfileListTest, ExportWritesTheProfileAndRefusesAMissingOne) {
    WriteList({"Game", "Gone"}, 1);
    CProfileList profiles = Loaded();
    const std::string target = home.Path("out.json");
    fs::remove(profiles.CurrentProfilePath());
    EXPECT_EQ(profiles.Export(target), CProfileList::kExportNoProfile);
    EXPECT_FALSE(fs::exists(target));
    profiles.Select(0);
    EXPECT_EQ(profiles.Export(target), 0);
    EXPECT_EQ(document.ReadJsonValue(target), document.ReadJsonValue(profiles.CurrentProfilePath()));
}

TEST_F(ProfileListTest, AnUnsafeUuidNamesNoFile) {
    WriteList({"a", "b"});
    Json::Value list = StoredList();
    list["profilelist"][1]["profileUUID"] = "../victim";
    list["profileselect"] = 1;  // a switch to it is refused, but a stored selection opens it
    document.wirtejsonFile(folder + "ProfileList.ini", list);
    const std::string victim = fs::path(folder).parent_path().parent_path().string() + "/victim.Json";
    document.wirtejsonFile(victim, ParseJson(R"({"keep": true})"));

    CProfileList profiles = Loaded();
    ASSERT_EQ(profiles.SelectedIndex(), 1);
    EXPECT_EQ(profiles.CurrentProfilePath(), "");
    EXPECT_EQ(profiles.Reset(), -1);
    EXPECT_EQ(profiles.Export(home.Path("out.json")), CProfileList::kExportNoProfile);
    EXPECT_EQ(profiles.Rename("renamed"), 1);
    EXPECT_EQ(profiles.Delete(), 0);
    EXPECT_EQ(document.ReadJsonValue(victim), ParseJson(R"({"keep": true})"));
}

TEST_F(ProfileListTest, ChangesMadeMeanwhileByAnotherProgramAreKept) {
    WriteList({"a"});
    CProfileList gui = Loaded();
    CProfileList cli = Loaded();
    EXPECT_EQ(cli.Add(), 1);
    EXPECT_EQ(gui.Copy(), 2);
    EXPECT_EQ(Names(gui), (std::vector<std::string>{"a", "profile1", "a copy"}));

    std::ofstream(folder + "ProfileList.ini", std::ios::trunc) << "{ damaged";
    EXPECT_EQ(gui.Rename("b"), 1);
    EXPECT_EQ(StoredList()["profilelist"].size(), 3u) << "the list in memory replaces a damaged file";
}

// The files moved aside in the profile folder, with their content.
std::map<std::string, std::string> SetAside(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".damaged-") != std::string::npos) {
            std::ifstream in(entry.path());
            files[name] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return files;
}

TEST_F(ProfileListTest, ADamagedListIsMovedAsideOnceBeforeTheDefaultListTakesItsPlace) {
    struct SCase {
        const char* text;
        bool damaged;
    };
    for (const SCase& c : std::vector<SCase>{{"{\"profilelist\": [{\"profilename\": \"Ga", true},
                                             {"{\"profilelist\": 5}", true},
                                             {"[1, 2]", true},
                                             {"{\"profilelist\": [], \"profileselect\": 0}", false},
                                             {"", false}}) {
        SCOPED_TRACE(c.text);
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::ofstream(folder + "ProfileList.ini") << c.text;

        CProfileList profiles = Loaded();

        EXPECT_EQ(Names(profiles), std::vector<std::string>{"profile1"});
        const std::vector<std::string> moved = profiles.TakeSetAsideFiles();
        ASSERT_EQ(moved.size(), c.damaged ? 1u : 0u);
        EXPECT_TRUE(profiles.TakeSetAsideFiles().empty()) << "told once";
        const auto kept = SetAside(folder);
        ASSERT_EQ(kept.size(), moved.size());
        if (c.damaged) {
            EXPECT_EQ(kept.begin()->first.rfind("ProfileList.ini.damaged-", 0), 0u) << kept.begin()->first;
            EXPECT_EQ(kept.begin()->second, c.text);
            EXPECT_EQ(fs::path(moved[0]).filename().string(), kept.begin()->first);
        }
    }
}

TEST_F(ProfileListTest, AListDamagedWhileOpenIsKeptAsideAndReplacedByTheListInMemory) {
    WriteList({"a", "b"});
    CProfileList profiles = Loaded();
    std::ofstream(folder + "ProfileList.ini", std::ios::trunc) << "{ truncated";
    EXPECT_EQ(profiles.Add(), 2);
    EXPECT_EQ(StoredList()["profilelist"].size(), 3u);
    EXPECT_EQ(profiles.TakeSetAsideFiles().size(), 1u);
    EXPECT_EQ(SetAside(folder).begin()->second, "{ truncated");
}

TEST_F(ProfileListTest, ImportRefusesWhatIsNoProfileWithItsReasonAndChangesNothing) {
    WriteList({"Game"});
    CProfileList profiles = Loaded();
    const std::string before = CJsonFile::StyledText(StoredList());
    const std::string source = home.Path("import.json");
    struct SCase {
        std::string text;
        int result;
    };
    std::string large = R"({"profilename": "Big", "profileUUID": "u", "pad": ")";
    large.append(CProfileList::kMaxImportBytes, 'x').append("\"}");
    const std::vector<SCase> cases = {
        {R"({"profileUUID": "u"})", CProfileList::kImportNotAProfile},
        {R"({"profilename": "x"})", CProfileList::kImportNotAProfile},
        {R"({"profilename": "x", "profileUUID": )", CProfileList::kImportUnreadable},
        {"", CProfileList::kImportUnreadable},
        {large, CProfileList::kImportTooLarge},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        std::ofstream(source, std::ios::trunc) << c.text;
        EXPECT_EQ(profiles.Import(source), c.result);
        EXPECT_EQ(profiles.Count(), 1);
        EXPECT_EQ(CJsonFile::StyledText(StoredList()), before);
    }
    EXPECT_EQ(profiles.Import(home.Path("missing.json")), CProfileList::kImportUnreadable);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2)
        << "list and one profile";
}

}  // namespace
