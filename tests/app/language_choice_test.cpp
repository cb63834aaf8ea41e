#include "app/language_choice.h"
#include "profile/json_document.h"
#include "tests/net/environment_guard.h"
#include "tests/support/debug_capture.h"
#include "tests/support/profile_section.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>

#include <QFontDatabase>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>

namespace {

using app::CLanguageChoice;

// Ids 2052 and 1033 name the two shipped tables; the others exist only to reach the indices
// whose fonts differ (2, 5, 7 and 15).
constexpr const char kList[] = R"({ "Language": [
    { "Language_ID": 2052, "Language_name": "cn", "Language_file": "lan_cn.xml", "Language_text": "简体中文" },
    { "Language_ID": 1033, "Language_name": "en", "Language_file": "lan_en.xml", "Language_text": "English" },
    { "Language_ID": 1028, "Language_name": "tw", "Language_file": "lan_tw_missing.xml", "Language_text": "tw" },
    { "Language_ID": 3, "Language_name": "x3", "Language_file": "", "Language_text": "" },
    { "Language_ID": 4, "Language_name": "x4", "Language_file": "", "Language_text": "" },
    { "Language_ID": 5, "Language_name": "x5", "Language_file": "", "Language_text": "" },
    { "Language_ID": 6, "Language_name": "x6", "Language_file": "", "Language_text": "" },
    { "Language_ID": 7, "Language_name": "x7", "Language_file": "", "Language_text": "" }
] })";

class LanguageChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ui::CPaintManagerUI::SetResourcePath(ProgramDir() + "/skin/");
        CJsonDocument().wirtejsonFile(listFile, ParseJson(kList));
    }
    void TearDown() override { ui::CResourceManager::GetInstance().Release(); }

    std::optional<std::string> Stored() const {
        return store.QueryValue(kProductSettingsKey, kLanguageValueName);
    }

    // The user's own locale never decides a test's language.
    CEnvironmentGuard locale{{"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}};
    CTempDataHome home;
    std::string listFile = home.Path("Language.config");
    CSettingsStore store{home.Path("settings.json")};
    ui::CPaintManagerUI window;
};

TEST_F(LanguageChoiceTest, TheStoredIdChoosesTheIndexAndAnythingElseGivesTheFirst) {
    EXPECT_EQ(CLanguageChoice(listFile, store).ReadStoredIndex(), 0);  // no key at all
    ASSERT_TRUE(store.CreateKey(kProductSettingsKey));
    EXPECT_EQ(CLanguageChoice(listFile, store).ReadStoredIndex(), 0);  // no value
    const std::pair<const char*, int> cases[] = {
        {"1033", 1}, {"7", 7}, {" 1028 trailing", 2},       {"9999", 0},
        {"abc", 0},  {"", 0},  {"99999999999999999999", 0},
    };
    for (const auto& [text, index] : cases) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(store.SetValue(kProductSettingsKey, kLanguageValueName, text));
        EXPECT_EQ(CLanguageChoice(listFile, store).ReadStoredIndex(), index);
    }
    ASSERT_TRUE(store.SetValue(kProductSettingsKey, kLanguageValueName, "1033"));
    EXPECT_EQ(CLanguageChoice(home.Path("missing.config"), store).ReadStoredIndex(), 0);
    std::ofstream(home.Path("bad.config")) << "{ \"Language\": [ { \"Language_ID\": ";
    EXPECT_EQ(CLanguageChoice(home.Path("bad.config"), store).ReadStoredIndex(), 0);
}

TEST_F(LanguageChoiceTest, ApplyingLoadsTheTableAndStoresTheIdOnlyWhenTheKeyExists) {
    CLanguageChoice choice(listFile, store);
    EXPECT_EQ(choice.CurrentIndex(), -1);
    EXPECT_TRUE(choice.Apply(1, window));
    EXPECT_EQ(ui::CResourceManager::GetInstance().GetLanguage(), "lan_en.xml");
    EXPECT_EQ(*ui::CResourceManager::GetInstance().GetText("message_title"), "Notice");
    EXPECT_FALSE(store.KeyExists(kProductSettingsKey));

    ASSERT_TRUE(store.CreateKey(kProductSettingsKey));
    CDebugCapture capture;
    EXPECT_TRUE(choice.Apply(0, window));
    EXPECT_EQ(Stored(), "2052");
    EXPECT_NE(capture.Text().find("写成功！"), std::string::npos);
    EXPECT_EQ(*ui::CResourceManager::GetInstance().GetText("message_title"), "提示");

    // The language already shown changes nothing and writes nothing.
    ASSERT_TRUE(store.SetValue(kProductSettingsKey, kLanguageValueName, "untouched"));
    EXPECT_FALSE(choice.Apply(0, window));
    EXPECT_EQ(Stored(), "untouched");
}

