#include "app/about_wnd.h"

#include "app/main_wnd.h"
#include "net/firmware_catalogue.h"
#include "ui/toolkit/control_ui.h"

namespace app {
namespace {

constexpr const char kAboutTitle[] = "  ";
constexpr ui::WPARAM kSizeMaximized = 2;
constexpr ui::WPARAM kSizeMinimized = 1;

// One about window at a time in the process: it is modal over the one main window.
ui::HWND& OpenSlot() {
    static ui::HWND open = nullptr;
    return open;
}

int OwnerDpi(ui::HWND owner) {
    auto* window = dynamic_cast<ui::WindowImplBase*>(owner);
    return window != nullptr ? window->GetPaintManager().GetDPI() : 96;
}

}  // namespace

bool CAboutWnd::OpenAboutWindow(ui::HWND owner) {
    if (OpenSlot() != nullptr) {
        return false;
    }
    // The window owns itself from here: it is deleted when it is destroyed. It is created hidden
    // and shown by the modal loop once scaled and centred, so it never jumps.
    auto* wnd = new CAboutWnd();
    if (wnd->Create(owner, kAboutTitle, ui::WS_POPUP, ui::WS_EX_TOOLWINDOW, 0, 0, 800, 572) == nullptr) {
        delete wnd;
        return false;
    }
    wnd->m_pm.SetDPI(OwnerDpi(owner));
    if (ui::CControlUI* label = wnd->m_pm.FindControl("software_ver_label")) {
        label->SetText(VersionText(wnd->m_pm));
    }
    OpenSlot() = wnd->GetHWND();
    wnd->CenterWindow();
    wnd->ShowModal();
    OpenSlot() = nullptr;
    return true;
}

ui::HWND CAboutWnd::OpenWindow() {
    return OpenSlot();
}

std::string CAboutWnd::VersionText(ui::CPaintManagerUI& manager) {
    const std::string& version = CFirmwareCatalogue::Rows()[CFirmwareCatalogue::kProgramRow].versionText;
    ui::CControlUI* probe = manager.FindControl("text_test");
    if (probe == nullptr) {
        return version;
    }
    probe->SetText("software_rev_text");
    return probe->GetText() + version;
}

std::string CAboutWnd::GetWindowClassName() const {
    return kAboutWndClassName;
}

std::string CAboutWnd::GetSkinFile() {
    return kAboutSkinFile;
}

void CAboutWnd::InitWindow() {
    maxButton_ = m_pm.FindControl("maxbtn");
    restoreButton_ = m_pm.FindControl("restorebtn");
}

void CAboutWnd::OnSize(ui::WPARAM kind) {
    if (kind == kSizeMinimized || (kind == kSizeMaximized) == maximized_) {
        return;
    }
    maximized_ = kind == kSizeMaximized;
    if (maxButton_ != nullptr) {
        maxButton_->SetVisible(!maximized_);
    }
    if (restoreButton_ != nullptr) {
        restoreButton_->SetVisible(maximized_);
    }
}

ui::LRESULT CAboutWnd::MessageHandler(unsigned message, ui::WPARAM wParam, ui::LPARAM, bool& handled) {
    handled = false;
    if (message == ui::WM_SIZE) {
        OnSize(wParam);
    } else if (message == kMsgLanguageChanged) {
        m_pm.Invalidate();
        handled = true;
    } else if (message == ui::WM_TIMER && wParam == kAboutTimer) {
        KillTimer(kAboutTimer);
        handled = true;
    }
    return 0;
}

void CAboutWnd::OnFinalMessage(ui::HWND) {
    delete this;
}

}  // namespace app
