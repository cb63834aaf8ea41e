#pragma once

#include "app/language_choice.h"
#include "platform/sync/worker_thread.h"
#include "ui/controls/skin_change_observer.h"
#include "ui/toolkit/tray_icon.h"
#include "ui/toolkit/window_impl_base.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

// CMainWnd: the single top-level window. This part is its frame: built from "XML_MAIN" with the
// application's control table as builder callback; caption buttons; the tray icon and its menu;
// activation and hover flags; bringing the window forward for a second copy; the re-fit to the
// monitor and DPI; "No_device_Link" while the device bar is empty; the light-control flag and its
// broadcasts; the 20 worker slots and their ordered stop when the window is destroyed; the
// language (at "windowinit" and on 0xC11) and the skin changes it receives for "root".
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
inline constexpr unsigned kMsgClearUpdateBadge = 0xC16;

inline constexpr unsigned kTimerRefit = 1011;
inline constexpr unsigned kTimerTrayMenu = 1032;
inline constexpr int kWorkerSlots = 20;

class CMainWnd : public ui::WindowImplBase, public SkinChangeReceiver {
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
    // What a tray menu item does, by item name ("about_menu", "setwnd_menu", …); "exit" is built in.
    void SetMenuAction(const std::string& item, std::function<void()> action);
    // The settings window while it is open, for the settings relay message.
    void SetSettingsWindow(ui::HWND window) { settingsWnd_ = window; }
    // Starts a worker in a slot (0..19) with its own stop event; false for a bad slot.
    bool StartWorker(int slot, platform::CWorkerThread::Body body);

    // Chooses the DPI for the monitor (144 above 1500 x 960 pixels, else 96), sizes the window to
    // 1000 x 640 at 96 DPI scaled by it, and centres it.
    void Refit();
    // 144 when the monitor is wider than 1500 and taller than 960 pixels, else 96.
    static int DpiForMonitor(int width, int height);
    // Shows "No_device_Link" when no device option is visible; with none, both device tabs show 0.
    void UpdateNoDeviceLink();
    void BringForward();

    bool IsWindowActive() const { return active_; }
    bool IsHovered() const { return hovered_; }
    bool IsRunning() const { return running_; }
    bool IsLightControlled() const { return lightControlled_; }
    int LanguageIndex() const { return language_.CurrentIndex(); }
    ui::CTrayIcon& GetTrayIcon() { return tray_; }

private:
    void OnWindowInit();
    void OnClick(ui::TNotifyUI& msg);
    void OnTrayClick(ui::LPARAM button);
    void ShowTrayMenu();
    void OnMenuCommand(const std::string& item);
    void SetLightControl(bool on, bool broadcast);
    void OnDestroy();
    void OnDpiChanged(int dpi);
    void SetActive(bool active);
    void SetHovered(bool hovered);
    void WatchDisplay();
    void ApplyLanguage(int index);

    ui::CTrayIcon tray_;
    Broadcaster broadcaster_;
    std::map<std::string, std::function<void()>> menuActions_;
    std::array<platform::CWorkerThread, kWorkerSlots> workers_;
    ui::HWND settingsWnd_ = nullptr;
    ui::CControlUI* closeButton_ = nullptr;
    ui::CControlUI* minButton_ = nullptr;
    ui::CControlUI* maxButton_ = nullptr;
    ui::CControlUI* restoreButton_ = nullptr;
    bool initialised_ = false;
    bool active_ = false;
    bool hovered_ = false;
    bool running_ = true;
    bool displayChanged_ = false;
    bool lightControlled_ = true;
    QSize screenSize_;
    CLanguageChoice language_;
};

}  // namespace app
