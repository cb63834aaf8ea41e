#include "tests/support/debug_capture.h"
#include "tests/support/menu_choice.h"
#include "tests/support/qt_application.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/image_attribute.h"
#include "ui/toolkit/menu_wnd.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/tray_icon.h"
#include "ui/toolkit/ui_parse.h"
#include "ui/toolkit/window_impl_base.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <fstream>

namespace {

using namespace ui;

constexpr unsigned kTrayTest = WM_USER + 1;

// A window over an inline skin that records every notification as "type:sender[:wParam]".
class CSkinWnd : public WindowImplBase {
public:
    explicit CSkinWnd(std::string skin) : skin_(std::move(skin)) {}
    std::string GetWindowClassName() const override { return "SkinWnd"; }
    std::string GetSkinFile() override { return skin_; }
    void Notify(TNotifyUI& msg) override {
        if (msg.sType == kNotifyWindowInit || msg.sType == kNotifyWindowSize) {
            return;
        }
        notes.push_back(msg.sType + ":" + (msg.pSender != nullptr ? msg.pSender->GetName() : "") + ":" +
                        std::to_string(msg.wParam));
    }
    LRESULT MessageHandler(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled) override {
        if (message == WM_MENUCLICK) {
            std::unique_ptr<CMenuCmd> command(reinterpret_cast<CMenuCmd*>(lParam));
            menuChoices.push_back(command->name);
            handled = true;
        } else if (message == kTrayTest) {
            trayClicks.push_back(static_cast<unsigned>(lParam));
            handled = true;
        }
        return WindowImplBase::MessageHandler(message, wParam, lParam, handled);
    }
    CControlUI* Find(const std::string& name) { return m_pm.FindControl(name); }
    std::vector<std::string> notes;
    std::vector<std::string> menuChoices;
    std::vector<unsigned> trayClicks;

private:
    std::string skin_;
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureQtApplication(); }
    std::unique_ptr<CSkinWnd> Open(const std::string& body) {
        auto wnd = std::make_unique<CSkinWnd>("<Window size=\"400,300\"><VerticalLayout name=\"root\">" +
                                              body + "</VerticalLayout></Window>");
        wnd->Create(nullptr, "t", WS_POPUP | WS_VISIBLE, 0);
        wnd->GetPaintManager().UpdateLayout();
        return wnd;
    }
};

TEST_F(ControlsTest, SliderReportsMovesWhileDraggingAndTheValueOnRelease) {
    auto wnd =
        Open("<Slider name=\"s\" height=\"20\" width=\"216\" min=\"0\" max=\"100\" thumbsize=\"16,16\"/>");
    auto* slider = static_cast<CSliderUI*>(wnd->Find("s")->GetInterface("Slider"));
    CPaintManagerUI& pm = wnd->GetPaintManager();
    const int y = slider->GetPos().center().y();
    // The track spans x 8..208 for 0..100: two pixels per step.
    pm.OnButtonDown(QPoint(8, y), false, 0);
    pm.OnMouseMove(QPoint(48, y), 0);
    pm.OnMouseMove(QPoint(108, y), 0);
    pm.OnButtonUp(QPoint(108, y), false, 0);
    EXPECT_EQ(wnd->notes, (std::vector<std::string>{"movevaluechanged:s:20", "movevaluechanged:s:50",
                                                    "valuechanged:s:50"}));
    wnd->notes.clear();
    slider->SetValue(500);
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_TRUE(wnd->notes.empty());
    slider->SetEnabled(false);
    pm.OnButtonDown(QPoint(20, y), false, 0);
    pm.OnButtonUp(QPoint(20, y), false, 0);
    EXPECT_TRUE(wnd->notes.empty());
}

TEST_F(ControlsTest, NumberEditTakesDigitsClampsOnLeavingAndReportsEachStep) {
    auto wnd = Open(
        "<Edit name=\"e\" height=\"30\" numberonly=\"true\" minvalue=\"100\" maxvalue=\"26000\" "
        "maxchar=\"5\"/>"
        "<Button name=\"b\" height=\"30\"/>");
    auto* edit = static_cast<CEditUI*>(wnd->Find("e")->GetInterface("Edit"));
    QLineEdit* native = edit->GetNativeEdit();
    ASSERT_NE(native, nullptr);
    wnd->GetPaintManager().SetFocus(edit);
    for (const char* key : {"9", "a", "9", "9", "9", "9", "9"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, key);
        QCoreApplication::sendEvent(native, &press);
    }
    EXPECT_EQ(edit->GetText(), "99999");
    wnd->GetPaintManager().SetFocus(wnd->Find("b"));
    EXPECT_EQ(edit->GetText(), "26000");
    ASSERT_GE(wnd->notes.size(), 3u);
    EXPECT_EQ(wnd->notes.front(), "setfocus:e:0");
    EXPECT_EQ(wnd->notes[1], "textchanged:e:0");
    EXPECT_EQ(wnd->notes.back(), "killfocus:e:0");
    EXPECT_EQ(std::count(wnd->notes.begin(), wnd->notes.end(), "textchanged:e:0"), 5);
    wnd->notes.clear();
    edit->SetText("7");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(native, &enter);
    EXPECT_EQ(edit->GetText(), "100");
    EXPECT_EQ(wnd->notes, std::vector<std::string>{"return:e:0"});
}

