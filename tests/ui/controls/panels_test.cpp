#include "tests/ui/controls/controls_fixture.h"

#include <QPainter>

namespace {

using ui::CDeviceKeyButtonUI;
using ui::CSelectPanelUI;

class SelectPanelTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        // Three keys in a row at x 20..60, 80..120, 140..180 and y 20..60; a label that is no key.
        wnd = Open(
            "<SelectPanel name=\"panel\" width=\"400\" height=\"200\">"
            "<DeviceKeyButton name=\"key_0\" float=\"true\" pos=\"20,20,60,60\"/>"
            "<DeviceKeyButton name=\"key_1\" float=\"true\" pos=\"80,20,120,60\"/>"
            "<DeviceKeyButton name=\"key_2\" float=\"true\" pos=\"140,20,180,60\"/>"
            "<Label name=\"caption\" float=\"true\" pos=\"200,20,260,60\"/>"
            "</SelectPanel>");
        panel = wnd->Find<CSelectPanelUI>("panel", "SelectPanel");
        ASSERT_NE(panel, nullptr);
        for (int i = 0; i < 3; ++i) {
            keys.push_back(wnd->Find<CDeviceKeyButtonUI>("key_" + std::to_string(i), "DeviceKeyButton"));
            ASSERT_NE(keys.back(), nullptr);
        }
    }
    void Drag(QPoint from, QPoint to) {
        ui::CPaintManagerUI& pm = wnd->GetPaintManager();
        pm.OnButtonDown(from, false, 0);
        pm.OnMouseMove((from + to) / 2, 0);
        pm.OnMouseMove(to, 0);
        pm.OnButtonUp(to, false, 0);
    }
    std::vector<bool> Selection() const {
        std::vector<bool> selected;
        for (const CDeviceKeyButtonUI* key : keys) {
            selected.push_back(key->IsSelected());
        }
        return selected;
    }

    std::unique_ptr<CControlsWnd> wnd;
    CSelectPanelUI* panel = nullptr;
    std::vector<CDeviceKeyButtonUI*> keys;
};

