#include "app/control_factory_tables.h"
#include "app/main_wnd.h"
#include "app/msg_wnd.h"
#include "app/registered_messages.h"
#include "device/pellix_usb_device.h"
#include "platform/hid/hid_backend.h"
#include "profile/data_folders.h"
#include "profile/device_profile_ui.h"
#include "profile/json_document.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"
#include "tests/support/debug_capture.h"
#include "tests/support/modal_window.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using app::CFileDialogs;
using app::CMainWnd;

constexpr uint8_t kWriteParameters = 0x06;
constexpr uint8_t kWriteKeyTable = 0x09;
constexpr size_t kStage1Position = 16;  // stage 1's slider position in the parameter record

// The main window on a simulated bus with one emulated mouse3389 and a fresh data folder; the
// file dialogs answer with `chosen`, and every message window is answered and remembered.
class MainWndProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        platform::hid::SetProcessBackend(bus);
        ASSERT_TRUE(LoadProgramSkin());
        app::RegisterControlClasses();
        app::RegisterProductMessage();
        app::RegisterShellMessages();
        ui::CPaintManagerUI::SetAllDPI(96);
    }
    void TearDown() override {
        answerer.stop();
        wnd.reset();
        platform::hid::SetProcessBackend(nullptr);
        ui::CResourceManager::GetInstance().Release();
    }

    void Open() {
        AnswerMessages();
        wnd = std::make_unique<CMainWnd>();
        ASSERT_NE(wnd->Create(nullptr, "Norvik 400100 Gaming Mouse", 0, 0, 0, 0, 1000, 640), nullptr);
        wnd->FileDialogs().SetChooser([this](CFileDialogs::Purpose, const std::string& filter) {
            filters.push_back(filter);
            return chosen;
        });
        mouse = std::make_shared<CSimulatedMouse>(MouseModel3389());
        bus->Plug("mouse3389", mouse);
        ASSERT_TRUE(WaitFor([&] { return Filled(); }, 3000));
    }

    bool Filled() {
        CPellixUSBDevice* page = wnd->DeviceBar().ActivePage();
        const ui::CControlUI* edit =
            page != nullptr ? wnd->GetPaintManager().FindSubControlByName(page, "DPI_edit_1") : nullptr;
        return edit != nullptr && !edit->GetText().empty();
    }

    ui::CControlUI* PageControl(const std::string& name) {
        return wnd->GetPaintManager().FindSubControlByName(wnd->DeviceBar().ActivePage(), name);
    }
    CDeviceProfileUI& Panel() { return *wnd->DeviceBar().ActivePage()->ProfilePanel(); }
    ui::CComboUI& Combo() {
        return *static_cast<ui::CComboUI*>(PageControl("device_profile_combo")->GetInterface("Combo"));
    }
    std::vector<std::string> ComboTexts() {
        std::vector<std::string> texts;
        for (int i = 0; i < Combo().GetCount(); ++i) {
            texts.push_back(Combo().GetItemAt(i)->GetText());
        }
        return texts;
    }

    // A click as the user makes it.
    void Click(const std::string& name) {
        ui::CControlUI* sender = PageControl(name);
        ASSERT_NE(sender, nullptr) << name;
        wnd->GetPaintManager().SendNotify(sender, "click");
    }
    // From now on every message window is answered as a user would, and its text remembered.
    void AnswerMessages() {
        QObject::connect(&answerer, &QTimer::timeout, [this] {
            if (ui::CHostWidget* host = ShownWindow(app::kMsgWndClassName)) {
                messages.push_back(host->GetPaintManager()->FindControl("MessageText")->GetText());
                host->GetPaintManager()->FindControl("confirm_btn")->Activate();
            }
        });
        answerer.start(5);
    }
    static std::string Text(const std::string& key) {
        const std::string* text = ui::CResourceManager::GetInstance().GetText(key);
        return text != nullptr ? *text : key;
    }
    void SetStage1(const std::string& path, int position) {
        Json::Value profile = document.ReadJsonValue(path);
        profile["Device"][0]["DPIStages"]["StageDPIs"][1]["StageDPIX"] = position;
        document.wirtejsonFile(path, profile);
    }

    std::string Folder() const { return CDataFolders::UserDataFolder("mouse3389"); }
    Json::Value StoredList() const { return document.ReadJsonValue(Folder() + "ProfileList.ini"); }
    std::string Render(const std::string& name) {
        return SaveRender(wnd->GetPaintManager(), *wnd->GetWidget(), name) ? name : std::string();
    }
    int Count(uint8_t command) {
        int count = 0;
        for (const auto& request : mouse->Requests()) {
            count += request.size() > 3 && request[3] == command ? 1 : 0;
        }
        return count;
    }

    CTempDataHome home;
    CJsonDocument document;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMouse> mouse;
    std::unique_ptr<CMainWnd> wnd;
    std::string chosen;
    std::vector<std::string> filters;
    std::vector<std::string> messages;
    QTimer answerer;
};

