#include "app/main_wnd.h"

#include "app/about_wnd.h"
#include "app/control_factory_tables.h"
#include "app/light_mode_sync.h"
#include "app/main_wnd_routes.h"
#include "app/msg_wnd.h"
#include "app/product_identity.h"
#include "app/registered_messages.h"
#include "app/set_wnd.h"
#include "app/skin_frame.h"
#include "app/skin_settings.h"
#include "device/pellix_usb_device.h"
#include "platform/debug.h"
#include "platform/ipc/shell_messages.h"
#include "profile/device_profile_ui.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/menu_wnd.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/ui_parse.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <string_view>

namespace app {
namespace {

constexpr const char kLightOnText[] = "控制灯光";
constexpr const char kLightOffText[] = "不控制灯光";
constexpr const char kUpdateBadge[] = "file='sysbtn/haveNewInfo.png'";

// Started at login by the autostart entry: stay in the tray, where a tray exists to reach the
// window from, until the user asks for the window.
bool StartsHidden() {
    const char* hidden = std::getenv("NORVIK_START_HIDDEN");
    return hidden != nullptr && std::string_view(hidden) == "1" && QSystemTrayIcon::isSystemTrayAvailable();
}

bool HasLights(int kind) {
    return kind == kKindKeyboard || IsMouseKind(static_cast<uint16_t>(kind)) || kind == kKindMousePad;
}

}  // namespace

CMainWnd::CMainWnd()
    : editingLock_(
          [this](bool enabled) {
              if (ui::CControlUI* bar = m_pm.FindControl("device_select_layout")) {
                  bar->SetEnabled(enabled);
              }
              CPellixUSBDevice* page = bar_ != nullptr ? bar_->ActivePage() : nullptr;
              if (CDeviceProfileUI* panel = page != nullptr ? page->ProfilePanel() : nullptr) {
                  panel->SetEnabled(enabled);
              }
          },
          [this](bool busy) {
              if (CPellixUSBDevice* page = bar_ ? bar_->ActivePage() : nullptr) {
                  page->SetKeyPanelBusy(busy);
              }
          }) {}

CMainWnd::~CMainWnd() {
    // A window deleted while it still exists shuts down as if it were closed: its workers stop
    // (and a worker waiting in SendMessage is let go) before the members they use are gone.
    if (ui::IsWindow(GetHWND())) {
        DestroyWindow();
    }
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
    bar_ = std::make_unique<CDeviceBar>(m_pm, this);
    bar_->SetLeavingSelected([this] { CloseChildWindows(); });
    relay_.SetWindow(GetHWND());
    AddMainWndRoutes(router_, targets_);
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
    RestoreSkin();
    if (const QScreen* screen = GetWidget()->screen()) {
        screenSize_ = screen->geometry().size();
    }
    AssembleDevicePages();
    UpdateNoDeviceLink();
    stayHidden_ = StartsHidden();
    if (!stayHidden_) {
        ShowWindow(true, true);
    }
    for (const CDeviceBar::SEntry& entry : bar_->Entries()) {
        entry.page->DeliverPendingMessages();
    }
    StartWorkers();
    SetTimer(kTimerRefit, 100);
    initialised_ = true;
}

void CMainWnd::AssembleDevicePages() {
    discovery_ = std::make_unique<CDeviceDiscovery>(relay_);
    const std::vector<InterfaceSlot> interfaces = discovery_->Slots();
    bar_->AssemblePages(interfaces, {GetHWND(), screenSize_.width(), screenSize_.height()});
    for (const CDeviceBar::SEntry& entry : bar_->Entries()) {
        binder_.Add(entry.page->Connection());
        entry.page->SetMessageSink([this](const std::string& textKey) { ShowMessage(textKey); });
    }
}

void CMainWnd::StartWorkers() {
    discovery_->Start();
    if (updateThread_) {
        updateThread_->Start();
    }
    lightSync_.Start();
}

void CMainWnd::RootResized() {
    if (!displayChanged_) {
        return;
    }
    displayChanged_ = false;
    Refit();
}

CPellixUSBDevice* CMainWnd::PageOfConnection(const CDeviceConnection* connection) const {
    for (const CDeviceBar::SEntry& entry : bar_->Entries()) {
        if (&entry.page->Connection() == connection) {
            return entry.page;
        }
    }
    return nullptr;
}

void CMainWnd::OnInterfaceArrived(int slot, const InterfaceSlot& row) {
    binder_.InterfaceArrived(slot, row);
    if (row.subKind == kSubKindCommand) {
        const int index = bar_->IndexOfPage(PageOfConnection(binder_.CommandDevice(row)));
        if (index >= 0) {
            bar_->SelectDeviceOption(index, true, bar_->VisibleCount() == 0);
            bar_->Entries()[static_cast<size_t>(index)].page->NotifyConnected();
        }
    }
    NoteFirmwareVersions();
    // A device found after a start at login gets its profile without the window popping up.
    if (!stayHidden_) {
        BringForward();
    }
}

void CMainWnd::OnInterfaceRemoved(int slot, const InterfaceSlot& row) {
    binder_.InterfaceRemoved(slot, row);
    NoteFirmwareVersions();
    if (row.subKind != kSubKindCommand) {
        return;
    }
    CPellixUSBDevice* page = PageOfConnection(binder_.CommandDevice(row));
    macroCommands_.PageRemoved(page);
    bar_->HideDeviceOption(bar_->IndexOfPage(page));
}

void CMainWnd::OnDeviceResync(ui::WPARAM delayMs, ui::LPARAM page) {
    // The pointer came from a worker: use it only when it names one of our pages.
    for (const CDeviceBar::SEntry& entry : bar_->Entries()) {
        if (reinterpret_cast<ui::LPARAM>(entry.page) == page) {
            entry.page->RequestResync(static_cast<int>(delayMs));
            return;
        }
    }
}

void CMainWnd::OnProfileSwitchTimer() {
    CPellixUSBDevice* page = bar_->ActivePage();
    if (page == nullptr) {
        return;
    }
    page->SwitchToSelectedProfile();
}

void CMainWnd::ForEachLitPage(const std::function<void(CPellixUSBDevice&)>& action) {
    for (const CDeviceBar::SEntry& entry : bar_->Entries()) {
        if (HasLights(entry.page->DeviceKind())) {
            action(*entry.page);
        }
    }
}

void CMainWnd::ApplySameModeToAll() {
    CPellixUSBDevice* active = bar_->ActivePage();
    if (active == nullptr) {
        return;
    }
    const LightInfo source = active->LightState();
    LightAnimationSettings settings = lightSync_.Settings();
    if (const auto effect = CLightModeSync::EffectOfMode(active->DeviceKind(), source.selectItem)) {
        settings.effect = *effect;
    }
    settings.brightnessLevel = source.light;
    settings.speedLevel = source.speed;
    settings.forward = source.fx != 0;
    settings.colourMode = source.multiColor != 0;
    settings.colour = {source.red, source.green, source.blue};
    for (const CDeviceBar::SEntry& entry : bar_->Entries()) {
        if (const auto mode = CLightModeSync::ModeOfEffect(entry.page->DeviceKind(), settings.effect)) {
            entry.page->ApplySyncLightMode(*mode, source);
        }
    }
    lightSync_.SetSettings(settings);
    for (const CDeviceBar::SEntry& entry : bar_->Entries()) {
        if (entry.page->IsCommandChannelOpen()) {
            entry.page->SetSynchronisedLighting(true);
        }
    }
}

bool CMainWnd::AnySynchronised() {
    for (const CDeviceBar::SEntry& entry : bar_->Entries()) {
        if (entry.page->IsCommandChannelOpen() && entry.page->IsSynchronisedLighting()) {
            return true;
        }
    }
    return false;
}

void CMainWnd::StoreFrame(uint32_t frame) {
    for (const CDeviceBar::SEntry& entry : bar_->Entries()) {
        if (!entry.page->IsSynchronisedLighting()) {
            continue;
        }
        for (int led = 0; led < entry.page->LedCount(); ++led) {
            entry.page->SetLedColour(led, frame);
        }
    }
}

void CMainWnd::UpdateRoundFinished(bool somethingNew) {
    ui::PostMessage(GetHWND(), kMsgSetUpdateBadge, 0, somethingNew ? 1 : 0);
    if (somethingNew) {
        ui::PostMessage(GetHWND(), kMsgOpenSettings);
    }
}

int CMainWnd::FirmwareVersion(size_t page) const {
    std::lock_guard lock(firmwareVersionsMutex_);
    return page < firmwareVersions_.size() ? firmwareVersions_[page] : 0;
}

void CMainWnd::NoteFirmwareVersions() {
    // The update thread asks from its own thread; it reads this copy, never the devices.
    std::vector<int> versions;
    for (const CDeviceBar::SEntry& entry : bar_->Entries()) {
        CPellixUSBDevice& device = *entry.page;
        versions.push_back(device.IsCommandChannelOpen() ? device.Connection().Command().Device().Version()
                                                         : 0);
    }
    std::lock_guard lock(firmwareVersionsMutex_);
    firmwareVersions_ = std::move(versions);
}

bool CMainWnd::Confirm(const std::string& textKey) {
    return CMsgWnd::ShowMessage(GetHWND(), "", textKey, true, m_pm.GetDPI(), 1) != 0;
}

void CMainWnd::ShowMessage(const std::string& textKey) {
    CMsgWnd::ShowMessage(GetHWND(), "", textKey, true, m_pm.GetDPI(), 0);
}

void CMainWnd::ShowMessageNumber(const std::string& textKey, int number) {
    // The translation is the format; only its "%d" is filled in, so a language file can never
    // make the formatting read arguments that are not there.
    const std::string* format = ui::CResourceManager::GetInstance().GetText(textKey);
    std::string text = format != nullptr ? *format : textKey;
    if (const size_t at = text.find("%d"); at != std::string::npos) {
        text.replace(at, 2, std::to_string(number));
    }
    CMsgWnd::ShowMessage(GetHWND(), "", text, false, m_pm.GetDPI(), 0);
}

void CMainWnd::OpenAboutWindow() {
    CAboutWnd::OpenAboutWindow(GetHWND());
}

void CMainWnd::OpenSettingsWindow(bool besideThisWindow) {
    CSetWnd::Open(GetHWND(), *this, LanguageIndex(), besideThisWindow);
}

void CMainWnd::OpenSkinChooser() {
    CSkinFrame::Open(GetHWND(), m_pm.FindControl("skinbtn"));
}

void CMainWnd::RestoreSkin() {
    const std::optional<SSkinImage> stored = CSkinSettings().Read();
    if (!stored) {
        return;
    }
    if (const auto image = CSkinSettings::RestorableImage(*stored, ui::CPaintManagerUI::GetResourcePath())) {
        OnPublish(SkinChangedParam{false, 0, *image});
    }
}

void CMainWnd::CloseChildWindows() {
    for (ui::HWND child : {SettingsWindow(), CAboutWnd::OpenWindow()}) {
        if (ui::IsWindow(child)) {
            ui::PostMessage(child, ui::WM_CLOSE);
        }
    }
}

ui::HWND CMainWnd::SettingsWindow() const {
    if (ui::IsWindow(settingsWnd_)) {
        return settingsWnd_;
    }
    const ui::HWND open = CSetWnd::OpenWindow();
    return ui::IsWindow(open) ? open : nullptr;
}

void CMainWnd::SetUpdateBadge(bool on) {
    ui::CControlUI* control = m_pm.FindControl("setbtn");
    if (auto* button =
            control != nullptr ? static_cast<ui::CButtonUI*>(control->GetInterface("Button")) : nullptr) {
        button->SetForeImage(on ? kUpdateBadge : "");
    }
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
    if (bar_) {
        bar_->UpdateNoDeviceLink();
    }
}

void CMainWnd::BringForward() {
    stayHidden_ = false;
    UpdateNoDeviceLink();
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    // Raising and activating is what the brief topmost step achieves; X11 window managers honour it.
    ShowWindow(true, true);
}

void CMainWnd::HideToTray() {
    // Without a tray host a hidden window could not be found again.
    if (tray_.IsShown()) {
        ShowWindow(false);
        return;
    }
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_MINIMIZE, 0);
}

