#pragma once

#include "device/pellix_usb_device.h"
#include "profile/device_profile_ui.h"
#include "tests/support/skin_test_env.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/window_impl_base.h"

#include <QWidget>

#include <functional>
#include <string>

// Stand-ins for the key-button controls of the skins: the class names the binding looks for.
class CTestSelectPanelUI : public ui::CVerticalLayoutUI {
public:
    std::string GetClass() const override { return "SelectPanel"; }
};
class CTestDeviceKeyButtonUI : public ui::CButtonUI {
public:
    std::string GetClass() const override { return "DeviceKeyButton"; }
};

// A window that hosts one device page the way the main window does: its skin holds the fonts of
// the main window and the page layout; page elements are made by `makePage`; kMsgDeviceResync
// arms the device bar item's timer and the item's timers call the device, as the bar item would.
class CPageHostWindow : public ui::WindowImplBase {
public:
    using PageFactory = std::function<ui::CControlUI*(const std::string& element)>;
    using Notifier = std::function<void(ui::TNotifyUI&)>;

    CPageHostWindow(std::string pageLayout, PageFactory makePage)
        : pageLayout_(std::move(pageLayout)), makePage_(std::move(makePage)) {}

    std::string GetWindowClassName() const override { return "PageHost"; }
    std::string GetSkinFile() override {
        return R"(<Window size="1000,542">
  <Font id="0" name="Noto Sans" size="15" default="true" shared="true"/>
  <Font id="4" name="Noto Sans" size="16" shared="true"/>
  <Font id="7" name="Noto Sans" size="14" shared="true"/>
  <Font id="8" name="Noto Sans" size="12" shared="true"/>
  <Default name="Label" value="textcolor=&quot;#FFFFFFFF&quot; disabledtextcolor=&quot;#FF5C6370&quot;"/>
  <Default name="Button" value="textcolor=&quot;#FFFFFFFF&quot; disabledtextcolor=&quot;#FF5C6370&quot; align=&quot;center&quot; borderround=&quot;4,4&quot;"/>
  <VerticalLayout name="root" bkcolor="#FF15171C">
    <Control name="device_bar_item" float="true" pos="0,0,1,1"/>
    <Include source=")" +
               pageLayout_ + R"("/>
  </VerticalLayout>
</Window>)";
    }

    ui::CControlUI* CreateControl(const std::string& element) override {
        if (element == "SelectPanel") {
            return new CTestSelectPanelUI;
        }
        if (element == "DeviceKeyButton") {
            return new CTestDeviceKeyButtonUI;
        }
        // The profile panel as the application's control table builds it.
        if (element == "DeviceProfileUI") {
            return ui::CDialogBuilder().Create("XML\\CustomControlXML\\DeviceProfile.xml", this,
                                               &GetPaintManager());
        }
        if (element == "DeviceProfile") {
            return new CDeviceProfileUI;
        }
        return makePage_(element);
    }

    void Notify(ui::TNotifyUI& msg) override {
        if (msg.sType == ui::kNotifyTimer && msg.pSender == BarItem() && device_ != nullptr) {
            msg.pSender->KillTimer(static_cast<int>(msg.wParam));
            if (msg.wParam == CPellixUSBDevice::kResyncTimer) {
                device_->Resync();
            } else if (msg.wParam == CPellixUSBDevice::kConnectTimer) {
                device_->OnConnected();
            }
            return;
        }
        if (notifier_) {
            notifier_(msg);
        }
    }

    ui::LRESULT MessageHandler(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam,
                               bool& handled) override {
        if (message == kMsgDeviceResync) {
            reinterpret_cast<CPellixUSBDevice*>(lParam)->RequestResync(static_cast<int>(wParam));
            handled = true;
            return 0;
        }
        return WindowImplBase::MessageHandler(message, wParam, lParam, handled);
    }

    void SetDevice(CPellixUSBDevice* device) {
        device_ = device;
        device->SetDeviceBarItem(BarItem());
    }
    void SetNotifier(Notifier notifier) { notifier_ = std::move(notifier); }
    ui::CControlUI* BarItem() { return m_pm.FindControlQuietly("device_bar_item"); }

    // Renders the window into $NORVIK_TEST_OUTPUT/name; false when it could not be written.
    bool Save(const std::string& name) { return SaveRender(m_pm, *GetWidget(), name); }

private:
    std::string pageLayout_;
    PageFactory makePage_;
    CPellixUSBDevice* device_ = nullptr;
    Notifier notifier_;
};
