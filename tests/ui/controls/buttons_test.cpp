#include "tests/ui/controls/controls_fixture.h"

#include <QTemporaryDir>

namespace {

TEST_F(ControlsTest, DeviceKeyButtonSelectsQuietlyReadsItsAttributesAndReportsDoubleClicks) {
    auto wnd = Open(
        "<DeviceKeyButton name=\"key_4\" width=\"40\" height=\"40\" lightimage=\"file='l.png'\" "
        "keysetimage=\"file='k.png'\" gmnametextcolor=\"#FF8800\"/>");
    auto* key = wnd->Find<ui::CDeviceKeyButtonUI>("key_4", "DeviceKeyButton");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->GetClass(), "DeviceKeyButton");
    EXPECT_EQ(key->GetLightImage(), "file='l.png'");
    EXPECT_EQ(key->GetKeySetImage(), "file='k.png'");
    EXPECT_EQ(key->GetGmNameTextColor() & 0xFFFFFFu, 0xFF8800u);
    EXPECT_TRUE(key->IsShowKeySetImage());
    EXPECT_EQ(key->GetLightAlpha(), 255);
    key->SetLightColor(0x12345678, 300);
    EXPECT_EQ(key->GetLightColor(), 0x345678u);
    EXPECT_EQ(key->GetLightAlpha(), 255);

    key->SetSelected(true);
    EXPECT_TRUE(key->IsSelected());
    EXPECT_TRUE(wnd->notes.empty());

    ui::CPaintManagerUI& pm = wnd->GetPaintManager();
    const QPoint centre = key->GetPos().center();
    pm.OnDoubleClick(centre, 0);
    pm.OnButtonUp(centre, false, 0);
    EXPECT_EQ(wnd->notes, (std::vector<std::string>{"dbclick:key_4", "click:key_4"}));
    wnd->notes.clear();
    key->SetEnabled(false);
    pm.OnDoubleClick(centre, 0);
    pm.OnButtonUp(centre, false, 0);
    EXPECT_TRUE(wnd->notes.empty());
}

TEST_F(ControlsTest, HandImgButtonDeletesFromItsBoxAndClicksElsewhere) {
    auto wnd = Open(
        "<HandImgButton name=\"hand\" width=\"120\" height=\"80\" deletenormalimage=\"dn.png\" "
        "deletehotimage=\"dh.png\" handimage=\"h.png\"/>");
    auto* hand = wnd->Find<ui::CHandImgButtonUI>("hand", "HandImgButton");
    ASSERT_NE(hand, nullptr);
    const QRect pos = hand->GetPos();
    // 20 x 20, its right edge 10 in from the button's right and its bottom 9 up from the bottom.
    EXPECT_EQ(hand->DeleteBoxRect(), QRect(pos.left() + 90, pos.top() + 51, 20, 20));
    ui::CPaintManagerUI& pm = wnd->GetPaintManager();
    const QPoint inBox = hand->DeleteBoxRect().center();
    const QPoint elsewhere = pos.topLeft() + QPoint(10, 10);

    // Hidden (as built): the box is an ordinary part of the button.
    pm.OnMouseMove(inBox, 0);
    pm.OnButtonDown(inBox, false, 0);
    pm.OnButtonUp(inBox, false, 0);
    EXPECT_EQ(wnd->notes, (std::vector<std::string>{"msenter:hand", "click:hand"}));
    wnd->notes.clear();

    hand->SetDeleteHidden(false);
    pm.OnMouseMove(inBox, 0);
    EXPECT_EQ(hand->GetCurrentDeleteImage(), "dh.png");
    pm.OnButtonDown(inBox, false, 0);
    pm.OnButtonUp(inBox, false, 0);
    pm.OnMouseMove(elsewhere, 0);
    EXPECT_EQ(hand->GetCurrentDeleteImage(), "dn.png");
    pm.OnButtonDown(elsewhere, false, 0);
    pm.OnButtonUp(elsewhere, false, 0);
    pm.OnMouseMove(QPoint(pos.right() + 50, pos.bottom() + 50), 0);
    EXPECT_EQ(wnd->notes, (std::vector<std::string>{"click_handdelete:hand", "click:hand", "msleave:hand"}));
}

class HandImgSelectButtonTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        picture = folder.filePath("picture.png").toStdString();
        QImage image(300, 200, QImage::Format_ARGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(QString::fromStdString(picture)));
        wnd = Open("<HandImgSelectButton name=\"pic\" width=\"100\" height=\"50\" cursor=\"hand\"/>");
        button = wnd->Find<ui::CHandImgSelectButtonUI>("pic", "HandImgSelectButton");
        ASSERT_NE(button, nullptr);
    }
    void Drag(QPoint by) {
        ui::CPaintManagerUI& pm = wnd->GetPaintManager();
        const QPoint start = button->GetPos().center();
        pm.OnButtonDown(start, false, 0);
        pm.OnMouseMove(start + by / 2, 0);
        pm.OnMouseMove(start + by, 0);
        pm.OnButtonUp(start + by, false, 0);
    }
    std::string Expected(int l, int t, int r, int b) const {
        return "file='" + picture + "' source='" + std::to_string(l) + "," + std::to_string(t) + "," +
               std::to_string(r) + "," + std::to_string(b) + "'";
    }

    QTemporaryDir folder;
    std::string picture;
    std::unique_ptr<CControlsWnd> wnd;
    ui::CHandImgSelectButtonUI* button = nullptr;
};

TEST_F(HandImgSelectButtonTest, APictureLargerThanTheButtonPansAndStopsAtItsEdges) {
    button->SetHandImage(picture);
    EXPECT_EQ(button->GetImageSize(), QSize(300, 200));
    EXPECT_EQ(button->GetDrawnImage(), Expected(0, 0, 100, 50));
    Drag(QPoint(30, 20));
    EXPECT_EQ(button->GetDrawnImage(), Expected(30, 20, 130, 70));
    EXPECT_FALSE(button->IsDragging());
    // Far past the right and bottom edges: the window stops at them.
    Drag(QPoint(1000, 1000));
    EXPECT_EQ(button->GetDrawnImage(), Expected(200, 150, 300, 200));
    Drag(QPoint(-1000, 10));
    EXPECT_EQ(button->GetDrawnImage(), Expected(0, 150, 100, 200));
    // Moving without the button pressed pans nothing.
    wnd->GetPaintManager().OnMouseMove(button->GetPos().center() + QPoint(5, 5), 0);
    EXPECT_EQ(button->GetDrawnImage(), Expected(0, 150, 100, 200));
}

TEST_F(HandImgSelectButtonTest, APictureNoLargerThanTheButtonIsShownWholeAndDoesNotPan) {
    const std::string small = folder.filePath("small.png").toStdString();
    QImage image(80, 40, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(small)));
    button->SetHandImage(small);
    EXPECT_EQ(button->GetDrawnImage(), "file='" + small + "' ");
    Drag(QPoint(30, 20));
    EXPECT_EQ(button->GetDrawnImage(), "file='" + small + "' ");
    wnd->notes.clear();
    ui::CPaintManagerUI& pm = wnd->GetPaintManager();
    pm.OnMouseMove(button->GetPos().center(), 0);
    EXPECT_EQ(wnd->GetWidget()->cursor().shape(), Qt::PointingHandCursor);
    pm.OnMouseMove(QPoint(600, 300), 0);
    EXPECT_EQ(wnd->notes, (std::vector<std::string>{"msenter:pic", "msleave:pic"}));
}

TEST_F(ControlsTest, RedioMacroButtonPulsesBetween80And255AndStopsCleanly) {
    auto wnd = Open(
        "<RedioMacroButton name=\"rec\" width=\"40\" height=\"40\" normalimage=\"rest.png\" "
        "redioimage=\"rec_pulse\"/>");
    auto* rec = wnd->Find<ui::CRedioMacroButtonUI>("rec", "RedioMacroButton");
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->GetPulseImage(), "rec_pulse");
    rec->StartPulse();
    ASSERT_TRUE(rec->IsPulsing());
    EXPECT_TRUE(wnd->GetPaintManager().HasTimer(rec, ui::CRedioMacroButtonUI::kPulseTimerId));
    std::vector<int> fades;
    for (int i = 0; i < 13; ++i) {
        ui::TEventUI tick;
        tick.Type = ui::EventType::Timer;
        tick.wParam = ui::CRedioMacroButtonUI::kPulseTimerId;
        rec->Event(tick);
        fades.push_back(rec->GetFade());
    }
    EXPECT_EQ(fades, (std::vector<int>{235, 215, 195, 175, 155, 135, 115, 95, 80, 100, 120, 140, 160}));
    EXPECT_EQ(rec->GetNormalImage(), "res='rec_pulse' fade='160'");
    EXPECT_TRUE(wnd->notes.empty());
    rec->StopPulse();
    EXPECT_FALSE(rec->IsPulsing());
    EXPECT_FALSE(wnd->GetPaintManager().HasTimer(rec, ui::CRedioMacroButtonUI::kPulseTimerId));
    EXPECT_EQ(rec->GetNormalImage(), "rest.png");
    // A real tick arrives from the toolkit's timer.
    rec->StartPulse();
    ASSERT_TRUE(WaitFor([&] { return rec->GetFade() < 255; }));
    rec->StopPulse();
}

}  // namespace
