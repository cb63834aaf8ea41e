#pragma once

#include "device/device_connection.h"
#include "device/light_animation.h"
#include "platform/sync/worker_thread.h"
#include "profile/profile_records.h"
#include "ui/controls/device_lifecycle.h"
#include "ui/toolkit/horizontal_layout_ui.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CDeviceProfileUI;

// Posted to the main window by a device's sync thread when the device announced a change of its
// own settings: wParam = delay in ms, lParam = the CPellixUSBDevice. The main window answers on
// the UI thread with RequestResync(delay).
inline constexpr unsigned kMsgDeviceResync = ui::WM_USER + 2;

// CPellixUSBDevice: the base of every device object, at once the page that shows a device's
// settings (a horizontal layout of the skin) and the driver that talks to its firmware through
// the CDeviceConnection it owns. The virtual operations below keep one fixed order that every
// device class shares; the device classes override them by position and add their own after
// SelectKey. The base answers every device operation with "nothing done" (0 or no effect).
//
// The page operations after the fixed order are what the main window's routing calls on the
// active page; the base ignores them.
//
// Threads: the UI thread for everything, with three exceptions that any thread may call:
// SetLedColour / GetLedColour (the main window's light synchronisation thread writes colours),
// IsSynchronisedLighting / SetSynchronisedLighting, and IsCommandChannelOpen. The device's own
// light thread reads the light state under its lock and writes LED colours only; the sync
// thread only posts kMsgDeviceResync. Neither touches a control.
class CMacroControlUI;

class CPellixUSBDevice : public ui::CHorizontalLayoutUI, public IDeviceLifecycle {
public:
    static constexpr int kConnectTimer = 1001;
    static constexpr int kConnectDelayMs = 500;
    static constexpr int kResyncTimer = 1002;
    // Copies the LED colours the light thread steps into the light buttons while they are shown.
    static constexpr int kLightPaintTimer = 1010;
    static constexpr int kLightPaintMs = 40;
    static constexpr uint32_t kLightButtonWhite = 0xFFFFFFFF;  // white at alpha 255
    static constexpr size_t kReactionKeys = 126;
    static constexpr size_t kReactionRing = 23;

    using MessageSink = std::function<void(const std::string& textKey)>;

    CPellixUSBDevice();
    ~CPellixUSBDevice() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // The fixed order of the device operations.
    virtual void BindPageControls();
    virtual int ApplyProfile();
    virtual void EffectBreathWheel();
    virtual void EffectBreathFourColours();
    virtual void EffectStatic();
    virtual void EffectSpectrum();
    virtual void EffectBlink();
    virtual void EffectBlinkFourColours();
    virtual void EffectOff();
    // Sends the LED colours (each scaled by its alpha) as a light frame; skipped behind a
    // wireless receiver. Returns the channel result. Nothing in the program calls it: the
    // animation stays inside the device object.
    virtual int SendLightFrame();
    // Stores the colour (red, green, blue, alpha from the lowest byte up); any thread.
    virtual void SetLedColour(int index, uint32_t rgba);
    // 0 for an index outside the array; any thread.
    virtual uint32_t GetLedColour(int index) const;
    void OnConnected() override;
    void Resync() override;
    void OnTimerHook1003() override {}
    void OnTimerHook1004() override {}
    void PeriodicPoll() override {}
    virtual int LoadActiveProfile();
    virtual void RefreshPage() {}
    virtual void CheckMacroReferences() {}
    virtual void ResetProfile() {}
    virtual int WriteKeyTable(int profileIndex, const std::vector<KeyAssignment>& keys);
    virtual int WriteProfileKeys(int profileIndex);
    virtual int WriteMacros();
    virtual int WriteParameters(int profileIndex, uint8_t firstByte);
    virtual void LoadMacroAndLightLists() {}
    virtual void SetLightKeyMap(const std::map<int, int>& map);
    virtual void DecayReaction(bool secondVariant);
    virtual void TriggerReaction();
    virtual void ShiftReaction(bool forward);
    virtual void ClearReaction();
    virtual void SetFunctionTab(int type);
    virtual int GetFunctionTab() const { return functionTab_; }
    virtual void SetProfilePaths() {}
    virtual std::string ProfilePath() const { return {}; }
    virtual void SaveProfile() {}
    virtual void SetTypeCode(int code) { typeCode_ = code; }
    virtual int GetTypeCode() const { return typeCode_; }
    // a: light record bytes 0-3, b: bytes 4-7, c: bytes 8-10 (lowest byte first).
    virtual void SetLightRecord(uint32_t a, uint32_t b, uint32_t c);
    virtual void SelectKey(int index) { selectedKey_ = index; }
    // The record stored by SetLightRecord.
    LightInfo LightRecord() const;