TEST_F(SelectPanelTest, TheBandSelectsTheKeysItTouchesInEitherDirection) {
    EXPECT_EQ(panel->GetClass(), "SelectPanel");
    Drag(QPoint(10, 100), QPoint(90, 40));
    EXPECT_EQ(Selection(), (std::vector<bool>{true, true, false}));
    EXPECT_EQ(wnd->notes, std::vector<std::string>{"click_select_end:panel"});
    EXPECT_EQ(panel->GetSelectionRect(), QRect(QPoint(10, 40), QPoint(90, 100)));
    // A new band replaces the selection.
    wnd->notes.clear();
    Drag(QPoint(190, 10), QPoint(150, 70));
    EXPECT_EQ(Selection(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(wnd->notes, std::vector<std::string>{"click_select_end:panel"});
}

TEST_F(SelectPanelTest, ABandThatTouchesNoKeyUnselectsAllAndStillReports) {
    Drag(QPoint(10, 10), QPoint(170, 70));
    ASSERT_EQ(Selection(), (std::vector<bool>{true, true, true}));
    wnd->notes.clear();
    Drag(QPoint(10, 100), QPoint(300, 180));
    EXPECT_EQ(Selection(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(wnd->notes, std::vector<std::string>{"click_select_end:panel"});
    // A click without a move is a band of nothing.
    Drag(QPoint(10, 10), QPoint(170, 70));
    wnd->notes.clear();
    wnd->GetPaintManager().OnButtonDown(QPoint(300, 150), false, 0);
    wnd->GetPaintManager().OnButtonUp(QPoint(300, 150), false, 0);
    EXPECT_EQ(Selection(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(wnd->notes, std::vector<std::string>{"click_select_end:panel"});
}

TEST_F(SelectPanelTest, ADisabledPanelStartsNoBand) {
    panel->SetEnabled(false);
    Drag(QPoint(10, 10), QPoint(170, 70));
    EXPECT_EQ(Selection(), (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(wnd->notes.empty());
}

// Paints a circle progress of 100 x 100 on its own and returns the picture.
QImage PaintCircle(int min, int max, int value) {
    ui::CCircleProgressUI circle;
    circle.SetAttribute("bkcolor", "#FF202020");
    circle.SetAttribute("forecolor", "#FF0099FF");
    circle.SetAttribute("innercolor", "#FF101010");
    circle.SetMinValue(min);
    circle.SetMaxValue(max);
    circle.SetValue(value);
    circle.SetPos(QRect(0, 0, 100, 100));
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    circle.DoPaint(painter, QRect(0, 0, 100, 100));
    return image;
}

// The ring is 10 units wide: its middle is 5 units in from the edge. The top point sits just left
// of where the pie starts, so only a full ring covers it.
constexpr QPoint kTop(44, 5), kRight(95, 50), kBottom(50, 95), kLeft(5, 50), kCentre(50, 50);
const QColor kFore(0x00, 0x99, 0xFF), kBack(0x20, 0x20, 0x20), kInner(0x10, 0x10, 0x10);

TEST_F(ControlsTest, CircleProgressFillsTheRingClockwiseFromTheTop) {
    struct SCase {
        int min, max, value;
        std::vector<QColor> ring;  // top, right, bottom, left
    };
    const SCase cases[] = {
        {0, 100, 100, {kFore, kFore, kFore, kFore}},
        {0, 100, 0, {kBack, kBack, kBack, kBack}},
        {0, 100, 40, {kBack, kFore, kBack, kBack}},
        {0, 100, 60, {kBack, kFore, kFore, kBack}},
        {0, 4, 4, {kFore, kFore, kFore, kFore}},
        // The sweep counts from the minimum, so a full range still closes the ring.
        {50, 150, 150, {kFore, kFore, kFore, kFore}},
        // An empty range draws no pie.
        {10, 10, 10, {kBack, kBack, kBack, kBack}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.min) + ".." + std::to_string(c.max) + " at " + std::to_string(c.value));
        const QImage image = PaintCircle(c.min, c.max, c.value);
        const QPoint points[] = {kTop, kRight, kBottom, kLeft};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(image.pixelColor(points[i]), c.ring[static_cast<std::size_t>(i)]) << "point " << i;
        }
        EXPECT_EQ(image.pixelColor(kCentre), kInner);
    }
    EXPECT_EQ(ui::CCircleProgressUI().GetInnerColor(), 0xFFFFFFFFu);
}

TEST_F(ControlsTest, ComboEditRowBuildsItsContentAndNotesChanges) {
    auto wnd = Open(
        "<List name=\"actions\" height=\"200\">"
        "<ComboEditContainerElement name=\"row0\" height=\"32\" normalimage=\"x.png\" "
        "selectedimage=\"y.png\"/>"
        "<ComboEditContainerElement name=\"row1\" height=\"32\"/>"
        "</List>");
    auto* row = wnd->Find<ui::CComboEditContainerElementUI>("row0", "ComboEditContainerElement");
    auto* other = wnd->Find<ui::CComboEditContainerElementUI>("row1", "ComboEditContainerElement");
    ASSERT_NE(row, nullptr);
    ASSERT_NE(other, nullptr);
    ASSERT_NE(row->GetText1(), nullptr);
    ASSERT_NE(row->GetText2(), nullptr);
    ASSERT_NE(row->GetDelayEdit(), nullptr);
    EXPECT_EQ(row->GetClass(), "ComboEditContainerElement");
    EXPECT_TRUE(row->GetAttribute("normalimage").empty());
    EXPECT_NE(row->GetDelayEdit(), other->GetDelayEdit());

    ui::CPaintManagerUI& pm = wnd->GetPaintManager();
    pm.SendNotify(other->GetDelayEdit(), ui::kNotifyReturn);
    EXPECT_FALSE(row->IsChanged());
    EXPECT_TRUE(other->IsChanged());
    pm.SendNotify(row->GetText1(), ui::kNotifyReturn);
    EXPECT_FALSE(row->IsChanged());
    pm.SendNotify(row->GetText2(), ui::kNotifySelectChanged);
    EXPECT_TRUE(row->IsChanged());

    // Click selects, release reports, Enter reports "return".
    wnd->notes.clear();
    const QPoint inside = row->GetText1()->GetPos().center();
    pm.OnButtonDown(inside, false, 0);
    pm.OnButtonUp(inside, false, 0);
    EXPECT_TRUE(row->IsSelected());
    EXPECT_NE(std::find(wnd->notes.begin(), wnd->notes.end(), "itemclick:row0"), wnd->notes.end());
    wnd->notes.clear();
    ui::TEventUI enter;
    enter.Type = ui::EventType::KeyDown;
    enter.key = Qt::Key_Return;
    row->Event(enter);
    EXPECT_EQ(wnd->notes, std::vector<std::string>{"return:row0"});
    // Ctrl+click on the selected row unselects it.
    pm.OnButtonDown(inside, false, ui::kKeyStateControl);
    pm.OnButtonUp(inside, false, ui::kKeyStateControl);
    EXPECT_FALSE(row->IsSelected());
}

TEST_F(ControlsTest, WndKeepsItsWidgetOnTheControlAndShowsItOnlyWhileVisible) {
    auto wnd =
        Open("<Control height=\"40\"/><Wnd name=\"host\" height=\"50\" padding=\"20,0,0,0\" width=\"120\"/>");
    auto* host = wnd->Find<ui::CWndUI>("host", "Wnd");
    ASSERT_NE(host, nullptr);
    QWidget child(wnd->GetWidget());
    host->Attach(&child);
    EXPECT_EQ(child.geometry(), host->GetPos());
    EXPECT_TRUE(child.isVisibleTo(wnd->GetWidget()));
    host->SetVisible(false);
    EXPECT_FALSE(child.isVisibleTo(wnd->GetWidget()));
    host->SetVisible(true);
    wnd->GetWidget()->resize(700, 400);
    wnd->Layout();
    EXPECT_EQ(child.geometry(), host->GetPos());
    // A top-level widget goes to the control's place on the screen.
    QWidget floating;
    host->Attach(&floating);
    EXPECT_EQ(floating.geometry().topLeft(), wnd->GetWidget()->mapToGlobal(host->GetPos().topLeft()));
    host->Attach(nullptr);
}

}  // namespace
