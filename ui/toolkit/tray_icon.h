#pragma once

#include "ui/toolkit/ui_defs.h"

#include <memory>
#include <string>

class QSystemTrayIcon;

// CTrayIcon: the notification-area icon of a window. Clicks on it are posted to the owner as the
// callback message with lParam WM_LBUTTONUP (left click) or WM_RBUTTONUP (right click or context
// request), as the system tray does. Without a tray host (no status notifier, Xvfb) the icon
// still exists as an object, is not shown, and Click lets a caller or a test act as the user.
//
// Thread: the UI thread only.

namespace ui {

class CTrayIcon {
public:
    CTrayIcon();
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Creates (or replaces) the icon; the image is a file under the skin folder or an absolute path.
    bool CreateTrayIcon(HWND owner, const std::string& image, const std::string& tip,
                        unsigned callbackMessage);
    void DeleteTrayIcon();
    bool IsCreated() const { return created_; }
    // True when a tray host shows the icon.
    bool IsShown() const;
    const std::string& GetToolTip() const { return tip_; }
    void SetToolTip(const std::string& tip);
    // Posts the click (WM_LBUTTONUP or WM_RBUTTONUP) as if the user made it; false without an icon.
    bool Click(unsigned button);

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
    HWND owner_ = nullptr;
    unsigned message_ = 0;
    std::string tip_;
    bool created_ = false;
};

}  // namespace ui