    // Page operations of the main window's routing (the active page's).
    virtual bool InKeyView() const { return false; }
    virtual void KeyClicked(int /*index*/) {}
    // "key_butt_prosave": 0 done, -1 failed, n > 0 events to remove from the macros.
    virtual int WriteSettings() { return 0; }
    // WriteSettings' result from its three writes: the macros' own failure or overflow first,
    // then -1 when the key table or the record did not reach the device (channel results), so
    // that a device that went away halfway through never looks saved.
    static int SettingsResult(int keysResult, int recordResult, int macrosResult);
    virtual void Refresh() {}
    virtual void RestoreDefaults() {}
    virtual void ResetAndReload() {}
    virtual void HideKeyEditor() {}
    virtual void ShowTab(const std::string& /*tabName*/) {}
    virtual void SelectSettingsSubPage(int /*index*/) {}
    virtual void StageEnabledChanged(int /*stage*/) {}
    virtual void DpiSliderMoved(int /*stage*/) {}
    virtual void DpiSliderReleased(int /*stage*/) {}
    virtual void DpiEditLeft(int /*stage*/) {}
    virtual void PollingRateSelected(int /*option*/) {}
    virtual void PointerSettingChanged(const std::string& /*controlName*/) {}
    virtual void ComboSelected(const std::string& /*controlName*/) {}
    virtual int LightMode() const { return 0; }
    // "deng_same_mode": this device takes the mode and the other light values of source.
    virtual void ApplySyncLightMode(int /*mode*/, const LightInfo& /*source*/) {}
    // The key assignment panel: "keyset_function_combo", "keyset_macro_over_combo", the key
    // assignment save (the other combos, its edits, "key_ComBox_check_", "key_butt_keysave"),
    // "key_butt_keydefalut", "key_butt_keycancel", and a key the input hook captured.
    virtual void KeySetFunctionSelected() {}
    virtual void KeySetMacroModeSelected() {}
    virtual void SaveKeyAssignment() {}
    virtual void ShowDefaultKey() {}
    virtual void ShowCurrentKey() {}
    virtual void CaptureKey(uint8_t /*scanCode*/, bool /*extended*/) {}
    // The macro panel of the page (keyboard and mouse pages), nullptr for other kinds.
    virtual CMacroControlUI* MacroPanel() const { return nullptr; }
    // Whether a key assignment uses the macro at the position.
    virtual bool MacroReferenced(int /*position*/) { return false; }
    // The macro at the position was deleted: keys that used it get their default function, those
    // of later macros follow their macro up; a changed key list is saved and written.
    virtual void MacroDeleted(int /*position*/) {}
    // A macro was added, renamed or imported: the names are read again.
    virtual void MacroNamesChanged() {}
    // The editing lock marks the key panel busy: its save, cancel and apply buttons are disabled.
    virtual void SetKeyPanelBusy(bool /*busy*/) {}
    // The lighting panel: a value control changed, the palette's colour, preset swatch n.
    virtual void LightControlChanged(const std::string& /*controlName*/) {}
    virtual void LightPaletteChanged() {}
    virtual void LightPresetChosen(int /*index*/) {}
    // The per-key colours of the keyboard's custom mode: "light_combo_custommodeSelect", and
    // "custom_bright_color_btn" (lit, every key in the single colour) / "custom_off_color_btn".
    virtual void LightCustomGroupSelected() {}
    virtual void LightCustomColourAll(bool /*lit*/) {}
    // The keyboard's light layer: a band selected keys ("click_select_end"), key n was clicked.
    virtual void LightKeysSelected() {}
    virtual void LightKeyClicked(int /*position*/) {}
    // A system setting of the keyboard page changed: "winlockflag_option", "wflag_option",
    // "6flag_option", "repeat_rate_slider", "repeat_delay_check_" n, or "reset_repeat_btn".
    virtual void KeyboardSettingChanged(const std::string& /*controlName*/) {}
    // A control of the headset's voice or voice changer panel reported a change (by name).
    virtual void HeadsetControl(const std::string& /*controlName*/) {}

