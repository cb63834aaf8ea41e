#pragma once

#include "ui/toolkit/horizontal_layout_ui.h"

#include <string>

class IDeviceLifecycle;

// CDeviceOptionUI: one device in the device bar. Its layout ("DeviceOption.xml") holds the radio
// option "device_select" (the device's icon, bound to the device's page), the check option
// "synchro_device_select" (the device takes part in synchronised lighting) and the label
// "device_select_name". The device kind chooses the four icons; the synchro check switches the
// icon between its plain and its synchro form. The option also carries the name and index of the
// device's power indicator tab, the visible flag (visible = device attached) and a non-owning link
// to the device, whose lifecycle it drives with its timers:
//
//   1001  the device appeared 500 ms ago: OnConnected, then timer 1005 when the device reports
//         its power state
//   1002  the device announced a change of its own settings: Resync
//   1003, 1004  the device's empty hooks
//   1005  PeriodicPoll, again every 5000 ms while the device reports its power state and its
//         channel is open
//
// A 5 ms timer 1000 that ticks while the channel is open has no effect at all, so it is not run:
// it would wake the program 200 times a second for nothing.
//
// Each timer is stopped before it acts, so each start gives one call. Activating the option sends
// "selectchanged". Attribute: icondest ('l,t,r,b', where the icon sits inside "device_select").
//
// Thread: the UI thread only.

namespace ui {

class COptionUI;
class CLabelUI;

class CDeviceOptionUI : public CHorizontalLayoutUI, public INotifyUI {
public:
    static constexpr int kConnectTimer = 1001;
    static constexpr int kResyncTimer = 1002;
    static constexpr int kHookTimer1003 = 1003;
    static constexpr int kHookTimer1004 = 1004;
    static constexpr int kPollTimer = 1005;
    static constexpr int kConnectDelayMs = 500;
    static constexpr int kPollPeriodMs = 5000;

    struct SIcons {
        std::string normal;
        std::string selected;
        std::string synchroNormal;
        std::string synchroSelected;
    };

    // The word that names a kind's icons and name text: "kb", "ms", "hard_mp", "soft_mp", "hd",
    // "hub" or "unknow".
    static std::string KindWord(int kind, int subKind);
    static SIcons IconsFor(int kind, int subKind);

    CDeviceOptionUI();
    ~CDeviceOptionUI() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void SetDeviceKind(int kind, int subKind);
    int GetDeviceKind() const { return kind_; }
    int GetDeviceSubKind() const { return subKind_; }
    const SIcons& GetIcons() const { return icons_; }
    // The language key of the kind's name, "<word>_device_name_text".
    std::string GetKindNameKey() const;

    void BindTab(const std::string& tabLayoutName, int index);
    void SetPowerTab(const std::string& name, int index);
    int GetPowerTabIndex() const { return powerTabIndex_; }
    const std::string& GetPowerTabName() const { return powerTabName_; }
    void SetGroup(const std::string& group);
    void SetDeviceName(const std::string& textOrKey);

    // Set from code: no notification is sent.
    void SetSynchroChecked(bool checked);
    bool IsSynchroChecked() const;
    void ShowSynchroCheck(bool show);

    bool IsDeviceVisible() const { return deviceVisible_; }
    void SetDeviceVisible(bool visible);
    // Selects or unselects "device_select" (and its bound page) without a notification.
    void SelectOption(bool select);
    bool IsOptionSelected() const;

    void SetDevice(IDeviceLifecycle* device) { device_ = device; }
    IDeviceLifecycle* GetDevice() const { return device_; }

    COptionUI* GetDeviceSelect() const;
    COptionUI* GetSynchroSelect() const;
    CLabelUI* GetNameLabel() const;

    bool Activate() override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoPaint(QPainter& painter, const QRect& paintRect) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void DoInit() override;
    void DoEvent(TEventUI& event) override;
    void Notify(TNotifyUI& msg) override;

private:
    void ApplyIcons();
    std::string IconImage(const std::string& file) const;
    void OnLifecycleTimer(int id);
    bool ChannelOpen() const;

    int kind_ = 0;
    int subKind_ = 0;
    SIcons icons_;
    std::string iconDest_;
    int powerTabIndex_ = -1;
    std::string powerTabName_;
    bool deviceVisible_ = true;
    IDeviceLifecycle* device_ = nullptr;
    CPaintManagerUI* listening_ = nullptr;
};

}  // namespace ui
