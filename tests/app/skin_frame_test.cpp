#include "app/skin_frame.h"
#include "app/main_wnd.h"
#include "app/skin_settings.h"
#include "tests/support/debug_capture.h"
#include "tests/support/modal_window.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/controls/skin_change_observer.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/tab_layout_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using app::CSkinFrame;
using app::CSkinSettings;
using app::SSkinImage;

// What the main window would receive.
class CRecordingReceiver : public SkinChangeReceiver {
public:
    CRecordingReceiver() { GetSkinChangeObserver().AddListener(this); }
    ~CRecordingReceiver() override { Unsubscribe(); }
    int OnPublish(SkinChangedParam param) override {
        received.push_back(param.isColor ? "colour " + std::to_string(param.color) : "image " + param.image);
        return 1;
    }
    std::vector<std::string> received;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class SkinFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(LoadProgramSkin());
        ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
    }
    void TearDown() override {
        if (ui::HWND open = CSkinFrame::OpenWindow()) {
            ui::SendMessage(open, ui::WM_CLOSE);
        }
        ui::CResourceManager::GetInstance().Release();
    }

    CSkinFrame& Open() {
        CSkinFrame* frame = CSkinFrame::Open(
            nullptr, nullptr, [this](ui::HWND) { return picked; }, CSkinSettings(iniFile));
        EXPECT_NE(frame, nullptr);
        return *frame;
    }
    void Click(CSkinFrame& frame, const std::string& name) {
        ASSERT_TRUE(frame.GetPaintManager().FindControl(name)->Activate()) << name;
    }

    CTempDataHome home;
    std::string iniFile = home.Path("main.ini");
    std::string picked;
    CRecordingReceiver receiver;
};

TEST_F(SkinFrameTest, EachTileKindPublishesAndWritesMainIniByItsRule) {
    CDebugCapture capture;
    const std::string colour = "colour " + std::to_string(0xFF15171Cu);
    const struct {
        const char* what;
        std::vector<std::string> clicks;
        std::string picked;
        std::vector<std::string> published;
        std::string ini;  // "" when the file is not written
    } cases[] = {
        {"picture",
         {"skin_image_btn"},
         "",
         {"image skin/bg_1.png"},
         "[SKINIMAGE]\nFLAGS=1\nIMAGE=skin/bg_1.png\n"},
        {"colour after a picture",
         {"skin_image_btn", "skin_color", "skin_color_btn"},
         "",
         {"image skin/bg_1.png", colour},
         "[SKINIMAGE]\nFLAGS=1\nIMAGE=skin/bg_1.png\n"},
        {"colour alone", {"skin_color", "skin_color_btn"}, "", {colour}, ""},
        {"reset after a picture",
         {"skin_image_btn", "skin_reset"},
         "",
         {"image skin/bg_1.png", "image common/background.png"},
         "[SKINIMAGE]\nFLAGS=0\nIMAGE=common/background.png\n"},
        {"own picture", {"skin_Custom"}, "/pictures/mine.png", {"image /pictures/mine.png"}, ""},
        {"own picture cancelled", {"skin_Custom"}, "", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(iniFile);
        receiver.received.clear();
        picked = c.picked;
        CSkinFrame& frame = Open();
        for (const std::string& click : c.clicks) {
            Click(frame, click);
        }
        EXPECT_EQ(receiver.received, c.published);
        EXPECT_EQ(ReadFile(iniFile), c.ini);
    }
    EXPECT_EQ(capture.Text().find("has no control named"), std::string::npos) << capture.Text();
}

TEST_F(SkinFrameTest, ResetWritesFlagsZeroEvenOverTheDefaultPictureAndKeepsOtherSections) {
    std::ofstream(iniFile) << "[OTHER]\nKEY=kept\n[SKINIMAGE]\nIMAGE=common/background.png\nFLAGS=1\n";
    CSkinFrame& frame = Open();
    Click(frame, "skin_reset");
    EXPECT_EQ(ReadFile(iniFile), "[OTHER]\nKEY=kept\n[SKINIMAGE]\nIMAGE=common/background.png\nFLAGS=0\n");
    const auto stored = CSkinSettings(iniFile).Read();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->flags, 0);
    EXPECT_EQ(stored->image, "common/background.png");
}

TEST_F(SkinFrameTest, ThePagesSwitchAndThePopupOpensOnceUnderItsAnchor) {
    CSkinFrame& frame = Open();
    auto* tab = static_cast<ui::CTabLayoutUI*>(
        frame.GetPaintManager().FindControl("skin_tab")->GetInterface("TabLayout"));
    Click(frame, "skin_color");
    EXPECT_EQ(tab->GetCurSel(), 1);
    EXPECT_TRUE(SaveRender(frame.GetPaintManager(), *frame.GetWidget(), "skin_chooser_colours.png"));
    Click(frame, "skin_image");
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_TRUE(SaveRender(frame.GetPaintManager(), *frame.GetWidget(), "skin_chooser_pictures.png"));
    EXPECT_EQ(frame.GetWidget()->windowTitle(), "skinframe");
    // A second opening replaces the first.
    Open();
    int shown = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        shown += widget->isVisible() && widget->objectName() == app::kSkinFrameClassName ? 1 : 0;
    }
    EXPECT_EQ(shown, 1);
}

TEST_F(SkinFrameTest, OnlyPicturesThatAreThereAreRestored) {
    const std::string skin = ProgramDir() + "/skin/";
    const std::string own = home.Path("own.png");
    std::ofstream(own) << "png";
    const struct {
        SSkinImage stored;
        std::optional<std::string> restored;
    } cases[] = {
        {{1, "skin/bg_2.png"}, "skin/bg_2.png"},
        {{0, "common/background.png"}, "common/background.png"},
        {{1, own}, own},
        {{1, home.Path("gone.png")}, std::nullopt},
        {{1, "skin/none.png"}, std::nullopt},
        {{1, "../skin/skin/bg_2.png"}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CSkinSettings::RestorableImage(c.stored, skin), c.restored) << c.stored.image;
    }
    EXPECT_FALSE(CSkinSettings(home.Path("missing.ini")).Read());
}

TEST_F(SkinFrameTest, TheMainWindowStartsWithThePictureOfMainIni) {
    ASSERT_TRUE(CSkinSettings().Write({1, "skin/bg_3.png"}));
    auto wnd = std::make_unique<app::CMainWnd>();
    ASSERT_NE(wnd->Create(nullptr, "Norvik 400100 Gaming Mouse", 0, 0, 0, 0, 1000, 640), nullptr);
    ASSERT_TRUE(WaitFor([&] { return wnd->IsVisible(); }));
    EXPECT_EQ(wnd->GetPaintManager().FindControl("root")->GetBkImage(), "skin/bg_3.png");
    EXPECT_TRUE(SaveRender(wnd->GetPaintManager(), *wnd->GetWidget(), "main_window_skin_restored.png"));
}

}  // namespace