    // Page assembly.
    void SetLayoutPath(std::string path) { layoutPath_ = std::move(path); }
    const std::string& LayoutPath() const { return layoutPath_; }
    void SetMainWindow(ui::HWND window) { mainWindow_ = window; }
    ui::HWND MainWindow() const { return mainWindow_; }
    void SetDeviceKind(int kind, int subKind);
    int DeviceKind() const { return kind_; }
    int SubKind() const { return subKind_; }
    void SetKeyCount(int count);
    int KeyCount() const { return static_cast<int>(keyButtons_.size()); }
    // Sizes the LED colour array, the light buttons and the per-LED light records (all zero).
    void SetLedCount(int count);
    int LedCount() const;
    void SetReportsPowerState(bool reports) { reportsPowerState_ = reports; }
    void SetLogoLed(int index) { logoLed_ = index; }
    int LogoLed() const { return logoLed_; }
    void SetDeviceName(std::string name) { deviceName_ = std::move(name); }
    const std::string& DeviceName() const { return deviceName_; }
    void SetProfileBaseName(std::string name) { profileBaseName_ = std::move(name); }
    const std::string& ProfileBaseName() const { return profileBaseName_; }
    void SetConfigBaseName(std::string name) { configBaseName_ = std::move(name); }
    const std::string& ConfigBaseName() const { return configBaseName_; }
    void SetPowerIndicator(ui::CControlUI* indicator) { powerIndicator_ = indicator; }
    ui::CControlUI* PowerIndicator() const { return powerIndicator_; }
    // The bus the connection uses; set before SetSlotRow (the process bus otherwise).
    void SetHidBackend(std::shared_ptr<platform::hid::CHidBackend> backend) { backend_ = std::move(backend); }
    // Stores the row (kind and sub-kind follow it); the first call creates the connection, whose
    // sync thread then posts kMsgDeviceResync to the main window.
    void SetSlotRow(const InterfaceSlot& row);
    bool HasConnection() const { return connection_ != nullptr; }
    // Only when HasConnection().
    CDeviceConnection& Connection() { return *connection_; }
    void SetDeviceBarItem(ui::CControlUI* item) { deviceBarItem_ = item; }
    ui::CControlUI* DeviceBarItem() const { return deviceBarItem_; }
    // Runs once after assembly: BindPageControls and the profile panel here; a device class's
    // page initialisation.
    virtual void InitPage() {
        BindPageControls();
        InitProfilePanel();
    }
    // Messages of the page go to the sink; those raised before there is one wait for
    // DeliverPendingMessages (each text once).
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }
    void DeliverPendingMessages();

    // The page's profile panel ("DeviceProfileItem"), or nullptr when the layout has none.
    CDeviceProfileUI* ProfilePanel() const;
    // The page initialisation of the panel: the device kind, the folders, the list, the first
    // function tab; the profile base name follows the selected profile. False without a panel.
    bool InitProfilePanel();
    // The profile switch: the panel's selected profile becomes the page's, is loaded, has its
    // macro references repaired, is shown, and is written to the device (the parameter record,
    // the macros, the key table). Nothing without a panel.
    void SwitchToSelectedProfile();
    // Tells the user (once per call) when damaged files were moved aside.
    void ReportSetAsideFiles(const std::vector<std::string>& files) const;

    // Window state that the main window hands to every page.
    void SetLightControlled(bool on) { lightControlled_ = on; }
    bool IsLightControlled() const { return lightControlled_; }
    void SetWindowActive(bool on) { windowActive_ = on; }
    bool IsWindowActive() const { return windowActive_; }
    void SetHovered(bool on) { hovered_ = on; }
    bool IsHovered() const { return hovered_; }
    void SetScreenSize(int width, int height);
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }

    // The command channel's synchronised-lighting flag (false without a connection); any thread.
    bool IsSynchronisedLighting() const;
    void SetSynchronisedLighting(bool on);

    // Device bar timers: 1002 after delayMs (the main window's answer to kMsgDeviceResync) and
    // 1001 after 500 ms (the device was bound). Nothing without a device bar item.
    void RequestResync(int delayMs);
    void NotifyConnected();

    bool IsCommandChannelOpen() const override;
    bool ReportsPowerState() const override { return reportsPowerState_; }

    // The light thread: steps the animation of the current light mode while the command channel
    // is open, synchronised lighting is off and the light buttons are shown; it blocks while they
    // are not, since nothing else shows the host-side effect. Start stops a running thread first.
    void StartLightThread();
    void StopLightThread();
    bool IsLightThreadRunning() const { return lightThread_.Running(); }
    // Whether a light button is visible in a shown, not minimised window. Painting the page tells
    // when they come into view, the paint timer when they leave it.
    bool LightButtonsShown() const;

    void DoEvent(ui::TEventUI& event) override;
    void DoPaint(QPainter& painter, const QRect& paintRect) override;

    // File locations of the device: its user data folder (created when missing), the default
    // data folder and its default profile file.
    std::string UserDataFolder() const;
    std::string DefaultDataFolder() const;
    std::string DefaultProfileFile() const;

    ui::CControlUI* KeyButton(int index) const;
    ui::CControlUI* LightButton(int index) const;
    int SelectedKey() const { return selectedKey_; }
    LightInfo LightState() const;
    uint8_t ReactionKey(size_t index) const { return index < kReactionKeys ? reactionKeys_[index] : 0; }
    void SetReactionRing(size_t index, uint8_t value);

