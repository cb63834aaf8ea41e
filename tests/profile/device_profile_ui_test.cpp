#include "profile/device_profile_ui.h"

#include "profile/data_folders.h"
#include "tests/support/temp_data_home.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/vertical_layout_ui.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

namespace {

constexpr std::array<const char*, 8> kTabs = {"deng_Op_tab",   "key_Op_tab",       "macro_Op_tab",
                                              "system_Op_tab", "cursor_Op_tab",    "6533_voice_Op_tab",
                                              "magic_Op_tab",  "Virtual7.1_Op_tab"};

// A page of the eight function tabs (the last three hidden, as the layouts start them) with the
// panel beside them.
class DeviceProfileUITest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kTabs) {
            auto* tab = new ui::COptionUI();
            tab->SetName(name);
            tab->SetVisible(std::string(name) != "6533_voice_Op_tab" && std::string(name) != "magic_Op_tab" &&
                            std::string(name) != "Virtual7.1_Op_tab");
            tab->Selected(true, false);
            page.Add(tab);
        }
        panel = new CDeviceProfileUI();
        page.Add(panel);
    }

    ui::COptionUI& Tab(size_t index) {
        return *static_cast<ui::COptionUI*>(page.GetItemAt(static_cast<int>(index))->GetInterface("Option"));
    }

    CTempDataHome home;
    ui::CVerticalLayoutUI page;
    CDeviceProfileUI* panel = nullptr;
};

TEST_F(DeviceProfileUITest, EachDeviceKindShowsItsFunctionTabs) {
    struct SCase {
        int kind;
        std::set<std::string> visible;
    };
    const std::set<std::string> standard = {"deng_Op_tab", "key_Op_tab", "macro_Op_tab", "system_Op_tab",
                                            "cursor_Op_tab"};
    for (const SCase& c :
         {SCase{1, {"deng_Op_tab", "key_Op_tab", "macro_Op_tab", "system_Op_tab"}}, SCase{2, standard},
          SCase{3, {"deng_Op_tab"}}, SCase{4, {"deng_Op_tab", "system_Op_tab"}}, SCase{5, {"deng_Op_tab"}},
          SCase{7, {"deng_Op_tab", "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"}}}) {
        page.RemoveAll();
        SetUp();
        panel->SetDeviceKind(c.kind);
        panel->SetPaths(CDataFolders::UserDataFolder("kind" + std::to_string(c.kind)),
                        home.Path("none.Json"));
        EXPECT_EQ(panel->LoadProfileList(), 1);
        std::set<std::string> visible;
        for (size_t i = 0; i < kTabs.size(); ++i) {
            if (Tab(i).IsVisible()) {
                visible.insert(kTabs[i]);
            }
        }
        EXPECT_EQ(visible, c.visible) << "kind " << c.kind;
    }
}

TEST_F(DeviceProfileUITest, SelectFunctionTabSelectsOneTabOrClearsTheFirstSeven) {
    panel->SelectFunctionTab(3);
    for (size_t i = 0; i < kTabs.size(); ++i) {
        EXPECT_EQ(Tab(i).IsSelected(), i == 2) << kTabs[i];
    }
    Tab(7).Selected(true, false);
    panel->SelectFunctionTab(9);
    for (size_t i = 0; i < kTabs.size(); ++i) {
        EXPECT_EQ(Tab(i).IsSelected(), i == 7) << kTabs[i];
    }
}

TEST_F(DeviceProfileUITest, BeforeTheListIsLoadedNothingHappens) {
    EXPECT_EQ(panel->AddProfile(), -1);
    EXPECT_EQ(panel->RenameProfile("x"), -1);
    EXPECT_EQ(panel->CurrentUuid(), "");
    EXPECT_EQ(panel->SelectedIndex(), -1);
}

}  // namespace
