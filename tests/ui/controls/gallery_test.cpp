#include "tests/ui/controls/controls_fixture.h"

namespace {

using ui::CDeviceOptionUI;
using ui::CMpDevicePowerUI;

constexpr const char kGallery[] =
    "<HorizontalLayout name=\"bar\" height=\"56\" bkcolor=\"#FF1B1E24\" inset=\"16,8,16,8\" "
    "childpadding=\"8\"/>"
    "<Control height=\"1\" bkcolor=\"#FF262A33\"/>"
    "<HorizontalLayout height=\"200\" inset=\"24,24,24,24\" childpadding=\"32\">"
    "  <CircleProgress name=\"circle\" width=\"128\" height=\"128\" min=\"0\" max=\"100\" value=\"65\" "
    "text=\"65%\" "
    "                  font=\"7\" align=\"center\" textcolor=\"#FFFFFFFF\" bkcolor=\"#FF262A33\" "
    "                  forecolor=\"#FF0099FF\" innercolor=\"#FF15171C\"/>"
    "  <CircleProgress name=\"full\" width=\"128\" height=\"128\" min=\"0\" max=\"100\" value=\"100\" "
    "text=\"100%\" "
    "                  font=\"7\" align=\"center\" textcolor=\"#FFFFFFFF\" bkcolor=\"#FF262A33\" "
    "                  forecolor=\"#FF0099FF\" innercolor=\"#FF15171C\"/>"
    "  <SelectPanel name=\"keys\" width=\"232\" height=\"128\" bkcolor=\"#FF1B1E24\" borderround=\"4,4\">"
    "    <DeviceKeyButton name=\"key_0\" float=\"true\" pos=\"16,16,64,64\" text=\"Q\" font=\"7\" "
    "align=\"center\" bkcolor=\"#FF262A33\" "
    "                     hotbkcolor=\"#FF2E333D\" textcolor=\"#FFE6E8EB\" borderround=\"4,4\"/>"
    "    <DeviceKeyButton name=\"key_1\" float=\"true\" pos=\"72,16,120,64\" text=\"W\" font=\"7\" "
    "align=\"center\" bkcolor=\"#FF262A33\" "
    "                     textcolor=\"#FFE6E8EB\" borderround=\"4,4\"/>"
    "    <DeviceKeyButton name=\"key_2\" float=\"true\" pos=\"128,16,176,64\" text=\"E\" font=\"7\" "
    "align=\"center\" bkcolor=\"#FF262A33\" "
    "                     textcolor=\"#FFE6E8EB\" borderround=\"4,4\"/>"
    "    <DeviceKeyButton name=\"key_3\" float=\"true\" pos=\"16,72,64,120\" text=\"A\" font=\"7\" "
    "align=\"center\" bkcolor=\"#FF262A33\" "
    "                     textcolor=\"#FFE6E8EB\" borderround=\"4,4\"/>"
    "    <DeviceKeyButton name=\"key_4\" float=\"true\" pos=\"72,72,120,120\" text=\"S\" font=\"7\" "
    "align=\"center\" bkcolor=\"#FF262A33\" "
    "                     textcolor=\"#FFE6E8EB\" borderround=\"4,4\"/>"
    "  </SelectPanel>"
    "  <ChartView name=\"chart\" view=\"histpgram\" width=\"200\" height=\"128\" showtext=\"true\" "
    "font=\"7\"/>"
    "</HorizontalLayout>"
    "<Control/>"
    "<Control height=\"1\" bkcolor=\"#FF262A33\"/>"
    "<HorizontalLayout name=\"status\" height=\"40\" bkcolor=\"#FF1B1E24\" inset=\"16,0,16,0\" "
    "childpadding=\"24\"/>";

TEST_F(ControlsTest, GalleryOfTheDeviceBarThePowerIndicatorsAndTheProgressRing) {
    auto wnd = Open(kGallery, 960, 360);
    struct SOption {
        int kind;
        int subKind;
        const char* name;
        bool synchro;
    };
    const SOption options[] = {{2, 0, "ms_device_name_text", true},
                               {1, 0, "kb_device_name_text", true},
                               {3, 0, "hard_mp_device_name_text", false},
                               {3, 1, "soft_mp_device_name_text", false},
                               {7, 0, "hd_device_name_text", false}};
    std::vector<CDeviceOptionUI*> bar;
    for (const SOption& o : options) {
        auto* option =
            wnd->BuildInto<CDeviceOptionUI>("XML\\CustomControlXML\\DeviceOption.xml", "bar", "DeviceOption");
        ASSERT_NE(option, nullptr);
        option->SetDeviceKind(o.kind, o.subKind);
        option->SetDeviceName(o.name);
        option->ShowSynchroCheck(true);
        option->SetSynchroChecked(o.synchro);
        bar.push_back(option);
    }
    bar[0]->SelectOption(true);

    const std::pair<int, std::vector<std::uint8_t>> indicators[] = {
        {2, {55, 1, 0, 1}},
        {3, {80, 0, 0, 0, 0, 1}},
        {1, {100, 2}},
    };
    for (const auto& [kind, report] : indicators) {
        auto* power = wnd->BuildInto<CMpDevicePowerUI>("XML\\CustomControlXML\\MpDevicePower.xml", "status",
                                                       "MpDevicePower");
        ASSERT_NE(power, nullptr);
        power->SetFixedWidth(180);
        power->SetIndicator(kind, 0);
        power->UpdateFromReport(report);
    }

    auto* chart = wnd->Find<ui::CChartViewUI>("chart", "ChartView");
    ASSERT_NE(chart, nullptr);
    for (const auto& [text, value] :
         std::vector<std::pair<const char*, double>>{{"400", 2}, {"800", 5}, {"1600", 8}, {"3200", 4}}) {
        chart->AddItem(text, value);
    }
    // A band over the first two keys of the top row.
    ui::CPaintManagerUI& pm = wnd->GetPaintManager();
    wnd->Layout();
    auto* key0 = wnd->Find<ui::CDeviceKeyButtonUI>("key_0", "DeviceKeyButton");
    auto* key1 = wnd->Find<ui::CDeviceKeyButtonUI>("key_1", "DeviceKeyButton");
    ASSERT_NE(key0, nullptr);
    const QPoint from = key0->GetPos().topLeft() - QPoint(6, 6);
    pm.OnButtonDown(from, false, 0);
    pm.OnMouseMove(key1->GetPos().center(), 0);
    pm.OnButtonUp(key1->GetPos().center(), false, 0);
    EXPECT_TRUE(key0->IsSelected());
    EXPECT_TRUE(key1->IsSelected());

    wnd->Layout();
    Save(*wnd, "controls_gallery.png");

    // The selected device's icon is the accent one; an unselected one stays grey.
    const QImage image = wnd->GetWidget()->grab().toImage();
    auto accentPixels = [&image](const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += (c.blue() > 200 && c.red() < 60 && c.green() > 110 && c.green() < 190) ? 1 : 0;
            }
        }
        return count;
    };
    const auto iconArea = [](CDeviceOptionUI* option) {
        const QRect pos = option->GetDeviceSelect()->GetPos();
        return QRect(pos.left() + 8, pos.top() + 4, 32, 32);
    };
    EXPECT_GT(accentPixels(iconArea(bar[0])), 20);
    EXPECT_LT(accentPixels(iconArea(bar[2])), 5);
}

}  // namespace
