#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/device_lifecycle.h"

#include <QFileInfo>

namespace {

using ui::CDeviceOptionUI;

constexpr const char kOptionFile[] = "XML\\CustomControlXML\\DeviceOption.xml";

// Records the lifecycle calls it receives; the channel and power flags are set by the test.
class CFakeDevice : public IDeviceLifecycle {
public:
    void OnConnected() override { calls.push_back("OnConnected"); }
    void Resync() override { calls.push_back("Resync"); }
    void OnTimerHook1003() override { calls.push_back("Hook1003"); }
    void OnTimerHook1004() override { calls.push_back("Hook1004"); }
    void PeriodicPoll() override { calls.push_back("PeriodicPoll"); }
    bool IsCommandChannelOpen() const override { return open; }
    bool ReportsPowerState() const override { return reportsPower; }

    std::vector<std::string> calls;
    bool open = true;
    bool reportsPower = false;
};

class DeviceOptionTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        wnd = Open(
            "<HorizontalLayout name=\"bar\" height=\"40\" childpadding=\"8\"/>"
            "<TabLayout name=\"pages\"><Label name=\"p0\"/><Label name=\"p1\"/></TabLayout>");
        first = wnd->BuildInto<CDeviceOptionUI>(kOptionFile, "bar", "DeviceOption");
        second = wnd->BuildInto<CDeviceOptionUI>(kOptionFile, "bar", "DeviceOption");
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        wnd->notes.clear();
    }
    // The event the paint manager delivers when one of the option's timers fires.
    static void Fire(CDeviceOptionUI* option, int id) {
        ui::TEventUI event;
        event.Type = ui::EventType::Timer;
        event.pSender = option;
        event.wParam = static_cast<ui::WPARAM>(id);
        option->Event(event);
    }
    bool Armed(int id) { return wnd->GetPaintManager().HasTimer(first, id); }

    std::unique_ptr<CControlsWnd> wnd;
    CDeviceOptionUI* first = nullptr;
    CDeviceOptionUI* second = nullptr;
};

TEST_F(DeviceOptionTest, TheLayoutHoldsTheNamedChildrenAndStartsWithTheUnknownIcons) {
    EXPECT_EQ(first->GetClass(), "DeviceOption");
    ASSERT_NE(first->GetDeviceSelect(), nullptr);
    ASSERT_NE(first->GetSynchroSelect(), nullptr);
    ASSERT_NE(first->GetNameLabel(), nullptr);
    EXPECT_EQ(first->GetDeviceSelect()->GetGroup(), "tab_header_device");
    EXPECT_EQ(first->GetIcons().normal, "common/device_ico/unknow_device_normal.png");
    EXPECT_NE(first->GetDeviceSelect()->GetNormalImage().find("unknow_device_normal.png"), std::string::npos);
    EXPECT_TRUE(first->IsDeviceVisible());
    EXPECT_EQ(first->GetPowerTabIndex(), -1);
    EXPECT_TRUE(first->GetPowerTabName().empty());
    EXPECT_FALSE(first->GetSynchroSelect()->IsVisible());
}

TEST_F(DeviceOptionTest, KindAndSubKindChooseTheIconsAndEveryIconIsInTheSkin) {
    struct SCase {
        int kind;
        int subKind;
        const char* word;
    };
    const SCase cases[] = {{0, 0, "unknow"}, {6, 0, "unknow"}, {8, 0, "unknow"},  {-1, 0, "unknow"},
                           {1, 0, "kb"},     {2, 0, "ms"},     {3, 0, "hard_mp"}, {3, 1, "soft_mp"},
                           {4, 0, "hd"},     {7, 0, "hd"},     {5, 0, "hub"},     {2, 1, "ms"}};
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + "/" + std::to_string(c.subKind));
        first->SetDeviceKind(c.kind, c.subKind);
        const std::string stem = std::string("common/device_ico/") + c.word + "_device_";
        const CDeviceOptionUI::SIcons& icons = first->GetIcons();
        EXPECT_EQ(icons.normal, stem + "normal.png");
        EXPECT_EQ(icons.selected, stem + "selected.png");
        EXPECT_EQ(icons.synchroNormal, stem + "synchro_normal.png");
        EXPECT_EQ(icons.synchroSelected, stem + "synchro_selected.png");
        EXPECT_EQ(first->GetKindNameKey(), std::string(c.word) + "_device_name_text");
        EXPECT_EQ(first->GetDeviceSelect()->GetNormalImage(), "file='" + icons.normal + "' dest='8,4,40,36'");
        for (const std::string* icon :
             {&icons.normal, &icons.selected, &icons.synchroNormal, &icons.synchroSelected}) {
            EXPECT_TRUE(
                QFileInfo::exists(QString::fromStdString(ui::CPaintManagerUI::GetResourcePath() + *icon)))
                << *icon;
        }
        EXPECT_NE(ui::CResourceManager::GetInstance().GetText(first->GetKindNameKey()), nullptr);
    }
}

