#pragma once

#include "app/device_bar.h"
#include "app/discovery_relay.h"
#include "app/editing_lock.h"
#include "app/file_dialogs.h"
#include "app/language_choice.h"
#include "app/light_sync_thread.h"
#include "app/macro_commands.h"
#include "app/main_wnd_targets.h"
#include "app/notification_router.h"
#include "device/device_binder.h"
#include "device/device_discovery.h"
#include "macro/device_hook.h"
#include "net/firmware_version_source.h"
#include "net/update_notifier.h"
#include "net/update_thread.h"
#include "platform/sync/worker_thread.h"
#include "ui/controls/skin_change_observer.h"
#include "ui/toolkit/tray_icon.h"
#include "ui/toolkit/window_impl_base.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// CMainWnd: the single top-level window, built from "XML_MAIN" with the application's control
// table as builder callback: caption buttons; the tray icon and its menu; activation and hover
// flags; bringing the window forward; the re-fit to the monitor and DPI; the device bar with one
// page per supported device (CDeviceBar), attached and detached through discovery's messages
// 0x0C12 / 0x0C13; every notification routed through the window's tables (main_wnd_routes); the
// light-control flag and its broadcasts; the discovery, update and light synchronisation threads
// and the 20 worker slots, stopped in order when the window is destroyed; the language (at
// "windowinit" and on 0xC11) and the skin changes it receives for "root".
//
// Messages of the window (its own numbers and the registered ones) arrive on the UI thread;
// worker threads reach it only with ui::PostMessage / ui::SendMessage on its handle.
//
// Thread: the UI thread only.

