#include "device/pellix_usb_device.h"
#include "device/device_tables.h"
#include "tests/support/debug_capture.h"
#include "tests/support/page_host.h"
#include "tests/support/qt_application.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Builds a skin text with the stand-ins for the key-button controls and the device base class.
class CBaseBuilder : public ui::IDialogBuilderCallback {
public:
    ui::CControlUI* CreateControl(const std::string& element) override {
        if (element == "SelectPanel") {
            return new CTestSelectPanelUI;
        }
        if (element == "DeviceKeyButton") {
            return new CTestDeviceKeyButtonUI;
        }
        if (element == "PellixUSBDevice") {
            return new CPellixUSBDevice;
        }
        return nullptr;
    }
};

std::unique_ptr<CPellixUSBDevice> Build(const std::string& xml) {
    CBaseBuilder callback;
    ui::CDialogBuilder builder;
    return std::unique_ptr<CPellixUSBDevice>(static_cast<CPellixUSBDevice*>(builder.Create(xml, &callback)));
}

}  // namespace

TEST(PellixUsbDevice, BindsTheKeyAndLightButtonsOfItsSelectPanels) {
    EnsureQtApplication();
    auto device = Build(R"(<PellixUSBDevice>
        <SelectPanel>
          <DeviceKeyButton name="key_2"/>
          <DeviceKeyButton name="key_x"/>
          <DeviceKeyButton name="key_9"/>
          <DeviceKeyButton name="keyless" userdata="light_1"/>
          <Button name="key_1"/>
        </SelectPanel>
        <VerticalLayout><DeviceKeyButton name="key_0"/></VerticalLayout>
      </PellixUSBDevice>)");
    ASSERT_NE(device, nullptr);
    device->SetKeyCount(4);
    device->SetLedCount(3);
    device->BindPageControls();

    ASSERT_NE(device->KeyButton(2), nullptr);
    EXPECT_EQ(device->KeyButton(2)->GetName(), "key_2");
    EXPECT_EQ(device->KeyButton(0), nullptr);  // not inside a select panel
    EXPECT_EQ(device->KeyButton(1), nullptr);  // not a key button
    EXPECT_EQ(device->KeyButton(9), nullptr);  // outside the table
    ASSERT_NE(device->LightButton(1), nullptr);
    EXPECT_EQ(device->LightButton(1)->GetName(), "keyless");
    EXPECT_EQ(device->GetLedColour(1), CPellixUSBDevice::kLightButtonWhite);
    EXPECT_EQ(device->GetLedColour(0), 0u);
}

TEST(PellixUsbDevice, LedColoursStayInsideTheArrayFromAnyThread) {
    CPellixUSBDevice device;
    device.SetLedCount(6);
    std::thread writer([&] {
        for (int index = -1; index <= 6; ++index) {
            device.SetLedColour(index, 0xFF000000u | static_cast<uint32_t>(index + 1));
        }
    });
    writer.join();
    EXPECT_EQ(device.LedCount(), 6);
    EXPECT_EQ(device.GetLedColour(0), 0xFF000001u);
    EXPECT_EQ(device.GetLedColour(5), 0xFF000006u);
    EXPECT_EQ(device.GetLedColour(6), 0u);
    EXPECT_EQ(device.GetLedColour(-1), 0u);
}

TEST(PellixUsbDevice, TheBaseAnswersEveryDeviceOperationWithNothingDone) {
    CPellixUSBDevice device;
    EXPECT_EQ(device.ApplyProfile(), 0);
    EXPECT_EQ(device.LoadActiveProfile(), 0);
    EXPECT_EQ(device.WriteKeyTable(0, {}), 0);
    EXPECT_EQ(device.WriteProfileKeys(0), 0);
    EXPECT_EQ(device.WriteMacros(), 0);
    EXPECT_EQ(device.WriteParameters(0, 0), 0);
    EXPECT_EQ(device.WriteSettings(), 0);
    EXPECT_EQ(device.ProfilePath(), "");
    EXPECT_FALSE(device.IsCommandChannelOpen());
    EXPECT_FALSE(device.IsSynchronisedLighting());
    EXPECT_EQ(device.SendLightFrame(), 0);
    device.SetFunctionTab(5);  // no tab controls: only stored
    EXPECT_EQ(device.GetFunctionTab(), 5);
    device.SetLightRecord(0x04030201, 0x08070605, 0x000B0A09);
    const LightInfo record = device.LightRecord();
    EXPECT_EQ(record.selectItem, 1);
    EXPECT_EQ(record.fx, 4);
    EXPECT_EQ(record.blue, 8);
    EXPECT_EQ(record.extraWord, 0x0A09);
    EXPECT_EQ(record.extraByte, 0x0B);
}

TEST(PellixUsbDevice, ReactionsLightTheHitKeysAndFade) {
    CPellixUSBDevice device;
    device.SetReactionRing(2, 1);
    device.TriggerReaction();
    EXPECT_EQ(device.ReactionKey(2), 255);
    EXPECT_EQ(device.ReactionKey(1), 0);
    device.DecayReaction(false);
    EXPECT_EQ(device.ReactionKey(2), 215);
    device.ShiftReaction(true);  // the ring entry moves on to key 3
    device.TriggerReaction();
    EXPECT_EQ(device.ReactionKey(3), 255);
    device.ClearReaction();
    EXPECT_EQ(device.ReactionKey(3), 0);
}

TEST(PellixUsbDevice, TheLightThreadStopsWithItsExitText) {
    CPellixUSBDevice device;
    device.StartLightThread();
    ASSERT_TRUE(device.IsLightThreadRunning());
    CDebugCapture capture;
    device.StopLightThread();
    EXPECT_FALSE(device.IsLightThreadRunning());
    EXPECT_NE(capture.Text().find("MS灯光线程设定退出"), std::string::npos);
    EXPECT_NE(capture.Text().find("线程退出：：对象处于激发状态"), std::string::npos);
}

TEST(PellixUsbDevice, TheKeyboardAsksToBeReadAgainSoonerThanTheMice) {
    for (const InterfaceSlot& row : SupportedInterfaces()) {
        CPellixUSBDevice device;
        device.SetSlotRow(row);
        const int expected = row.kind == kKindKeyboard ? 100 : 500;
        EXPECT_EQ(device.Connection().SyncThread().ResyncDelay(), expected) << row.kind;
    }
}