TEST_F(DeviceOptionTest, TheSynchroCheckSwitchesBetweenThePlainAndTheSynchroIcon) {
    first->SetDeviceKind(2, 0);
    first->ShowSynchroCheck(true);
    wnd->Layout();
    ASSERT_TRUE(first->GetSynchroSelect()->IsVisible());
    // A click on the check: the option hears its "selectchanged" and swaps the icons.
    first->GetSynchroSelect()->Activate();
    EXPECT_TRUE(first->IsSynchroChecked());
    EXPECT_EQ(wnd->notes, (std::vector<std::string>{"click:synchro_device_select",
                                                    "selectchanged:synchro_device_select"}));
    EXPECT_NE(first->GetDeviceSelect()->GetNormalImage().find("ms_device_synchro_normal.png"),
              std::string::npos);
    EXPECT_NE(second->GetDeviceSelect()->GetNormalImage().find("unknow_device_normal.png"),
              std::string::npos);
    wnd->notes.clear();
    // From code: the icons follow without a notification.
    first->SetSynchroChecked(false);
    EXPECT_FALSE(first->IsSynchroChecked());
    EXPECT_NE(first->GetDeviceSelect()->GetNormalImage().find("ms_device_normal.png"), std::string::npos);
    EXPECT_TRUE(wnd->notes.empty());
    first->ShowSynchroCheck(false);
    EXPECT_FALSE(first->GetSynchroSelect()->IsVisible());
}

TEST_F(DeviceOptionTest, BindingGroupSelectionNameAndVisibility) {
    first->BindTab("pages", 0);
    second->BindTab("pages", 1);
    auto* pages = wnd->Find<ui::CTabLayoutUI>("pages", "TabLayout");
    second->SelectOption(true);
    EXPECT_TRUE(second->IsOptionSelected());
    EXPECT_EQ(pages->GetCurSel(), 1);
    first->SelectOption(true);
    EXPECT_TRUE(first->IsOptionSelected());
    EXPECT_FALSE(second->IsOptionSelected());
    EXPECT_EQ(pages->GetCurSel(), 0);
    EXPECT_EQ(std::count_if(wnd->notes.begin(), wnd->notes.end(),
                            [](const std::string& note) { return note.rfind("selectchanged", 0) == 0; }),
              0);
    // In different groups the two no longer exclude each other.
    second->SetGroup("other_group");
    second->SelectOption(true);
    EXPECT_TRUE(first->IsOptionSelected());
    EXPECT_TRUE(second->IsOptionSelected());

    first->SetDeviceName("ms_device_name_text");
    EXPECT_EQ(first->GetNameLabel()->GetText(), "Mouse");
    first->SetPowerTab("device_power_switch", 2);
    EXPECT_EQ(first->GetPowerTabName(), "device_power_switch");
    EXPECT_EQ(first->GetPowerTabIndex(), 2);

    first->SetDeviceVisible(false);
    EXPECT_FALSE(first->IsDeviceVisible());
    EXPECT_FALSE(first->IsVisible());
    EXPECT_FALSE(first->Activate());
    first->SetDeviceVisible(true);
    EXPECT_TRUE(first->IsVisible());
    wnd->notes.clear();
    EXPECT_TRUE(first->Activate());
    EXPECT_EQ(wnd->notes, std::vector<std::string>{"selectchanged:"});
}

