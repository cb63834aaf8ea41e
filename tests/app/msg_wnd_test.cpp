#include "app/msg_wnd.h"
#include "tests/support/debug_capture.h"
#include "tests/support/modal_window.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "ui/toolkit/control_ui.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using app::CMsgWnd;

// A plain owner window built from the main skin, so the message has something to centre on.
class COwnerWnd : public ui::WindowImplBase {
public:
    std::string GetWindowClassName() const override { return "OwnerWnd"; }
    std::string GetSkinFile() override { return "XML_MAIN"; }
};

class MsgWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(LoadProgramSkin());
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml"));
        ASSERT_NE(owner.Create(nullptr, "owner", ui::WS_VISIBLE, 0, 0, 0, 640, 480), nullptr);
        owner.CenterWindow();
        ASSERT_TRUE(WaitFor([this] { return owner.IsVisible(); }));
    }
    void TearDown() override {
        owner.DestroyWindow();
        ui::CResourceManager::GetInstance().Release();
    }

    COwnerWnd owner;
};

struct SLayoutCase {
    int layout;
    const char* clicked;
    int result;
    bool cancelShown;
};

TEST_F(MsgWndTest, EachButtonOfEachLayoutGivesItsResult) {
    const SLayoutCase cases[] = {
        {CMsgWnd::kConfirmAndCancel, "confirm_btn", 1, true},
        {CMsgWnd::kConfirmAndCancel, "cancel_btn", 0, true},
        {CMsgWnd::kConfirmAndCancel, "closebtn", 0, true},
        {CMsgWnd::kConfirmOnly, "confirm_btn", 1, false},
        {CMsgWnd::kConfirmOnly, "closebtn", 0, false},
        // Any other layout keeps the skin's buttons, both of them.
        {7, "cancel_btn", 0, true},
    };
    for (const SLayoutCase& c : cases) {
        SCOPED_TRACE(std::string("layout ") + std::to_string(c.layout) + ", " + c.clicked);
        bool confirmShown = false;
        bool cancelShown = !c.cancelShown;
        WhenShown(app::kMsgWndClassName, [&](ui::CHostWidget& host) {
            ui::CPaintManagerUI& pm = *host.GetPaintManager();
            confirmShown = pm.FindControl("confirm_btn")->IsVisible();
            cancelShown = pm.FindControl("cancel_btn")->IsVisible();
            EXPECT_EQ(host.windowModality(), Qt::ApplicationModal);
            EXPECT_TRUE(pm.FindControl(c.clicked)->Activate());
        });
        EXPECT_EQ(CMsgWnd::ShowMessage(owner.GetHWND(), "", "message_text_22", true, 96, c.layout), c.result);
        EXPECT_TRUE(confirmShown);
        EXPECT_EQ(cancelShown, c.cancelShown);
        EXPECT_EQ(ShownWindow(app::kMsgWndClassName), nullptr);
    }
}

TEST_F(MsgWndTest, TheSystemCloseCommandAnswersNo) {
    WhenShown(app::kMsgWndClassName, [](ui::CHostWidget& host) { host.close(); });
    EXPECT_EQ(CMsgWnd::ShowMessage(owner.GetHWND(), "", "message_text_7", true, 96, CMsgWnd::kConfirmOnly),
              0);
}

TEST_F(MsgWndTest, TitleAndTextAreShownCentredOnTheOwner) {
    CDebugCapture capture;
    std::string title;
    std::string text;
    std::string literal;
    QPoint centre;
    WhenShown(app::kMsgWndClassName, [&](ui::CHostWidget& host) {
        ui::CPaintManagerUI& pm = *host.GetPaintManager();
        title = pm.FindControl("MessageTitle")->GetText();
        text = pm.FindControl("MessageText")->GetText();
        centre = host.frameGeometry().center();
        EXPECT_TRUE(SaveRender(host, "msg_window_confirm.png"));
        pm.FindControl("confirm_btn")->Activate();
    });
    CMsgWnd::ShowMessage(owner.GetHWND(), "", "message_text_22", true, 96, CMsgWnd::kConfirmAndCancel);
    // An empty title keeps the skin's own; a key shows its translation.
    EXPECT_EQ(title, *ui::CResourceManager::GetInstance().GetText("message_title"));
    EXPECT_EQ(text, *ui::CResourceManager::GetInstance().GetText("message_text_22"));
    EXPECT_LE((centre - owner.GetWidget()->frameGeometry().center()).manhattanLength(), 2);

    WhenShown(app::kMsgWndClassName, [&](ui::CHostWidget& host) {
        ui::CPaintManagerUI& pm = *host.GetPaintManager();
        title = pm.FindControl("MessageTitle")->GetText();
        literal = pm.FindControl("MessageText")->GetText();
        pm.FindControl("closebtn")->Activate();
    });
    // A literal text is shown as given, even when it happens to be a key of the table.
    CMsgWnd::ShowMessage(owner.GetHWND(), "Norvik", "message_text_7", false, 96, CMsgWnd::kConfirmOnly);
    EXPECT_EQ(title, "Norvik");
    EXPECT_EQ(literal, "message_text_7");
    // Every control the window and its tests look up is in the skin, and every image loads.
    EXPECT_EQ(capture.Text().find("has no control named"), std::string::npos) << capture.Text();
    EXPECT_EQ(capture.Text().find("cannot load image"), std::string::npos) << capture.Text();
}

TEST_F(MsgWndTest, TheNoticeRendersWithOneButton) {
    WhenShown(app::kMsgWndClassName, [](ui::CHostWidget& host) {
        EXPECT_TRUE(SaveRender(host, "msg_window_notice.png"));
        host.GetPaintManager()->FindControl("confirm_btn")->Activate();
    });
    EXPECT_EQ(CMsgWnd::ShowMessage(owner.GetHWND(), "", "message_text_7", true, 96, CMsgWnd::kConfirmOnly),
              1);
}

TEST_F(MsgWndTest, AnUnsupportedDpiIsRefusedAndTheOwnerKeepsItsOwn) {
    struct SDpiCase {
        int asked;
        int used;
        bool refused;
    };
    for (const SDpiCase c : {SDpiCase{100, 96, true}, SDpiCase{0, 96, true}, SDpiCase{144, 144, false},
                             SDpiCase{48, 48, false}}) {
        SCOPED_TRACE(c.asked);
        CDebugCapture capture;
        int dpi = 0;
        QSize size;
        WhenShown(app::kMsgWndClassName, [&](ui::CHostWidget& host) {
            dpi = host.GetPaintManager()->GetDPI();
            size = host.size();
            host.GetPaintManager()->FindControl("closebtn")->Activate();
        });
        CMsgWnd::ShowMessage(owner.GetHWND(), "", "message_text_5", true, c.asked, CMsgWnd::kConfirmOnly);
        EXPECT_EQ(dpi, c.used);
        EXPECT_EQ(size, QSize(400 * c.used / 96, 216 * c.used / 96));
        EXPECT_EQ(capture.Text().find("MSG_WND DPI SET ERROR") != std::string::npos, c.refused);
        EXPECT_EQ(owner.GetPaintManager().GetDPI(), 96);
    }
}

}  // namespace