TEST_F(ControlsTest, OptionsOfAGroupExcludeEachOtherAndSelectTheirBoundPage) {
    auto wnd = Open(
        "<HorizontalLayout height=\"30\"><Option name=\"o1\" group=\"g\" bindtabname=\"tabs\" "
        "bindtabindex=\"0\"/>"
        "<Option name=\"o2\" group=\"g\" bindtabname=\"tabs\" bindtabindex=\"1\"/>"
        "<CheckBox name=\"c\"/></HorizontalLayout>"
        "<TabLayout name=\"tabs\"><Label name=\"p0\"/><Label name=\"p1\"/></TabLayout>");
    auto* o1 = static_cast<COptionUI*>(wnd->Find("o1")->GetInterface("Option"));
    auto* o2 = static_cast<COptionUI*>(wnd->Find("o2")->GetInterface("Option"));
    auto* tabs = static_cast<CTabLayoutUI*>(wnd->Find("tabs")->GetInterface("TabLayout"));
    o1->Selected(true);
    o2->Activate();
    EXPECT_FALSE(o1->IsSelected());
    EXPECT_TRUE(o2->IsSelected());
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_FALSE(wnd->Find("p0")->IsVisible());
    EXPECT_TRUE(wnd->Find("p1")->IsVisible());
    o2->Activate();
    EXPECT_TRUE(o2->IsSelected());
    auto* check = static_cast<CCheckBoxUI*>(wnd->Find("c")->GetInterface("CheckBox"));
    check->Activate();
    check->Activate();
    EXPECT_FALSE(check->GetCheck());
    EXPECT_EQ(std::count(wnd->notes.begin(), wnd->notes.end(), "selectchanged:c:0"), 2);
    EXPECT_FALSE(tabs->SelectItem(5));
    EXPECT_EQ(tabs->GetCurSel(), 1);
}

TEST_F(ControlsTest, ListsAndCombosReportSelectionClicksAndActivation) {
    auto wnd = Open(
        "<List name=\"l\" height=\"120\"><ListLabelElement name=\"a\" text=\"A\"/>"
        "<ListContainerElement name=\"b\"><Label name=\"inner\" text=\"B\"/></ListContainerElement></List>"
        "<Combo name=\"cb\" height=\"30\"><ListLabelElement text=\"x\"/><ListLabelElement "
        "text=\"y\"/></Combo>");
    CPaintManagerUI& pm = wnd->GetPaintManager();
    const QPoint onB = wnd->Find("inner")->GetPos().center();
    pm.OnButtonDown(onB, false, 0);
    pm.OnButtonUp(onB, false, 0);
    pm.OnDoubleClick(onB, 0);
    pm.OnButtonUp(onB, false, 0);
    EXPECT_EQ(wnd->notes[0], "itemselect:l:1");
    EXPECT_EQ(wnd->notes[1], "itemclick:b:0");
    EXPECT_NE(std::find(wnd->notes.begin(), wnd->notes.end(), "itemactivate:b:0"), wnd->notes.end());
    auto* combo = static_cast<CComboUI*>(wnd->Find("cb")->GetInterface("Combo"));
    wnd->notes.clear();
    EXPECT_TRUE(combo->SelectItem(1));
    EXPECT_TRUE(combo->SelectItem(1));
    EXPECT_FALSE(combo->SelectItem(2));
    EXPECT_EQ(combo->GetText(), "y");
    EXPECT_EQ(wnd->notes, std::vector<std::string>{"itemselect:cb:1"});
}

TEST_F(ControlsTest, PaletteReportsTheChosenColourOnRelease) {
    auto wnd = Open("<ColorPalette name=\"p\" height=\"200\" barheight=\"12\"/>");
    CPaintManagerUI& pm = wnd->GetPaintManager();
    const QRect pos = wnd->Find("p")->GetPos();
    pm.OnButtonDown(pos.topLeft(), false, 0);
    pm.OnMouseMove(pos.topLeft() + QPoint(1, 1), 0);
    EXPECT_TRUE(wnd->notes.empty());
    pm.OnButtonUp(pos.topLeft(), false, 0);
    ASSERT_EQ(wnd->notes.size(), 1u);
    EXPECT_EQ(wnd->notes[0], "colorchanged:p:" + std::to_string(0xFFFF0000u));
    auto* palette = static_cast<CColorPaletteUI*>(wnd->Find("p")->GetInterface("ColorPalette"));
    palette->SetSelectColor(0xFF0099FF);
    EXPECT_EQ(palette->GetSelectColor(), 0xFF0099FFu);
}

