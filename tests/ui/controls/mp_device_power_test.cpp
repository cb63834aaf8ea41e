#include "tests/ui/controls/controls_fixture.h"

#include <array>

namespace {

using ui::CMpDevicePowerUI;

class MpDevicePowerTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        wnd = Open("<HorizontalLayout name=\"status\" height=\"40\"/>");
        power = wnd->BuildInto<CMpDevicePowerUI>("XML\\CustomControlXML\\MpDevicePower.xml", "status",
                                                 "MpDevicePower");
        ASSERT_NE(power, nullptr);
    }
    ui::CControlUI* Child(const std::string& name) { return wnd->GetPaintManager().FindControl(name); }
    ui::CProgressUI* Bar() {
        return static_cast<ui::CProgressUI*>(Child("device_Power_progress")->GetInterface("Progress"));
    }

    std::unique_ptr<CControlsWnd> wnd;
    CMpDevicePowerUI* power = nullptr;
};

TEST_F(MpDevicePowerTest, TheLayoutHoldsEveryNamedChild) {
    EXPECT_EQ(power->GetClass(), "MpDevicePower");
    for (const char* name : {"device_power_Layout", "device_power_value", "device_wuxian_logo",
                             "device_Power_progress", "device_power_status", "device_phone_type"}) {
        EXPECT_NE(wnd->GetPaintManager().FindSubControlByName(power, name), nullptr) << name;
    }
    ASSERT_NE(Bar(), nullptr);
}

TEST_F(MpDevicePowerTest, LevelAndChargeStateFromTheReport) {
    struct SCase {
        std::vector<std::uint8_t> report;
        const char* text;
        int bar;
        bool barShown;
        const char* status;
    };
    const SCase cases[] = {
        {{100}, "100%", 0, true, "file='power/powered.png'"},
        {{0}, "0%", 100, true, "file='power/powered.png'"},
        {{37, 0}, "37%", 63, true, "file='power/powered.png'"},
        {{55, 1}, "55%", 45, true, "file='power/powering.png'"},
        {{55, 1, 0, 1}, "55%", 45, false, "file='power/wuxian_powering.png'"},
        {{90, 2, 0, 1}, "90%", 10, true, "file='power/power.png'"},
        {{}, "0%", 100, true, "file='power/powered.png'"},
        // A level past 100 is shown as full, not as a bar below empty.
        {{200, 2}, "100%", 0, true, "file='power/power.png'"},
    };
    power->SetIndicator(1, 0);
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.text + std::string(" ") + c.status);
        power->UpdateFromReport(c.report);
        EXPECT_EQ(Child("device_power_value")->GetText(), c.text);
        EXPECT_EQ(Bar()->GetValue(), c.bar);
        EXPECT_EQ(Bar()->IsVisible(), c.barShown);
        EXPECT_EQ(Child("device_power_status")->GetBkImage(), c.status);
        EXPECT_FALSE(Child("device_wuxian_logo")->IsVisible());
        EXPECT_FALSE(Child("device_phone_type")->IsVisible());
    }
    // An unknown charge state keeps the last picture.
    power->UpdateFromReport(std::vector<std::uint8_t>{50, 9});
    EXPECT_EQ(Child("device_power_status")->GetBkImage(), "file='power/power.png'");
    EXPECT_EQ(Child("device_power_value")->GetText(), "50%");
}

TEST_F(MpDevicePowerTest, TheWirelessLogoBelongsToKindTwo) {
    power->SetIndicator(2, 4);
    EXPECT_EQ(power->GetIndicatorKind(), 2);
    EXPECT_EQ(power->GetIndicatorIndex(), 4);
    power->UpdateFromReport(std::vector<std::uint8_t>{80, 1, 0, 1});
    EXPECT_TRUE(Child("device_wuxian_logo")->IsVisible());
    power->UpdateFromReport(std::vector<std::uint8_t>{80, 1, 0, 0});
    EXPECT_FALSE(Child("device_wuxian_logo")->IsVisible());
    EXPECT_FALSE(Child("device_phone_type")->IsVisible());
}

TEST_F(MpDevicePowerTest, ThePhoneOfKindThreeFromByteFive) {
    power->SetIndicator(3, 0);
    EXPECT_TRUE(Child("device_phone_type")->IsVisible());
    const std::pair<std::uint8_t, const char*> cases[] = {
        {1, "Phone_type_iphone"},    {2, "Phone_type_samsung"},   {3, "Phone_type_other"},
        {0, "Phone_type_no_device"}, {4, "Phone_type_no_device"}, {255, "Phone_type_no_device"}};
    for (const auto& [phone, key] : cases) {
        std::array<std::uint8_t, 64> report{};
        report[0] = 60;
        report[5] = phone;
        power->UpdateFromReport(report);
        ui::CControlUI* type = Child("device_phone_type");
        EXPECT_EQ(type->GetBkImage(), std::string("file='power/") + key + ".png'");
        EXPECT_EQ(type->GetToolTip(), *ui::CResourceManager::GetInstance().GetText(key));
        EXPECT_TRUE(QFileInfo::exists(
            QString::fromStdString(ui::CPaintManagerUI::GetResourcePath() + "power/" + key + ".png")));
    }
    // Byte 5 means nothing to other kinds.
    power->SetIndicator(1, 0);
    EXPECT_FALSE(Child("device_phone_type")->IsVisible());
}

TEST_F(MpDevicePowerTest, ShowingTheIndicatorShowsItsLayoutAndActivationReportsASelection) {
    power->ShowIndicator(false);
    EXPECT_FALSE(Child("device_power_Layout")->IsVisible());
    EXPECT_FALSE(power->IsIndicatorShown());
    EXPECT_TRUE(power->IsVisible());
    power->ShowIndicator(true);
    EXPECT_TRUE(power->IsIndicatorShown());
    wnd->notes.clear();
    EXPECT_TRUE(power->Activate());
    EXPECT_EQ(wnd->notes, std::vector<std::string>{"selectchanged:"});
}

}  // namespace
