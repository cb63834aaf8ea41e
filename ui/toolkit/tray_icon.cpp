#include "ui/toolkit/tray_icon.h"

#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/paint_manager_ui.h"

#include <QIcon>
#include <QSystemTrayIcon>

namespace ui {

CTrayIcon::CTrayIcon() = default;

CTrayIcon::~CTrayIcon() {
    DeleteTrayIcon();
}

bool CTrayIcon::CreateTrayIcon(HWND owner, const std::string& image, const std::string& tip,
                               unsigned callbackMessage) {
    DeleteTrayIcon();
    owner_ = owner;
    message_ = callbackMessage;
    tip_ = tip;
    created_ = true;
    const std::string path =
        !image.empty() && image.front() == '/' ? image : CPaintManagerUI::GetResourcePath() + image;
    icon_ = std::make_unique<QSystemTrayIcon>(QIcon(QString::fromStdString(path)));
    icon_->setToolTip(QString::fromStdString(tip));
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
                             Click(WM_LBUTTONUP);
                         } else if (reason == QSystemTrayIcon::Context) {
                             Click(WM_RBUTTONUP);
                         }
                     });
    // Showing needs a tray host; without one the icon stays an object (no warning spam on Xvfb).
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        icon_->show();
    }
    return true;
}

void CTrayIcon::DeleteTrayIcon() {
    if (icon_) {
        icon_->hide();
        icon_.reset();
    }
    created_ = false;
}

bool CTrayIcon::IsShown() const {
    return icon_ && icon_->isVisible();
}

void CTrayIcon::SetToolTip(const std::string& tip) {
    tip_ = tip;
    if (icon_) {
        icon_->setToolTip(QString::fromStdString(tip));
    }
}

bool CTrayIcon::Click(unsigned button) {
    if (!created_) {
        return false;
    }
    return PostMessage(owner_, message_, 0, static_cast<LPARAM>(button));
}

}  // namespace ui