TEST_F(MainWndProfileTest, TheButtonsAddCopyRenameAndDeleteProfilesAndThePanelFolds) {
    CDebugCapture capture;
    Open();
    EXPECT_EQ(ComboTexts(), std::vector<std::string>{"profile1"}) << "a first start makes profile1";
    EXPECT_EQ(PageControl("device_profile_name_edit")->GetText(), "profile1");

    Click("device_add_btn");
    Click("device_copy_btn");
    EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"profile1", "profile2", "profile1 copy"}));
    EXPECT_EQ(Combo().GetCurSel(), 0) << "the device keeps its profile";

    PageControl("device_profile_name_edit")->SetText("PROFILE2");
    Click("device_profile_edit_save_btn");
    EXPECT_EQ(messages, std::vector<std::string>{Text("message_text_5")});
    PageControl("device_profile_name_edit")->SetText("Game");
    Click("device_profile_edit_save_btn");
    EXPECT_EQ(ComboTexts()[0], "Game");
    EXPECT_EQ(StoredList()["profilelist"][0]["profilename"].asString(), "Game");

    Click("device_sub_btn");
    EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"profile2", "profile1 copy"}));
    const std::string next = StoredList()["profilelist"][0]["profileUUID"].asString();
    ASSERT_TRUE(WaitFor([&] { return wnd->DeviceBar().ActivePage()->ProfileBaseName() == next; }, 2000))
        << "the device follows the selection that the delete left";
    EXPECT_EQ(messages.size(), 1u);

    wnd->EditingLock().Take(true);
    EXPECT_FALSE(Panel().IsEnabled()) << "recording keeps the profile where it is";
    wnd->EditingLock().Release(true);
    EXPECT_TRUE(Panel().IsEnabled());

    ui::CControlUI* menu = PageControl("profile_menu_layout");
    const int openHeight = Panel().GetFixedHeight();
    EXPECT_TRUE(menu->IsVisible());
    EXPECT_FALSE(Render("profile_panel_open.png").empty());
    Click("profile_fun_spread_btn");
    EXPECT_FALSE(menu->IsVisible());
    EXPECT_EQ(Panel().GetFixedHeight(), openHeight - menu->GetFixedHeight());
    EXPECT_FALSE(Render("profile_panel_closed.png").empty());
    Click("profile_fun_spread_btn");
    EXPECT_TRUE(menu->IsVisible());
    EXPECT_EQ(Panel().GetFixedHeight(), openHeight);
    EXPECT_EQ(capture.Text().find("CDeviceProfileUI: "), std::string::npos) << capture.Text();
}

