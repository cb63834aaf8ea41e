#include "app/main_wnd.h"

#include "app/about_wnd.h"
#include "app/control_factory_tables.h"
#include "app/product_identity.h"
#include "app/registered_messages.h"
#include "platform/debug.h"
#include "platform/ipc/shell_messages.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/menu_wnd.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/ui_parse.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QWidget>

#include <cstdlib>
#include <memory>

namespace app {
namespace {

constexpr unsigned PBT_APMSUSPEND = 4;
constexpr unsigned PBT_APMRESUMEAUTOMATIC = 18;
constexpr const char kLightOnText[] = "控制灯光";
constexpr const char kLightOffText[] = "不控制灯光";

}  // namespace

CMainWnd::CMainWnd() = default;

CMainWnd::~CMainWnd() {
    Unsubscribe();
    ui::CMenuWnd::DestroyMenu();
}

std::string CMainWnd::GetWindowClassName() const {
    return kMainWndClassName;
}

unsigned CMainWnd::GetClassStyle() const {
    return kMainWndClassStyle;
}

std::string CMainWnd::GetSkinFile() {
    return kMainSkinId;
}

ui::CControlUI* CMainWnd::CreateControl(const std::string& className) {
    return CreateMainWindowControl(className, this, &m_pm);
}

void CMainWnd::SetMenuAction(const std::string& item, std::function<void()> action) {
    menuActions_[item] = std::move(action);
}

bool CMainWnd::StartWorker(int slot, platform::CWorkerThread::Body body) {
    if (slot < 0 || slot >= kWorkerSlots) {
        return false;
    }
    return workers_[static_cast<std::size_t>(slot)].Start(std::move(body));
}

void CMainWnd::InitWindow() {
    ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
    GetSkinChangeObserver().AddListener(this);
    closeButton_ = m_pm.FindControl("closebtn");
    minButton_ = m_pm.FindControl("minbtn");
    maxButton_ = m_pm.FindControl("maxbtn");
    restoreButton_ = m_pm.FindControl("restorebtn");
    const QString icon = QString::fromStdString(ui::CPaintManagerUI::GetResourcePath() + kAppIconImage);
    GetWidget()->setWindowIcon(QIcon(icon));
    tray_.CreateTrayIcon(GetHWND(), kAppIconImage, kProductName, kTrayMessage);
    WatchDisplay();
}

void CMainWnd::WatchDisplay() {
    // Screen changes stand in for the display-change broadcast.
    auto post = [hwnd = GetHWND()] { ui::PostMessage(hwnd, ui::WM_DISPLAYCHANGE); };
    QObject::connect(qApp, &QGuiApplication::screenAdded, GetWidget(), post);
    QObject::connect(qApp, &QGuiApplication::screenRemoved, GetWidget(), post);
    for (QScreen* screen : QGuiApplication::screens()) {
        QObject::connect(screen, &QScreen::geometryChanged, GetWidget(), post);
    }
}

void CMainWnd::OnWindowInit() {
    SetLightControl(true, true);
    ApplyLanguage(language_.ReadStoredIndex());
    // The HID slots and the device pages join here as they are built.
    if (const QScreen* screen = GetWidget()->screen()) {
        screenSize_ = screen->geometry().size();
    }
    UpdateNoDeviceLink();
    ShowWindow(true, true);
    SetTimer(kTimerRefit, 100);
    initialised_ = true;
}

int CMainWnd::DpiForMonitor(int width, int height) {
    return width > 1500 && height > 960 ? 144 : 96;
}

void CMainWnd::Refit() {
    QWidget* widget = GetWidget();
    if (widget == nullptr) {
        return;
    }
    const bool shown = widget->isVisible() && !widget->isMinimized();
    if (!shown) {
        HandleMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    }
    const QScreen* screen = widget->screen() != nullptr ? widget->screen() : QGuiApplication::primaryScreen();
    const QSize monitor = screen != nullptr ? screen->geometry().size() : QSize(1280, 1024);
    int dpi = DpiForMonitor(monitor.width(), monitor.height());
    if (!ui::CDPI::IsSupported(dpi)) {
        platform::DebugOutput("MAIN_WND DPI SET ERROR");
        dpi = 96;
    }
    ui::CPaintManagerUI::SetAllDPI(96);
    widget->resize(1000, 640);
    ui::CPaintManagerUI::SetAllDPI(dpi);
    CenterWindow();
    ShowWindow(shown, false);
}

void CMainWnd::UpdateNoDeviceLink() {
    auto* bar = static_cast<ui::CContainerUI*>(
        m_pm.FindControl("device_select_layout") != nullptr
            ? m_pm.FindControl("device_select_layout")->GetInterface("Container")
            : nullptr);
    int visible = 0;
    for (int i = 0; bar != nullptr && i < bar->GetCount(); ++i) {
        visible += bar->GetItemAt(i)->IsVisible() ? 1 : 0;
    }
    if (ui::CControlUI* link = m_pm.FindControl("No_device_Link")) {
        link->SetVisible(visible == 0);
    }
    if (visible != 0) {
        return;
    }
    for (const char* name : {"device_power_switch", "device_switch"}) {
        ui::CControlUI* control = m_pm.FindControl(name);
        if (auto* tab = control != nullptr
                            ? static_cast<ui::CTabLayoutUI*>(control->GetInterface("TabLayout"))
                            : nullptr) {
            tab->SelectItem(0);
        }
    }
}

void CMainWnd::BringForward() {
    UpdateNoDeviceLink();
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    // Raising and activating is what the brief topmost step achieves; X11 window managers honour it.
    ShowWindow(true, true);
}

void CMainWnd::Notify(ui::TNotifyUI& msg) {
    const std::string sender = msg.pSender != nullptr ? msg.pSender->GetName() : std::string();
    if (msg.sType != ui::kNotifyTimer) {
        platform::DebugFormat("%s %s\n", msg.sType.c_str(), sender.c_str());
    }
    if (msg.sType == ui::kNotifyWindowInit) {
        OnWindowInit();
    } else if (msg.sType == ui::kNotifyWindowSize) {
        if (sender == "root" && displayChanged_) {
            displayChanged_ = false;
            Refit();
        }
    } else if (msg.sType == ui::kNotifyClick) {
        OnClick(msg);
        return;
    }
}

void CMainWnd::OnClick(ui::TNotifyUI& msg) {
    const std::string& name = msg.pSender->GetName();
    if (ui::EqualsNoCase(name, "closebtn")) {
        // The close button ends the program at once, as the product always has; files are written
        // atomically, so nothing is left half-written.
        std::_Exit(0);
    }
    if (ui::EqualsNoCase(name, "nodevice_ok_btn")) {
        ShowWindow(false);
    } else if (ui::EqualsNoCase(name, "control_light_status")) {
        SetLightControl(!lightControlled_, true);
    } else if (ui::EqualsNoCase(name, "minbtn")) {
        HandleMessage(ui::WM_SYSCOMMAND, ui::SC_MINIMIZE, 0);
    } else if (ui::EqualsNoCase(name, "maxbtn")) {
        HandleMessage(ui::WM_SYSCOMMAND, ui::SC_MAXIMIZE, 0);
    } else if (ui::EqualsNoCase(name, "restorebtn")) {
        HandleMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    }
}

void CMainWnd::SetLightControl(bool on, bool broadcast) {
    lightControlled_ = on;
    if (broadcast && broadcaster_) {
        broadcaster_(platform::ipc::kLightControlAnnouncementName, platform::ipc::kLightControlWParam,
                     on ? 1 : 0);
    }
    if (ui::CControlUI* status = m_pm.FindControl("control_light_status")) {
        status->SetText(on ? kLightOnText : kLightOffText);
    }
}

void CMainWnd::OnTrayClick(ui::LPARAM button) {
    if (button == ui::WM_RBUTTONUP) {
        SetTimer(kTimerTrayMenu, 10);
        return;
    }
    if (button != ui::WM_LBUTTONUP) {
        return;
    }
    UpdateNoDeviceLink();
    if (ui::IsWindow(settingsWnd_)) {
        ui::PostMessage(settingsWnd_, ui::WM_CLOSE);
    }
    if (IsVisible() && !IsMinimized()) {
        ShowWindow(false);
        return;
    }
    ShowWindow(true, true);
    Refit();
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    BringForward();
    m_pm.Invalidate();
}

void CMainWnd::ShowTrayMenu() {
    const QPoint cursor = QCursor::pos();
    unsigned align = ui::eMenuAlignment_Left | ui::eMenuAlignment_Top;
    // The tray may sit on any edge: open the menu towards the middle of the screen.
    if (const QScreen* screen = QGuiApplication::screenAt(cursor)) {
        const QRect area = screen->geometry();
        if (cursor.x() > area.center().x()) {
            align = (align & ~ui::eMenuAlignment_Left) | ui::eMenuAlignment_Right;
        }
        if (cursor.y() > area.center().y()) {
            align = (align & ~ui::eMenuAlignment_Top) | ui::eMenuAlignment_Bottom;
        }
    }
    ui::CMenuWnd::DestroyMenu();
    ui::CMenuWnd::CreateMenu(GetHWND(), "menu.xml", cursor, align, m_pm.GetDPI());
}

void CMainWnd::OnMenuCommand(const std::string& item) {
    if (item == "exit") {
        Close(0);
        return;
    }
    const auto action = menuActions_.find(item);
    if (action != menuActions_.end() && action->second) {
        action->second();
    }
}

void CMainWnd::SetActive(bool active) {
    active_ = active;
    hovered_ = active;
}

void CMainWnd::SetHovered(bool hovered) {
    if (!active_) {
        hovered_ = hovered;
    }
}

void CMainWnd::OnDpiChanged(int dpi) {
    m_pm.SetDPI(dpi);
    m_pm.ResetDPIAssets();
    CenterWindow();
    m_pm.NeedUpdate();
    platform::DebugOutput("界面 DPI 发生变化");
}

void CMainWnd::OnDestroy() {
    tray_.DeleteTrayIcon();
    ui::PostQuitMessage(0);
    platform::DebugOutput("退出测试");
    ShowWindow(false);
    for (int slot = 0; slot < kWorkerSlots; ++slot) {
        platform::CWorkerThread& worker = workers_[static_cast<std::size_t>(slot)];
        if (!worker.Running()) {
            platform::DebugFormat("错误\n%d", slot);
            continue;
        }
        worker.Stop();
    }
    ui::PostQuitMessage(0);
}

ui::LRESULT CMainWnd::MessageHandler(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) {
    const SRegisteredMessages& registered = RegisteredMessages();
    handled = false;
    if (message == ui::WM_ACTIVATE) {
        SetActive(wParam != 0);
        return 0;
    }
    if (message == ui::WM_MOUSEHOVER || message == ui::WM_MOUSELEAVE) {
        platform::DebugOutput(message == ui::WM_MOUSEHOVER ? "鼠标移入" : "鼠标移出");
        SetHovered(message == ui::WM_MOUSEHOVER);
        return 0;
    }
    if (registered.productMessage != 0 && message == registered.productMessage) {
        platform::DebugFormat("软件标示 %u，%lxd%lxd", message, static_cast<unsigned long>(wParam),
                              static_cast<unsigned long>(lParam));
        BringForward();
        return 0;
    }
    if (registered.settingsRelay != 0 && message == registered.settingsRelay) {
        if (ui::IsWindow(settingsWnd_)) {
            ui::PostMessage(settingsWnd_, message, wParam, lParam);
        }
        return 0;
    }
    if (registered.lightControlCommand != 0 && message == registered.lightControlCommand) {
        if (wParam == platform::ipc::kLightControlWParam) {
            if (lParam == 0 || lParam == 1) {
                SetLightControl(lParam == 1, false);
            }
        }
        return 0;
    }
    if (message == ui::WM_DESTROY) {
        OnDestroy();
        handled = true;
        return 0;
    }
    if (message == ui::WM_POWERBROADCAST) {
        if (wParam == PBT_APMRESUMEAUTOMATIC) {
            running_ = true;
        } else if (wParam == PBT_APMSUSPEND) {
            running_ = false;
        }
        return 0;
    }
    if (!running_) {
        return 0;
    }
    switch (message) {
        case ui::WM_DISPLAYCHANGE:
            platform::DebugOutput("显示器分辨率发生变化");
            displayChanged_ = true;
            Refit();
            return 0;
        case ui::WM_TIMER:
            KillTimer(static_cast<unsigned>(wParam));
            if (wParam == kTimerRefit) {
                Refit();
                m_pm.Invalidate();
            } else if (wParam == kTimerTrayMenu) {
                ShowTrayMenu();
            }
            handled = true;
            return 0;
        case ui::WM_DPICHANGED:
            OnDpiChanged(static_cast<int>(wParam & 0xFFFF));
            handled = true;
            return 0;
        case kMsgLanguageChanged:
            ApplyLanguage(static_cast<int>(wParam));
            handled = true;
            return 0;
        case kTrayMessage:
            OnTrayClick(lParam);
            handled = true;
            return 0;
        case ui::WM_MENUCLICK: {
            // The menu hands over the chosen item; the window owns it from here.
            std::unique_ptr<ui::CMenuCmd> command(reinterpret_cast<ui::CMenuCmd*>(lParam));
            if (command) {
                OnMenuCommand(command->name);
            }
            handled = true;
            return 0;
        }
        case kMsgDpiNotice:
            platform::DebugOutput("界面 DPI 1发生变化");
            return 0;
        case kMsgShowSettingProgress:
            if (ui::CControlUI* progress = m_pm.FindControl("setting_progress")) {
                progress->SetVisible(true);
            }
            return 0;
        case kMsgClearUpdateBadge:
            if (ui::CControlUI* control = m_pm.FindControl("setbtn")) {
                if (auto* button = static_cast<ui::CButtonUI*>(control->GetInterface("Button"))) {
                    button->SetForeImage("");
                }
            }
            return 0;
        default:
            return 0;
    }
}

void CMainWnd::ApplyLanguage(int index) {
    if (!language_.Apply(index, m_pm)) {
        return;
    }
    m_pm.Invalidate();
    // The open child windows reload their texts.
    for (ui::HWND child : {settingsWnd_, CAboutWnd::OpenWindow()}) {
        if (ui::IsWindow(child)) {
            ui::SendMessage(child, kMsgLanguageChanged, 0);
        }
    }
    m_pm.NeedUpdate();
}

int CMainWnd::OnPublish(SkinChangedParam param) {
    if (ui::CControlUI* root = m_pm.FindControl("root")) {
        root->SetBkColor(param.isColor ? param.color : 0);
        root->SetBkImage(param.isColor ? std::string() : param.image);
    }
    return 1;
}

}  // namespace app