namespace app {

inline constexpr unsigned kTrayMessage = ui::WM_USER + 1;
inline constexpr unsigned kMsgHookControl = 0x41E;
inline constexpr unsigned kMsgDpiNotice = 0x4C8;
inline constexpr unsigned kMsgShowSettingProgress = 0xC00;
inline constexpr unsigned kMsgLanguageChanged = 0xC11;
inline constexpr unsigned kMsgInterfaceArrived = 0xC12;
inline constexpr unsigned kMsgInterfaceRemoved = 0xC13;
inline constexpr unsigned kMsgOpenSettings = 0xC15;
inline constexpr unsigned kMsgClearUpdateBadge = 0xC16;
// Posted by the update thread: lParam 1 marks "setbtn" with the update badge.
inline constexpr unsigned kMsgSetUpdateBadge = ui::WM_USER + 3;

// WM_POWERBROADCAST: the machine is about to sleep, or has resumed.
inline constexpr unsigned kPowerSuspend = 4;
inline constexpr unsigned kPowerResume = 18;

inline constexpr unsigned kTimerRefit = 1011;
inline constexpr unsigned kTimerTrayMenu = 1032;
inline constexpr unsigned kTimerProfileSwitch = 1055;

class CMainWnd : public ui::WindowImplBase,
                 public SkinChangeReceiver,
                 public ILightSyncDevices,
                 public IUpdateNotifier,
                 public IFirmwareVersionSource {
public:
    using Broadcaster =
        std::function<void(const std::string& name, std::uint64_t wParam, std::int64_t lParam)>;

    CMainWnd();
    ~CMainWnd() override;

    std::string GetWindowClassName() const override;
    unsigned GetClassStyle() const override;
    std::string GetSkinFile() override;
    void InitWindow() override;
    void Notify(ui::TNotifyUI& msg) override;
    ui::CControlUI* CreateControl(const std::string& className) override;
    ui::LRESULT MessageHandler(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam,
                               bool& handled) override;
    // A skin change: "root" gets the colour and no image, or the image and no colour. Returns 1.
    int OnPublish(SkinChangedParam param) override;

    // How the window reaches other programs (the light-control announcement); none by default.
    void SetBroadcaster(Broadcaster broadcaster) { broadcaster_ = std::move(broadcaster); }
    // The settings window while it is open, for the settings relay message.
    void SetSettingsWindow(ui::HWND window) { settingsWnd_ = window; }

    // Chooses the DPI for the monitor (144 above 1500 x 960 pixels, else 96), sizes the window to
    // 1000 x 640 at 96 DPI scaled by it, and centres it.
    void Refit();
    // 144 when the monitor is wider than 1500 and taller than 960 pixels, else 96.
    static int DpiForMonitor(int width, int height);
    // Shows "No_device_Link" when no device option is visible; with none, both device tabs show 0.
    void UpdateNoDeviceLink();
    void BringForward();
    // Hides the window to the tray; minimises it instead where the desktop shows no tray.
    void HideToTray();

    // Light control: the flag, its texts and broadcast, and every lit page's flag.
    void ToggleLightControl() { SetLightControl(!lightControlled_, true); }
    // "deng_same_mode": the active page's light mode for every page, and the synchronised state.
    void ApplySameModeToAll();
    // The update check: how it reaches the service (none by default: no check runs).
    void SetUpdateService(std::unique_ptr<CUpdateThread> thread) { updateThread_ = std::move(thread); }

    // Modal message window over this one; Confirm is true when the user agreed.
    bool Confirm(const std::string& textKey);
    void ShowMessage(const std::string& textKey);
    void ShowMessageNumber(const std::string& textKey, int number);
    void OpenAboutWindow();
    // The settings window, modal: beside this window or centred on it.
    void OpenSettingsWindow(bool besideThisWindow);
    // The skin chooser under "skinbtn".
    void OpenSkinChooser();
    void StartUp() { OnWindowInit(); }
    void RootResized();

    CDeviceBar& DeviceBar() { return *bar_; }
    CEditingLock& EditingLock() { return editingLock_; }
    CFileDialogs& FileDialogs() { return fileDialogs_; }
    CDeviceHook& Hook() { return hook_; }
    CMacroCommands& MacroCommands() { return macroCommands_; }
    const CDeviceDiscovery* Discovery() const { return discovery_.get(); }

    // ILightSyncDevices (the synchronisation thread).
    bool AnySynchronised() override;
    void StoreFrame(uint32_t frame) override;
    // IUpdateNotifier (the update thread).
    void UpdateRoundFinished(bool somethingNew) override;
    // IFirmwareVersionSource (the update thread).
    int FirmwareVersion(size_t page) const override;

    bool IsWindowActive() const { return active_; }
    bool IsHovered() const { return hovered_; }
    bool IsRunning() const { return running_; }
    bool IsLightControlled() const { return lightControlled_; }
    int LanguageIndex() const { return language_.CurrentIndex(); }
    ui::CTrayIcon& GetTrayIcon() { return tray_; }

private:
    void OnWindowInit();
    void AssembleDevicePages();
    void StartWorkers();
    void OnInterfaceArrived(int slot, const InterfaceSlot& row);
    void OnInterfaceRemoved(int slot, const InterfaceSlot& row);
    CPellixUSBDevice* PageOfConnection(const CDeviceConnection* connection) const;
    void OnDeviceResync(ui::WPARAM delayMs, ui::LPARAM page);
    void OnProfileSwitchTimer();
    void SetUpdateBadge(bool on);
    void RelayoutPagesForLanguage();
    void NoteFirmwareVersions();
    void ForEachLitPage(const std::function<void(CPellixUSBDevice&)>& action);
    // The parts of MessageHandler, by concern; each is true for a message of its own.
    bool HandleWindowStateMessage(unsigned message, ui::WPARAM wParam);
    bool HandleIpcMessage(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam);
    void OnPowerBroadcast(ui::WPARAM event);
    bool HandleDeviceMessage(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam);
    bool HandleInputMessage(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam);
    bool HandleTimerMessage(unsigned message, ui::WPARAM id);
    bool HandleTrayAndMenuMessage(unsigned message, ui::LPARAM lParam);
    bool HandleShellMessage(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam);
    void OnTrayClick(ui::LPARAM button);
    void ShowTrayMenu();
    void OnMenuCommand(const std::string& item);
    void SetLightControl(bool on, bool broadcast);
    void OnDestroy();
    void SetActive(bool active);
    void SetHovered(bool hovered);
    void WatchDisplay();
    void ApplyLanguage(int index);
    void OnHookControl(ui::WPARAM install);
    void OnSingleKey(ui::WPARAM keyMessage, ui::LPARAM record);
    // The picture "main.ini" names, when it is there to show.
    void RestoreSkin();
    // The open settings window (set by SetSettingsWindow or opened by this window), else nullptr.
    ui::HWND SettingsWindow() const;
    // Asks the settings window and the about window to close.
    void CloseChildWindows();

    ui::CTrayIcon tray_;
    CDeviceHook hook_;
    const std::uint32_t singleKeyMessage_ = CDeviceHook::MessageOfMode(1);
    std::unique_ptr<CDeviceBar> bar_;
    CMainWndTargets targets_{*this};
    CNotificationRouter router_;
    CEditingLock editingLock_;
    CMacroCommands macroCommands_{*this};
    CFileDialogs fileDialogs_{[this] { return GetWidget(); }};
    CDeviceBinder binder_;
    CDiscoveryRelay relay_;
    std::unique_ptr<CDeviceDiscovery> discovery_;
    CLightSyncThread lightSync_{*this};
    std::unique_ptr<CUpdateThread> updateThread_;
    mutable std::mutex firmwareVersionsMutex_;
    std::vector<int> firmwareVersions_;  // by page, 0 while closed
    Broadcaster broadcaster_;
    ui::HWND settingsWnd_ = nullptr;
    ui::CControlUI* closeButton_ = nullptr;
    ui::CControlUI* minButton_ = nullptr;
    ui::CControlUI* maxButton_ = nullptr;
    ui::CControlUI* restoreButton_ = nullptr;
    bool initialised_ = false;
    bool stayHidden_ = false;  // started hidden at login and not yet shown by the user
    bool active_ = false;
    bool hovered_ = false;
    bool running_ = true;
    bool displayChanged_ = false;
    bool lightControlled_ = true;
    QSize screenSize_;
    CLanguageChoice language_;
};

}  // namespace app