protected:
    // Splits "prefix_n" at its last underscore; false without one or without a number after it.
    static bool SplitIndexedName(const std::string& text, std::string& prefix, int& index);
    // Binds the key and light buttons of the "SelectPanel" children of the container.
    void BindSelectPanels(ui::CContainerUI& container);
    // A key or light button found while binding; the device classes extend the rule.
    virtual void BindButton(ui::CControlUI& button);
    void ClearButtonTables();
    void SetKeyButton(int index, ui::CControlUI* button);
    void SetLightButton(int index, ui::CControlUI* button);

    // A control of this page by name, or nullptr (with a debug line when it is missing).
    ui::CControlUI* PageControl(const std::string& name) const;
    // The same without the debug line, for optional controls.
    ui::CControlUI* OptionalPageControl(const std::string& name) const;
    void ShowMessage(const std::string& textKey) const;

    // The light state that the light thread animates.
    void SetLightState(const LightInfo& light);
    // Tints each bound light button with its LED colour (packed red, green, blue, intensity from
    // the low byte up); the paint timer calls it while the buttons are shown.
    virtual void PaintLightButtons();
    // One step of the current mode; the device classes map their modes to generators.
    virtual void StepLight();
    // Whether a mode changes the LEDs from step to step; the light thread sleeps long otherwise.
    virtual bool IsAnimatedMode(int /*mode*/) const { return true; }
    // The light thread's exit text.
    virtual const char* LightThreadExitText() const { return "MS灯光线程设定退出"; }
    // Every LED gets the packed colour.
    void FillLeds(uint32_t rgba);
    // The animation settings of the light state.
    LightAnimationSettings AnimationSettings(SyncEffect effect) const;

    std::vector<LightInfo> ledLightRecords_;

private:
    static constexpr int kIdleLightWaitMs = 250;  // closed channel, or synchronised lighting
    static constexpr int kLightStepMs = 2;        // one pacing step of the light thread

    void LightThreadBody(platform::CEvent& stop);
    int NextLightWaitMs() const;
    // Starts or stops the paint timer and the light thread's stepping as the buttons come into
    // view or leave it.
    void FollowLightButtons();
    void EffectFourColours(bool blink);
    void PostResync(int delayMs);

    std::string layoutPath_;
    ui::HWND mainWindow_ = nullptr;
    int kind_ = 0;
    int subKind_ = 0;
    bool reportsPowerState_ = false;
    int logoLed_ = -1;
    std::string deviceName_;
    std::string profileBaseName_;
    std::string configBaseName_;
    ui::CControlUI* powerIndicator_ = nullptr;
    ui::CControlUI* deviceBarItem_ = nullptr;
    std::shared_ptr<platform::hid::CHidBackend> backend_;
    std::unique_ptr<CDeviceConnection> connection_;
    MessageSink messageSink_;
    mutable std::vector<std::string> pendingMessages_;
    bool lightControlled_ = true;
    bool windowActive_ = false;
    bool hovered_ = false;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    int functionTab_ = 0;
    int typeCode_ = 0;
    int selectedKey_ = -1;
    std::vector<ui::CControlUI*> keyButtons_;
    std::vector<ui::CControlUI*> lightButtons_;
    std::map<int, int> lightKeyMap_;

    mutable std::mutex ledMutex_;
    std::vector<uint32_t> ledColours_;

    mutable std::mutex lightMutex_;
    LightInfo lightState_;
    LightInfo lightRecord_;
    LightAnimationState animation_;
    int fourColourIndex_ = 0;
    std::atomic<bool> lightShown_{false};
    platform::CEvent lightShownChanged_{platform::CEvent::Mode::kAutoReset};
    platform::CWorkerThread lightThread_;

    std::array<uint8_t, kReactionKeys> reactionKeys_{};
    std::array<uint8_t, kReactionRing> reactionRing_{};
};