TEST_F(ControlsTest, DpiIsTakenWhenPositiveAndScalesTheWindowAndItsSizes) {
    auto wnd = Open("<Button name=\"b\" width=\"40\" height=\"30\" padding=\"8,0,0,0\"/>");
    CPaintManagerUI& pm = wnd->GetPaintManager();
    EXPECT_FALSE(pm.SetDPI(0));
    EXPECT_FALSE(pm.SetDPI(-96));
    EXPECT_EQ(pm.GetDPI(), 96);
    ASSERT_TRUE(pm.SetDPI(144));
    EXPECT_EQ(wnd->GetWidget()->size(), QSize(600, 450));
    EXPECT_EQ(wnd->Find("b")->GetFixedWidth(), 60);
    EXPECT_EQ(wnd->Find("b")->GetPadding().left(), 12);
    EXPECT_EQ(pm.GetFont(-1).pixelSize(), 20);
    CPaintManagerUI::SetAllDPI(96);
    EXPECT_EQ(wnd->GetWidget()->size(), QSize(400, 300));
    for (int dpi : {48, 72, 96, 120, 144, 168, 192}) {
        EXPECT_TRUE(CDPI::IsSupported(dpi)) << dpi;
    }
    for (int dpi : {0, 100, 97, 240}) {
        EXPECT_FALSE(CDPI::IsSupported(dpi)) << dpi;
    }
}

TEST_F(ControlsTest, MenusReportTheChosenItemByNameAndTheTrayPostsItsClicks) {
    QTemporaryDir skin;
    std::ofstream(skin.path().toStdString() + "/menu.xml")
        << "<Menu><MenuElement name=\"about_menu\" text=\"About\"/><MenuElement line=\"true\"/>"
           "<MenuElement name=\"off\" text=\"Off\" enabled=\"false\"/><MenuElement name=\"exit\" "
           "text=\"Exit\"/></Menu>";
    CPaintManagerUI::SetResourcePath(skin.path().toStdString());
    auto wnd = Open("");
    CMenuWnd* menu = CMenuWnd::CreateMenu(wnd->GetHWND(), "menu.xml", QPoint(10, 10), eMenuAlignment_Left);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetItemNames(), (std::vector<std::string>{"about_menu", "off", "exit"}));
    EXPECT_FALSE(ChooseMenuItem(*menu, "off"));
    EXPECT_TRUE(ChooseMenuItem(*menu, "exit"));
    ASSERT_TRUE(WaitFor([&] { return !wnd->menuChoices.empty() && CMenuWnd::GetOpenMenus().empty(); }));
    EXPECT_EQ(wnd->menuChoices, std::vector<std::string>{"exit"});
    EXPECT_EQ(CMenuWnd::CreateMenu(wnd->GetHWND(), "missing.xml", QPoint(), 0), nullptr);

    CTrayIcon tray;
    EXPECT_FALSE(tray.Click(WM_LBUTTONUP));
    ASSERT_TRUE(tray.CreateTrayIcon(wnd->GetHWND(), "none.png", "tip", kTrayTest));
    EXPECT_TRUE(tray.Click(WM_LBUTTONUP));
    EXPECT_TRUE(tray.Click(WM_RBUTTONUP));
    ASSERT_TRUE(WaitFor([&] { return wnd->trayClicks.size() == 2; }));
    EXPECT_EQ(wnd->trayClicks, (std::vector<unsigned>{WM_LBUTTONUP, WM_RBUTTONUP}));
}

TEST(SkinValuesTest, ColoursAndImageStringsParseAndBadTextFallsBack) {
    EXPECT_EQ(ParseColor("#FF0099FF"), 0xFF0099FFu);
    EXPECT_EQ(ParseColor("#0099FF"), 0xFF0099FFu);
    EXPECT_EQ(ParseColor("0x800099FF"), 0x800099FFu);
    EXPECT_EQ(ParseColor("#GG0099FF", 7), 7u);
    EXPECT_EQ(ParseColor("", 7), 7u);
    const CImageAttribute image = CImageAttribute::Parse(
        "file='power/powered.png' source='0,0,20,10' dest='1,2,21,12' corner='2,2,2,2' fade='300'");
    EXPECT_EQ(image.file, "power/powered.png");
    EXPECT_EQ(image.source, QRect(0, 0, 20, 10));
    EXPECT_EQ(image.dest, QRect(1, 2, 20, 10));
    EXPECT_EQ(image.corner, QMargins(2, 2, 2, 2));
    EXPECT_EQ(image.fade, 255);
    const CImageAttribute res = CImageAttribute::Parse("res='pulse' fade='80'");
    EXPECT_TRUE(res.fromRes);
    EXPECT_EQ(res.fade, 80);
    EXPECT_EQ(CImageAttribute::Parse("plain.png").file, "plain.png");
    EXPECT_EQ(CImageAttribute::Parse("file='unterminated").file, "");
}

}  // namespace