TEST_F(MainWndProfileTest, ImportAndExportGoThroughTheDialogAndRefusalsAreExplained) {
    Open();
    chosen = home.Path("exported.json");
    Click("device_export_btn");
    EXPECT_EQ(filters, std::vector<std::string>{"Profile Files(*.json)"});
    EXPECT_EQ(document.ReadJsonValue(chosen), document.ReadJsonValue(Panel().List()->CurrentProfilePath()));

    Click("device_import_btn");
    EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"profile1", "profile1(1)"}));

    struct SCase {
        const char* text;
        const char* message;
    };
    const std::string refused = home.Path("refused.json");
    for (const SCase& c : {SCase{"{\"profilename\": \"x\"}", "profile_import_not_profile"},
                           SCase{"{\"profilename\": ", "profile_import_unreadable"}}) {
        messages.clear();
        std::ofstream(refused, std::ios::trunc) << c.text;
        chosen = refused;
        Click("device_import_btn");
        ASSERT_TRUE(WaitFor([&] { return !messages.empty(); }, 1000)) << c.text;
        EXPECT_EQ(messages, std::vector<std::string>{Text(c.message)});
        EXPECT_EQ(Combo().GetCount(), 2);
    }

    messages.clear();
    chosen.clear();
    const Json::Value before = StoredList();
    Click("device_import_btn");
    Click("device_export_btn");
    EXPECT_EQ(StoredList(), before) << "a cancelled dialog changes nothing";
    EXPECT_TRUE(messages.empty());
    struct SExportCase {
        std::string target;
        const char* message;
    };
    for (const SExportCase& c : {SExportCase{home.Root().string(), "profile_export_failed"},
                                 SExportCase{home.Path("out.json"), "profile_export_unreadable"}}) {
        if (std::string(c.message) == "profile_export_unreadable") {
            std::ofstream(Panel().List()->CurrentProfilePath(), std::ios::trunc) << "{ damaged";
        }
        messages.clear();
        chosen = c.target;
        Click("device_export_btn");
        ASSERT_TRUE(WaitFor([&] { return !messages.empty(); }, 1000)) << c.message;
        EXPECT_EQ(messages, std::vector<std::string>{Text(c.message)});
    }
    EXPECT_FALSE(fs::exists(home.Path("out.json")));
}

TEST_F(MainWndProfileTest, ChoosingAnotherProfileWritesItToTheMouseOnceForQuickChoices) {
    Open();
    Click("device_add_btn");
    SetStage1(Panel().List()->ProfilePath(0), 55);
    SetStage1(Panel().List()->ProfilePath(1), 77);
    mouse->ClearRequests();

    Combo().SelectItem(1);
    ASSERT_TRUE(WaitFor([&] { return mouse->Memory()[kStage1Position] == 77; }, 2000));
    EXPECT_EQ(StoredList()["profileselect"].asInt(), 1);
    EXPECT_EQ(wnd->DeviceBar().ActivePage()->ProfileBaseName(), Panel().CurrentUuid());
    EXPECT_EQ(PageControl("device_profile_name_edit")->GetText(), "profile2");
    const auto requests = mouse->Requests();
    const auto first = [&](uint8_t command) {
        return std::find_if(requests.begin(), requests.end(),
                            [&](const auto& r) { return r.size() > 3 && r[3] == command; });
    };
    ASSERT_NE(first(kWriteParameters), requests.end());
    if (first(kWriteKeyTable) != requests.end()) {
        EXPECT_LT(first(kWriteParameters), first(kWriteKeyTable)) << "the record goes before the key table";
    }
    const int oneSwitch = Count(kWriteParameters);
    mouse->ClearRequests();

    for (int index : {0, 1, 0}) {
        Combo().SelectItem(index);
    }
    ASSERT_TRUE(WaitFor([&] { return mouse->Memory()[kStage1Position] == 55; }, 2000));
    EXPECT_EQ(Count(kWriteParameters), oneSwitch) << "three choices within 400 ms make one switch";
    EXPECT_EQ(StoredList()["profileselect"].asInt(), 0);
}

TEST_F(MainWndProfileTest, ADamagedListIsKeptAsideAndTheUserIsToldOnce) {
    fs::create_directories(Folder());
    std::ofstream(Folder() + "ProfileList.ini") << "{\"profilelist\": [{\"profilename\": \"Gam";
    Open();
    EXPECT_EQ(messages, std::vector<std::string>{Text("profile_damaged_set_aside")});
    int kept = 0;
    for (const auto& entry : fs::directory_iterator(Folder())) {
        kept += entry.path().filename().string().rfind("ProfileList.ini.damaged-", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(ComboTexts(), std::vector<std::string>{"profile1"});

    messages.clear();
    std::ofstream(Folder() + "ProfileList.ini", std::ios::trunc) << "[";
    Click("device_add_btn");
    ASSERT_TRUE(WaitFor([&] { return !messages.empty(); }, 1000)) << "damaged while the program runs";
    EXPECT_EQ(messages, std::vector<std::string>{Text("profile_damaged_set_aside")});
    EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"profile1", "profile2"}));
    EXPECT_EQ(StoredList()["profilelist"].size(), 2u);
}

}  // namespace