TEST_F(LanguageChoiceTest, AStartWithTheStoredLanguageLeavesTheSettingsFileAlone) {
    ASSERT_TRUE(store.CreateKey(kProductSettingsKey));
    ASSERT_TRUE(store.SetValue(kProductSettingsKey, kLanguageValueName, "1033"));
    CDebugCapture capture;
    CLanguageChoice choice(listFile, store);
    EXPECT_TRUE(choice.Apply(choice.ReadStoredIndex(), window));
    EXPECT_EQ(choice.CurrentIndex(), 1);
    EXPECT_EQ(capture.Text().find("写成功！"), std::string::npos);
    EXPECT_EQ(capture.Text().find("wirtejsonFile"), std::string::npos) << capture.Text();
}

TEST_F(LanguageChoiceTest, AMissingTableOrElementLoadsNothingNew) {
    ASSERT_TRUE(store.CreateKey(kProductSettingsKey));
    CLanguageChoice choice(listFile, store);
    ASSERT_TRUE(choice.Apply(1, window));
    // The table of index 2 is not shipped: the English texts stay, the choice is still kept.
    EXPECT_TRUE(choice.Apply(2, window));
    EXPECT_EQ(*ui::CResourceManager::GetInstance().GetText("message_title"), "Notice");
    EXPECT_EQ(Stored(), "1028");
    // An index past the list: the index is taken, nothing is loaded or stored.
    EXPECT_TRUE(choice.Apply(42, window));
    EXPECT_EQ(choice.CurrentIndex(), 42);
    EXPECT_EQ(Stored(), "1028");
    CLanguageChoice withoutList(home.Path("missing.config"), store);
    EXPECT_TRUE(withoutList.Apply(1, window));
    EXPECT_EQ(Stored(), "1028");
}

TEST_F(LanguageChoiceTest, EachLanguageGetsItsFontFamily) {
    const struct {
        int index;
        int previous;
        const char* family;
    } cases[] = {
        {0, -1, "汉仪菱心体简"},
        {2, 5, "Noto Sans CJK TC Regular"},
        {15, 7, "Noto Sans Thai"},
        {1, -1, "Verdana Unicode MS"},
        {5, 0, "Verdana Unicode MS"},
        {3, 2, "Verdana Unicode MS"},
        {4, 15, "Verdana Unicode MS"},
        {7, 5, ""},
        {1, 3, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.previous) + " -> " + std::to_string(c.index));
        EXPECT_EQ(CLanguageChoice::FontFamilyFor(c.index, c.previous), c.family);
    }
}

TEST_F(LanguageChoiceTest, SwitchingOnWithinTheSameFamilyKeepsTheFonts) {
    CLanguageChoice choice(listFile, store);
    choice.Apply(0, window);
    EXPECT_EQ(window.GetFont(3).family().toStdString(), CLanguageChoice::InstalledFamily("汉仪菱心体简"));
    choice.Apply(5, window);
    EXPECT_EQ(window.GetFont(3).family().toStdString(),
              CLanguageChoice::InstalledFamily("Verdana Unicode MS"));
    EXPECT_EQ(window.GetFont(-1).family().toStdString(),
              CLanguageChoice::InstalledFamily("Verdana Unicode MS"));
    // The shared font table: sizes at 96 DPI, font 1 underlined, font 50 bold.
    EXPECT_EQ(window.GetFont(-1).pixelSize(), 15);
    EXPECT_EQ(window.GetFont(3).pixelSize(), 30);
    EXPECT_EQ(window.GetFont(10).pixelSize(), 10);
    EXPECT_TRUE(window.GetFont(1).underline());
    EXPECT_TRUE(window.GetFont(50).bold());
    EXPECT_FALSE(window.GetFont(2).bold() || window.GetFont(2).underline() || window.GetFont(2).italic());
    // 5 -> 7 chooses no family: a font changed meanwhile is not re-created.
    window.AddFont(3, "Marker", 33, false, false, false);
    choice.Apply(7, window);
    EXPECT_EQ(window.GetFont(3).family().toStdString(), "Marker");
    EXPECT_EQ(choice.CurrentIndex(), 7);
}