TEST_F(DeviceOptionTest, TheConnectTimerCallsOnConnectedOnceThenStartsThePollForAPoweredDevice) {
    CFakeDevice device;
    device.reportsPower = true;
    first->SetDevice(&device);
    EXPECT_EQ(first->GetDevice(), &device);
    first->SetTimer(CDeviceOptionUI::kConnectTimer, CDeviceOptionUI::kConnectDelayMs);
    ASSERT_TRUE(Armed(CDeviceOptionUI::kConnectTimer));
    ASSERT_TRUE(WaitFor([&] { return !device.calls.empty(); }, 3000));
    EXPECT_EQ(device.calls, std::vector<std::string>{"OnConnected"});
    EXPECT_FALSE(Armed(CDeviceOptionUI::kConnectTimer));
    EXPECT_TRUE(Armed(CDeviceOptionUI::kPollTimer));
    first->SetDevice(nullptr);
}

TEST_F(DeviceOptionTest, EachLifecycleTimerStopsBeforeItActsAndRearmsOnlyAsItsRuleSays) {
    struct SCase {
        int timer;
        bool open;
        bool reportsPower;
        std::vector<std::string> calls;
        std::vector<int> armedAfter;
    };
    const SCase cases[] = {
        {1001, true, false, {"OnConnected"}, {}},  {1001, true, true, {"OnConnected"}, {1005}},
        {1001, false, false, {"OnConnected"}, {}}, {1001, false, true, {"OnConnected"}, {1005}},
        {1002, true, true, {"Resync"}, {}},        {1003, true, false, {"Hook1003"}, {}},
        {1004, true, false, {"Hook1004"}, {}},     {1005, true, true, {"PeriodicPoll"}, {1005}},
        {1005, false, true, {"PeriodicPoll"}, {}}, {1005, true, false, {"PeriodicPoll"}, {}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE("timer " + std::to_string(c.timer) + (c.open ? " open" : " closed") +
                     (c.reportsPower ? " power" : ""));
        first->KillTimer();
        CFakeDevice device;
        device.open = c.open;
        device.reportsPower = c.reportsPower;
        first->SetDevice(&device);
        first->SetTimer(c.timer, 60000);
        Fire(first, c.timer);
        EXPECT_EQ(device.calls, c.calls);
        for (int id = CDeviceOptionUI::kConnectTimer; id <= CDeviceOptionUI::kPollTimer; ++id) {
            const bool expected =
                std::find(c.armedAfter.begin(), c.armedAfter.end(), id) != c.armedAfter.end();
            EXPECT_EQ(Armed(id), expected) << "timer " << id;
        }
    }
    first->KillTimer();
    first->SetDevice(nullptr);
}

TEST_F(DeviceOptionTest, WithoutADeviceTheTimersStopAndCallNothing) {
    first->SetDevice(nullptr);
    for (int id = CDeviceOptionUI::kConnectTimer; id <= CDeviceOptionUI::kPollTimer; ++id) {
        first->SetTimer(id, 60000);
        Fire(first, id);
        EXPECT_FALSE(Armed(id)) << id;
    }
    first->SetTimer(CDeviceOptionUI::kResyncTimer, 100);
    EXPECT_TRUE(Armed(CDeviceOptionUI::kResyncTimer));
    ASSERT_TRUE(WaitFor([&] { return !Armed(CDeviceOptionUI::kResyncTimer); }, 3000));
}

TEST_F(DeviceOptionTest, TheResyncTimerRunsResyncOnceAfterItsDelay) {
    CFakeDevice device;
    first->SetDevice(&device);
    first->SetTimer(CDeviceOptionUI::kResyncTimer, 100);
    ASSERT_TRUE(WaitFor([&] { return !device.calls.empty(); }, 3000));
    EXPECT_EQ(device.calls, std::vector<std::string>{"Resync"});
    EXPECT_FALSE(Armed(CDeviceOptionUI::kResyncTimer));
    first->SetDevice(nullptr);
}

}  // namespace
