#include "app/about_wnd.h"
#include "net/firmware_catalogue.h"
#include "tests/support/debug_capture.h"
#include "tests/support/modal_window.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "ui/toolkit/control_ui.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using app::CAboutWnd;

class COwnerWnd : public ui::WindowImplBase {
public:
    std::string GetWindowClassName() const override { return "OwnerWnd"; }
    std::string GetSkinFile() override { return "XML_MAIN"; }
};

int VisibleAboutWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        count += widget->isVisible() && widget->objectName() == app::kAboutWndClassName ? 1 : 0;
    }
    return count;
}

class AboutWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(LoadProgramSkin());
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml"));
        ASSERT_NE(owner.Create(nullptr, "owner", ui::WS_VISIBLE, 0, 0, 0, 1000, 640), nullptr);
        ASSERT_TRUE(WaitFor([this] { return owner.IsVisible(); }));
    }
    void TearDown() override {
        owner.DestroyWindow();
        ui::CResourceManager::GetInstance().Release();
    }

    COwnerWnd owner;
};

TEST_F(AboutWndTest, ShowsTheTranslatedVersionOfTheProgramRow) {
    CDebugCapture capture;
    std::string version;
    QSize size;
    WhenShown(app::kAboutWndClassName, [&](ui::CHostWidget& host) {
        ui::CPaintManagerUI& pm = *host.GetPaintManager();
        version = pm.FindControl("software_ver_label")->GetText();
        size = host.size();
        EXPECT_FALSE(pm.FindControl("text_test")->IsVisible());
        EXPECT_EQ(host.windowModality(), Qt::ApplicationModal);
        EXPECT_TRUE(SaveRender(host, "about_window.png"));
        pm.FindControl("closebtn")->Activate();
    });
    EXPECT_TRUE(CAboutWnd::OpenAboutWindow(owner.GetHWND()));
    const std::string programVersion =
        CFirmwareCatalogue::Rows()[CFirmwareCatalogue::kProgramRow].versionText;
    EXPECT_EQ(programVersion, "Ver1.0");
    EXPECT_EQ(version, *ui::CResourceManager::GetInstance().GetText("software_rev_text") + programVersion);
    EXPECT_EQ(size, QSize(800, 572));
    EXPECT_EQ(CAboutWnd::OpenWindow(), nullptr);
    // Every control the window and its tests look up is in the skin, and every image loads.
    EXPECT_EQ(capture.Text().find("has no control named"), std::string::npos) << capture.Text();
    EXPECT_EQ(capture.Text().find("cannot load image"), std::string::npos) << capture.Text();
}

TEST_F(AboutWndTest, ASecondRequestWhileOpenOpensNothing) {
    bool second = true;
    int shown = 0;
    bool remembered = false;
    WhenShown(app::kAboutWndClassName, [&](ui::CHostWidget& host) {
        remembered = CAboutWnd::OpenWindow() == host.GetWindow();
        second = CAboutWnd::OpenAboutWindow(owner.GetHWND());
        shown = VisibleAboutWindows();
        host.GetPaintManager()->FindControl("closebtn")->Activate();
    });
    EXPECT_TRUE(CAboutWnd::OpenAboutWindow(owner.GetHWND()));
    EXPECT_TRUE(remembered);
    EXPECT_FALSE(second);
    EXPECT_EQ(shown, 1);
    // Once closed, the next request opens it again; the system close command closes it too.
    WhenShown(app::kAboutWndClassName, [](ui::CHostWidget& host) { host.close(); });
    EXPECT_TRUE(CAboutWnd::OpenAboutWindow(owner.GetHWND()));
    EXPECT_EQ(VisibleAboutWindows(), 0);
}

TEST_F(AboutWndTest, MaximiseAndRestoreSwapTheirButtons) {
    bool maxShown = true;
    bool restoreShown = false;
    bool backMax = false;
    bool backRestore = true;
    WhenShown(app::kAboutWndClassName, [&](ui::CHostWidget& host) {
        ui::CPaintManagerUI& pm = *host.GetPaintManager();
        pm.FindControl("maxbtn")->Activate();
        EXPECT_TRUE(WaitFor([&] { return host.isMaximized(); }));
        maxShown = pm.FindControl("maxbtn")->IsVisible();
        restoreShown = pm.FindControl("restorebtn")->IsVisible();
        pm.FindControl("restorebtn")->Activate();
        EXPECT_TRUE(WaitFor([&] { return !host.isMaximized(); }));
        backMax = pm.FindControl("maxbtn")->IsVisible();
        backRestore = pm.FindControl("restorebtn")->IsVisible();
        pm.FindControl("closebtn")->Activate();
    });
    CAboutWnd::OpenAboutWindow(owner.GetHWND());
    EXPECT_FALSE(maxShown);
    EXPECT_TRUE(restoreShown);
    EXPECT_TRUE(backMax);
    EXPECT_FALSE(backRestore);
}

TEST_F(AboutWndTest, OpensAtTheOwnersDpi) {
    owner.GetPaintManager().SetDPI(144);
    QSize size;
    WhenShown(app::kAboutWndClassName, [&](ui::CHostWidget& host) {
        size = host.size();
        host.GetPaintManager()->FindControl("closebtn")->Activate();
    });
    CAboutWnd::OpenAboutWindow(owner.GetHWND());
    EXPECT_EQ(size, QSize(1200, 858));
}

}  // namespace