TEST_F(LanguageChoiceTest, WithNothingStoredTheLocaleChoosesTheLanguage) {
    ASSERT_TRUE(store.CreateKey(kProductSettingsKey));
    const struct {
        std::vector<std::string> locales;
        int index;
    } cases[] = {
        {{"en_US.UTF-8"}, 1},
        {{"en"}, 1},
        {{"zh_TW.UTF-8"}, 2},
        {{"zh_CN.UTF-8@stroke"}, 0},
        {{"EN_gb"}, 1},
        {{"fr_FR.UTF-8", "en_GB"}, 1},  // a LANGUAGE list: the first one named wins
        {{"fr_FR.UTF-8"}, 0},
        {{"C.UTF-8"}, 0},
        {{}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locales.empty() ? std::string("none") : c.locales.front());
        EXPECT_EQ(CLanguageChoice(listFile, store, c.locales).ReadStoredIndex(), c.index);
    }
    // A stored value wins over the locale, even one that names no language.
    for (const char* value : {"2052", "9999"}) {
        ASSERT_TRUE(store.SetValue(kProductSettingsKey, kLanguageValueName, value));
        EXPECT_EQ(CLanguageChoice(listFile, store, {"en_US.UTF-8"}).ReadStoredIndex(), 0) << value;
    }
}

TEST_F(LanguageChoiceTest, TheLocaleVariablesAreReadInTheirOrder) {
    const struct {
        std::vector<std::pair<const char*, const char*>> set;
        std::vector<std::string> locales;
    } cases[] = {
        {{{"LANG", "en_US.UTF-8"}}, {"en_US.UTF-8"}},
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "zh_TW.UTF-8"}}, {"zh_TW.UTF-8"}},
        {{{"LC_MESSAGES", "zh_TW"}, {"LC_ALL", "fr_FR"}}, {"fr_FR"}},
        {{{"LC_ALL", "fr_FR"}, {"LANGUAGE", "de:en_GB"}}, {"de", "en_GB"}},
        {{{"LANGUAGE", ""}, {"LANG", "en"}}, {"en"}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        CEnvironmentGuard clean{{"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}};
        for (const auto& [name, value] : c.set) {
            setenv(name, value, 1);
        }
        EXPECT_EQ(CLanguageChoice::UserLocales(), c.locales);
    }
}

TEST_F(LanguageChoiceTest, TheFirstStartStoresTheLanguageOfTheLocale) {
    ASSERT_TRUE(store.CreateKey(kProductSettingsKey));
    CLanguageChoice choice(listFile, store, {"en_US.UTF-8"});
    EXPECT_TRUE(choice.Apply(choice.ReadStoredIndex(), window));
    EXPECT_EQ(Stored(), "1033");
    EXPECT_EQ(*ui::CResourceManager::GetInstance().GetText("message_title"), "Notice");
}

TEST_F(LanguageChoiceTest, MissingFamiliesFallBackToInstalledNotoFamilies) {
    for (const char* family :
         {"汉仪菱心体简", "Noto Sans CJK TC Regular", "Noto Sans Thai", "Verdana Unicode MS"}) {
        const std::string installed = CLanguageChoice::InstalledFamily(family);
        SCOPED_TRACE(family);
        EXPECT_TRUE(QFontDatabase::hasFamily(QString::fromStdString(installed))) << installed;
    }
    EXPECT_EQ(CLanguageChoice::InstalledFamily("Noto Sans"), "Noto Sans");
}

// Every language the shipped list names has its table, and every table has every key of the others.
TEST(LanguageFilesTest, EveryListedLanguageIsShippedWithEveryText) {
    const std::string skin = ProgramDir() + "/skin/";
    const std::vector<app::SLanguageEntry> entries =
        CLanguageChoice::ReadList(ProgramDir() + "/DefaultData/Language.config");
    ASSERT_GE(entries.size(), 2u);
    const std::regex textKey(R"re(<Text\s+id="([^"]*)")re");
    std::map<std::string, std::set<std::string>> keysByFile;
    std::set<std::string> allKeys;
    for (const app::SLanguageEntry& entry : entries) {
        std::ifstream in(skin + entry.file);
        ASSERT_TRUE(in) << entry.file << " is listed but not shipped";
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::set<std::string>& keys = keysByFile[entry.file];
        for (auto it = std::sregex_iterator(text.begin(), text.end(), textKey); it != std::sregex_iterator();
             ++it) {
            keys.insert((*it)[1]);
        }
        allKeys.insert(keys.begin(), keys.end());
    }
    for (const auto& [file, keys] : keysByFile) {
        std::string missing;
        for (const std::string& key : allKeys) {
            if (keys.count(key) == 0) {
                missing += " " + key;
            }
        }
        EXPECT_TRUE(missing.empty()) << file << " lacks:" << missing;
    }
}

}  // namespace