void CMainWnd::Notify(ui::TNotifyUI& msg) {
    const std::string sender = msg.pSender != nullptr ? msg.pSender->GetName() : std::string();
    if (!router_.Route(msg.sType, sender)) {
        return;
    }
    WindowImplBase::Notify(msg);
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
    if (bar_) {
        ForEachLitPage([on](CPellixUSBDevice& page) { page.SetLightControlled(on); });
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
    CloseChildWindows();
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
    if (router_.Matches("menu", item)) {
        router_.Route("menu", item);
    }
}

void CMainWnd::SetActive(bool active) {
    active_ = active;
    hovered_ = active;
    if (bar_) {
        ForEachLitPage([this](CPellixUSBDevice& page) {
            page.SetWindowActive(active_);
            page.SetHovered(hovered_);
        });
    }
}

void CMainWnd::SetHovered(bool hovered) {
    if (active_) {
        return;
    }
    hovered_ = hovered;
    if (bar_) {
        ForEachLitPage([this](CPellixUSBDevice& page) { page.SetHovered(hovered_); });
    }
}

void CMainWnd::OnDestroy() {
    macroCommands_.StopRecording();
    hook_.UninstallHooks();
    tray_.DeleteTrayIcon();
    ui::PostQuitMessage(0);
    platform::DebugOutput("退出测试");
    ShowWindow(false);
    if (discovery_) {
        discovery_->Stop();
    }
    if (updateThread_) {
        updateThread_->Stop();
    }
    lightSync_.Stop();
    ui::PostQuitMessage(0);
}

// Each concern takes its own messages; the device, input and shell ones wait while the machine
// sleeps.
ui::LRESULT CMainWnd::MessageHandler(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) {
    handled = false;
    if (HandleWindowStateMessage(message, wParam) || HandleIpcMessage(message, wParam, lParam)) {
        return 0;
    }
    if (message == ui::WM_DESTROY) {
        OnDestroy();
        handled = true;
        return 0;
    }
    if (message == ui::WM_POWERBROADCAST) {
        OnPowerBroadcast(wParam);
        return 0;
    }
    if (!running_) {
        return 0;
    }
    if (HandleDeviceMessage(message, wParam, lParam) || HandleInputMessage(message, wParam, lParam) ||
        HandleTimerMessage(message, wParam) || HandleTrayAndMenuMessage(message, lParam)) {
        handled = true;
        return 0;
    }
    handled = HandleShellMessage(message, wParam, lParam);
    return 0;
}

bool CMainWnd::HandleWindowStateMessage(unsigned message, ui::WPARAM wParam) {
    if (message == ui::WM_ACTIVATE) {
        SetActive(wParam != 0);
        return true;
    }
    if (message == ui::WM_MOUSEHOVER || message == ui::WM_MOUSELEAVE) {
        platform::DebugOutput(message == ui::WM_MOUSEHOVER ? "鼠标移入" : "鼠标移出");
        SetHovered(message == ui::WM_MOUSEHOVER);
        return true;
    }
    return false;
}

// The registered messages of other programs and of a second copy of this one.
bool CMainWnd::HandleIpcMessage(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam) {
    const SRegisteredMessages& registered = RegisteredMessages();
    if (message == 0) {
        return false;
    }
    if (message == registered.productMessage) {
        platform::DebugFormat("软件标示 %u，%lxd%lxd", message, static_cast<unsigned long>(wParam),
                              static_cast<unsigned long>(lParam));
        BringForward();
        return true;
    }
    if (message == registered.settingsRelay) {
        if (ui::HWND settings = SettingsWindow()) {
            ui::PostMessage(settings, message, wParam, lParam);
        }
        return true;
    }
    if (message == registered.lightControlCommand) {
        if (wParam == platform::ipc::kLightControlWParam) {
            SetLightControl(lParam == 0 || lParam == 1 ? lParam == 1 : lightControlled_, false);
        }
        return true;
    }
    return false;
}

void CMainWnd::OnPowerBroadcast(ui::WPARAM event) {
    if (event == kPowerResume) {
        running_ = true;
    } else if (event == kPowerSuspend) {
        running_ = false;
    }
    lightSync_.SetRunning(running_);
    if (bar_) {
        ForEachLitPage(
            [this](CPellixUSBDevice& page) { page.SetLightControlled(running_ && lightControlled_); });
    }
}

bool CMainWnd::HandleDeviceMessage(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam) {
    if (!bar_) {
        return false;
    }
    const auto* row = reinterpret_cast<const InterfaceSlot*>(lParam);
    switch (message) {
        case kMsgInterfaceArrived:
            OnInterfaceArrived(static_cast<int>(wParam), *row);
            return true;
        case kMsgInterfaceRemoved:
            OnInterfaceRemoved(static_cast<int>(wParam), *row);
            return true;
        case kMsgDeviceResync:
            OnDeviceResync(wParam, lParam);
            return true;
        default:
            return false;
    }
}

// The input hook: its switch, macro recording, and the single key it captured.
bool CMainWnd::HandleInputMessage(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam) {
    if (message == kMsgHookControl) {
        OnHookControl(wParam);
        return true;
    }
    if (macroCommands_.HandleHookMessage(message, wParam, lParam)) {
        return true;
    }
    if (message == singleKeyMessage_) {
        OnSingleKey(wParam, lParam);
        return true;
    }
    return false;
}

bool CMainWnd::HandleTimerMessage(unsigned message, ui::WPARAM id) {
    if (message != ui::WM_TIMER) {
        return false;
    }
    KillTimer(static_cast<unsigned>(id));
    if (id == kTimerRefit) {
        Refit();
        m_pm.Invalidate();
    } else if (id == kTimerTrayMenu) {
        ShowTrayMenu();
    } else if (id == kTimerProfileSwitch) {
        OnProfileSwitchTimer();
    }
    return true;
}

bool CMainWnd::HandleTrayAndMenuMessage(unsigned message, ui::LPARAM lParam) {
    if (message == kTrayMessage) {
        OnTrayClick(lParam);
        return true;
    }
    if (message != ui::WM_MENUCLICK) {
        return false;
    }
    // The menu hands over the chosen item; the window owns it from here.
    std::unique_ptr<ui::CMenuCmd> command(reinterpret_cast<ui::CMenuCmd*>(lParam));
    if (command) {
        OnMenuCommand(command->name);
    }
    return true;
}

// The display, the language and what the settings window and the update round ask for; true for
// the messages that count as handled.
bool CMainWnd::HandleShellMessage(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam) {
    switch (message) {
        case ui::WM_DISPLAYCHANGE:
            platform::DebugOutput("显示器分辨率发生变化");
            displayChanged_ = true;
            Refit();
            return false;
        case kMsgLanguageChanged:
            ApplyLanguage(static_cast<int>(wParam));
            return true;
        case kMsgDpiNotice:
            platform::DebugOutput("界面 DPI 1发生变化");
            return false;
        case kMsgShowSettingProgress:
            if (ui::CControlUI* progress = m_pm.FindControl("setting_progress")) {
                progress->SetVisible(true);
            }
            return false;
        case kMsgClearUpdateBadge:
            SetUpdateBadge(false);
            return false;
        case kMsgSetUpdateBadge:
            SetUpdateBadge(lParam != 0);
            return false;
        case kMsgOpenSettings:
            OnMenuCommand("setwnd_menu");
            return false;
        default:
            return false;
    }
}

void CMainWnd::OnHookControl(ui::WPARAM install) {
    if (install == 1) {
        hook_.InstallHooks(1, GetHWND(), true, true);
    } else if (install == 0) {
        hook_.UninstallHooks();
    }
}

// A key pressed while the key panel captures: the active page takes it.
void CMainWnd::OnSingleKey(ui::WPARAM keyMessage, ui::LPARAM record) {
    CPellixUSBDevice* page = bar_ ? bar_->ActivePage() : nullptr;
    const auto* key = reinterpret_cast<const KeyboardHookEvent*>(record);
    if (page == nullptr || key == nullptr || keyMessage != CDeviceHook::kKeyDown) {
        return;
    }
    page->CaptureKey(static_cast<uint8_t>(key->scanCode), (key->flags & 1) != 0);
}

void CMainWnd::ApplyLanguage(int index) {
    if (!language_.Apply(index, m_pm)) {
        return;
    }
    m_pm.Invalidate();
    // The open child windows reload their texts.
    for (ui::HWND child : {SettingsWindow(), CAboutWnd::OpenWindow()}) {
        if (ui::IsWindow(child)) {
            ui::SendMessage(child, kMsgLanguageChanged, 0);
        }
    }
    RelayoutPagesForLanguage();
    m_pm.NeedUpdate();
}

void CMainWnd::RelayoutPagesForLanguage() {
    if (!bar_) {
        return;
    }
    for (const CDeviceBar::SEntry& entry : bar_->Entries()) {
        const int kind = entry.page->DeviceKind();
        if (kind != kKindKeyboard && !IsMouseKind(static_cast<uint16_t>(kind))) {
            continue;
        }
        // Names the page resolved from the language texts (its key assignments) are shown anew.
        if (entry.page->IsCommandChannelOpen()) {
            entry.page->RefreshPage();
        }
        entry.page->NeedUpdate();
    }
}

int CMainWnd::OnPublish(SkinChangedParam param) {
    if (ui::CControlUI* root = m_pm.FindControl("root")) {
        root->SetBkColor(param.isColor ? param.color : 0);
        root->SetBkImage(param.isColor ? std::string() : param.image);
    }
    return 1;
}

}  // namespace app
