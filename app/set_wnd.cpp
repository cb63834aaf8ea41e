#include "app/set_wnd.h"

#include "app/language_choice.h"
#include "app/main_wnd.h"
#include "app/msg_wnd.h"
#include "app/registered_messages.h"
#include "app/update_download.h"
#include "net/firmware_catalogue.h"
#include "net/http_client.h"
#include "net/update_time_record.h"
#include "platform/autostart.h"
#include "platform/debug.h"
#include "ui/controls/update_info_list_item_ui.h"
#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/dpi.h"
#include "ui/toolkit/list_label_element_ui.h"
#include "ui/toolkit/list_ui.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/tab_layout_ui.h"

#include <QWidget>

#include <cstdio>

namespace app {
namespace {

constexpr const char kSetWndTitle[] = "  ";
constexpr int kWidth = 630;
constexpr int kHeight = 500;
constexpr const char kProgramModel[] = "ALL";

ui::HWND& OpenSlot() {
    static ui::HWND open = nullptr;
    return open;
}

int OwnerDpi(ui::HWND owner) {
    auto* window = dynamic_cast<ui::WindowImplBase*>(owner);
    return window != nullptr ? window->GetPaintManager().GetDPI() : 96;
}

std::string Translated(const std::string& key) {
    const std::string* text = ui::CResourceManager::GetInstance().GetText(key);
    return text != nullptr ? *text : key;
}

bool IsProgramRow(const FirmwareRow& row) {
    return row.model == kProgramModel;
}

std::string LocalVersionText(const FirmwareRow& row) {
    if (IsProgramRow(row)) {
        return row.versionText;
    }
    char text[16];
    std::snprintf(text, sizeof text, "V%04x", static_cast<unsigned>(row.version));
    return text;
}

}  // namespace

CSetWnd::CSetWnd(ui::HWND owner, const IFirmwareVersionSource& versions, int languageIndex)
    : owner_(owner), languageIndex_(languageIndex) {
    list_.Refresh(versions);
    for (const FirmwareRow& row : list_.Rows()) {
        if (row.version != 0) {
            rows_.push_back({row, {}});
        }
    }
}

bool CSetWnd::Open(ui::HWND owner, const IFirmwareVersionSource& versions, int languageIndex,
                   bool besideOwner) {
    if (OpenSlot() != nullptr) {
        return false;
    }
    // The window owns itself from here: it is deleted when it is destroyed.
    auto* wnd = new CSetWnd(owner, versions, languageIndex);
    if (wnd->Create(owner, kSetWndTitle, ui::WS_POPUP, ui::WS_EX_TOOLWINDOW, 0, 0, kWidth, kHeight) ==
        nullptr) {
        delete wnd;
        return false;
    }
    int dpi = OwnerDpi(owner);
    if (!ui::CDPI::IsSupported(dpi)) {
        platform::DebugOutput("SET_WND DPI SET ERROR");
        dpi = 96;
    }
    wnd->m_pm.SetDPI(dpi);
    wnd->ResizeClient(wnd->m_pm.Scale(kWidth), wnd->m_pm.Scale(kHeight));
    const QWidget* ownerWidget = owner != nullptr ? owner->GetWidget() : nullptr;
    if (besideOwner && ownerWidget != nullptr && ownerWidget->isVisible()) {
        const QRect frame = ownerWidget->frameGeometry();
        wnd->GetWidget()->move(frame.right() + 1 - wnd->GetWidget()->width() - wnd->m_pm.Scale(30),
                               frame.top() + wnd->m_pm.Scale(60));
    } else {
        wnd->CenterWindow();
    }
    OpenSlot() = wnd->GetHWND();
    wnd->StartCheck();
    wnd->ShowModal();
    OpenSlot() = nullptr;
    return true;
}

ui::HWND CSetWnd::OpenWindow() {
    return ui::IsWindow(OpenSlot()) ? OpenSlot() : nullptr;
}

std::string CSetWnd::StatusTextKey(int status) {
    static const char* const kKeys[] = {"GetUpdateInfoText", "HaveUpdateInfoText", "NoUpdateInfoText",
                                        "ISUpdateINGText", "UpdateIsLastText"};
    return status >= 0 && status <= kLatest ? kKeys[status] : "";
}

std::string CSetWnd::GetWindowClassName() const {
    return kSetWndClassName;
}

std::string CSetWnd::GetSkinFile() {
    return kSetWndSkinFile;
}

void CSetWnd::InitWindow() {
    // Reading the record creates it with today's date when it is missing.
    CUpdateTimeRecord::ReadLastCheckDate();
    FillLanguageList();
    ShowAutostart();
    AddItems();
    ShowUpdateButton(false);
    SetStatus(kChecking);
}

void CSetWnd::FillLanguageList() {
    ui::CControlUI* control = m_pm.FindControl("Language_combox_info");
    auto* combo = control != nullptr ? static_cast<ui::CComboUI*>(control->GetInterface("Combo")) : nullptr;
    if (combo == nullptr) {
        return;
    }
    for (const SLanguageEntry& entry : CLanguageChoice::ReadList(CLanguageChoice::DefaultListFile())) {
        auto* element = new ui::CListLabelElementUI();
        element->SetText(entry.text);
        combo->Add(element);
    }
    // Showing the current language is no choice of the user's: nothing is sent for it.
    filling_ = true;
    combo->SelectItem(languageIndex_);
    filling_ = false;
}

void CSetWnd::ShowAutostart() {
    if (auto* check = AutostartCheck()) {
        check->SetCheck(platform::AutostartEnabled(), false);
    }
}

ui::CCheckBoxUI* CSetWnd::AutostartCheck() {
    ui::CControlUI* control = m_pm.FindControl("autostart_check");
    return control != nullptr ? static_cast<ui::CCheckBoxUI*>(control->GetInterface("CheckBox")) : nullptr;
}

void CSetWnd::SwitchAutostart() {
    ui::CCheckBoxUI* check = AutostartCheck();
    if (check == nullptr || platform::SetAutostart(check->GetCheck(), platform::ApplicationProgram())) {
        return;
    }
    check->SetCheck(platform::AutostartEnabled(), false);
    CMsgWnd::ShowMessage(GetHWND(), "", "setwnd_autostart_failed", true, m_pm.GetDPI(), 0);
}

void CSetWnd::AddItems() {
    ui::CControlUI* control = m_pm.FindControl("device_update_list_info");
    auto* list = control != nullptr ? static_cast<ui::CListUI*>(control->GetInterface("List")) : nullptr;
    if (list == nullptr) {
        return;
    }
    for (const SCheckRow& checked : rows_) {
        auto* item = new ui::CUpdateInfoListItemUI();
        item->SetName(IsProgramRow(checked.row) ? "AP" : checked.row.displayName);
        item->SetOldVersion(LocalVersionText(checked.row));
        item->SetState(ui::CUpdateInfoListItemUI::kUpToDate);
        // "Up to date" is not known before the service has answered for the row.
        item->SetPending(true);
        list->Add(item);
    }
}

int CSetWnd::ItemCount() const {
    return static_cast<int>(rows_.size());
}

ui::CUpdateInfoListItemUI* CSetWnd::Item(int index) const {
    ui::CControlUI* control = m_pm.FindControl("device_update_list_info");
    auto* list = control != nullptr ? static_cast<ui::CListUI*>(control->GetInterface("List")) : nullptr;
    if (list == nullptr || index < 0 || index >= list->GetCount()) {
        return nullptr;
    }
    return static_cast<ui::CUpdateInfoListItemUI*>(
        list->GetItemAt(index)->GetInterface("UpdateInfoListItem"));
}

void CSetWnd::StartCheck() {
    SetStatus(kChecking);
    // The workers get the handle from here: they never ask the window itself.
    const ui::HWND window = GetHWND();
    checkThread_.Start([this, window](platform::CEvent& stop) { CheckBody(window, stop); });
    downloadThread_.Start([this, window](platform::CEvent& stop) { DownloadBody(window, stop); });
}

void CSetWnd::CheckBody(ui::HWND window, platform::CEvent& stop) {
    const CUpdateService service = CUpdateService::FromUserSettings();
    for (int i = 0; i < ItemCount(); ++i) {
        FirmwareRow row;
        {
            std::lock_guard lock(mutex_);
            row = rows_[static_cast<std::size_t>(i)].row;
        }
        const CheckResult result =
            service.CheckOneRow(CFirmwareList::ApplicationKey(row), row.version, row.kind != 0, &stop);
        if (stop.Wait(0)) {
            return;
        }
        {
            std::lock_guard lock(mutex_);
            rows_[static_cast<std::size_t>(i)].result = result;
        }
        ui::PostMessage(window, kMsgUpdateRowChecked, static_cast<ui::WPARAM>(i));
    }
    ui::PostMessage(window, kMsgUpdateCheckDone);
}

void CSetWnd::DownloadBody(ui::HWND window, platform::CEvent& stop) {
    while (platform::CEvent::WaitAny({&stop, &downloadRequest_}, platform::kInfinite) == 1) {
        std::vector<SDownloadJob> jobs;
        {
            std::lock_guard lock(mutex_);
            jobs.swap(jobs_);
        }
        for (SDownloadJob& job : jobs) {
            int shown = -1;
            job.ok = CHttpClient::DownloadToFile(
                job.url, job.file,
                [&](int64_t total, int64_t soFar) {
                    const int percent = total > 0 ? static_cast<int>(soFar * 100 / total) : 0;
                    if (percent != shown) {
                        shown = percent;
                        ui::PostMessage(window, kMsgDownloadProgress, static_cast<ui::WPARAM>(job.item),
                                        percent);
                    }
                },
                &stop);
            if (stop.Wait(0)) {
                return;
            }
            if (job.ok) {
                job.sha256 = CUpdateDownload::Sha256(job.file);
            }
            {
                std::lock_guard lock(mutex_);
                results_.push_back(job);
            }
            ui::PostMessage(window, kMsgListStateChanged, static_cast<ui::WPARAM>(job.item));
        }
    }
}

void CSetWnd::OnRowChecked(int index) {
    ui::CUpdateInfoListItemUI* item = Item(index);
    if (item == nullptr) {
        return;
    }
    CheckResult result;
    {
        std::lock_guard lock(mutex_);
        result = rows_[static_cast<std::size_t>(index)].result;
    }
    if (!result.serviceConfigured || result.Unreachable()) {
        ++unreachable_;
        return;
    }
    if (result.path.empty()) {
        return;
    }
    // Only an answer tells the row's state; a row without one claims nothing.
    item->SetPending(false);
    item->SetNewVersion(result.serverVersionText);
    item->SetDownloadPath(result.path);
    item->SetState(result.status == CheckResult::kStatusNewer ? ui::CUpdateInfoListItemUI::kNewer
                                                              : ui::CUpdateInfoListItemUI::kUpToDate);
}

void CSetWnd::OnCheckDone() {
    CUpdateTimeRecord::WriteLastCheckDate();
    bool found = false;
    for (int i = 0; i < ItemCount(); ++i) {
        ui::CUpdateInfoListItemUI* item = Item(i);
        const int state = item->GetState();
        const bool newer =
            state != ui::CUpdateInfoListItemUI::kUpToDate && state != ui::CUpdateInfoListItemUI::kNothing;
        item->SetChecked(newer);
        item->SetSelectable(newer);
        found = found || newer;
    }
    if (found) {
        ShowUpdateButton(true);
        SetStatus(kFound);
        return;
    }
    SetStatus(unreachable_ == ItemCount() ? kNotReached : kLatest);
}

void CSetWnd::StartDownloads() {
    const std::string folder = CUpdateDownload::Folder();
    std::vector<SDownloadJob> jobs;
    for (int i = 0; i < ItemCount(); ++i) {
        ui::CUpdateInfoListItemUI* item = Item(i);
        const int state = item->GetState();
        if (!item->IsChecked() ||
            (state != ui::CUpdateInfoListItemUI::kWaiting && state != ui::CUpdateInfoListItemUI::kFailed)) {
            continue;
        }
        item->SetTargetFile(folder +
                            CUpdateDownload::TargetFileName(item->GetName(), item->GetDownloadPath()));
        item->SetFileInfo("", "");
        item->SetProgress(0);
        item->SetState(ui::CUpdateInfoListItemUI::kDownloading);
        jobs.push_back({i, item->GetDownloadPath(), item->GetTargetFile(), false, {}});
    }
    if (jobs.empty()) {
        return;
    }
    SetStatus(kUpdating);
    {
        std::lock_guard lock(mutex_);
        jobs_.insert(jobs_.end(), jobs.begin(), jobs.end());
    }
    downloadRequest_.Set();
}

void CSetWnd::OnDownloadDone() {
    std::vector<SDownloadJob> results;
    {
        std::lock_guard lock(mutex_);
        results.swap(results_);
    }
    for (const SDownloadJob& job : results) {
        ui::CUpdateInfoListItemUI* item = Item(job.item);
        if (item == nullptr) {
            continue;
        }
        item->SetState(job.ok ? ui::CUpdateInfoListItemUI::kDownloaded : ui::CUpdateInfoListItemUI::kFailed);
        if (job.ok) {
            item->SetFileInfo(job.file, job.sha256);
        }
    }
    InstallNext();
    // A failed item stays chosen: the update button offers it again once nothing else runs.
    if (!IsBusy()) {
        UpdateButtonForChecks();
        SetStatus(kFound);
    }
}

void CSetWnd::InstallNext() {
    for (int i = 0; i < ItemCount(); ++i) {
        if (Item(i)->GetState() == ui::CUpdateInfoListItemUI::kInstalling) {
            return;
        }
    }
    for (int i = 0; i < ItemCount(); ++i) {
        ui::CUpdateInfoListItemUI* item = Item(i);
        if (!item->IsChecked() || item->GetState() != ui::CUpdateInfoListItemUI::kDownloaded) {
            continue;
        }
        item->SetState(ui::CUpdateInfoListItemUI::kInstalling);
        SetStatus(kUpdating);
        current_ = i;
        if (!CUpdateDownload::OpenFolderOf(item->GetTargetFile())) {
            item->SetState(ui::CUpdateInfoListItemUI::kFailed);
            CMsgWnd::ShowMessage(GetHWND(), "", "update_failed_text", true, m_pm.GetDPI(), 0);
        }
        return;
    }
}

void CSetWnd::OnRelay(ui::WPARAM wParam, ui::LPARAM lParam) {
    ui::CUpdateInfoListItemUI* item = Item(current_);
    if (item == nullptr) {
        return;
    }
    if (wParam == 1) {
        OnCurrentSucceeded();
    } else if (wParam == 2 || wParam == 3) {
        item->SetState(ui::CUpdateInfoListItemUI::kFailed);
        InstallNext();
    } else if (wParam == 4) {
        item->SetProgress(static_cast<int>(lParam));
    }
}

void CSetWnd::OnCurrentSucceeded() {
    ui::CUpdateInfoListItemUI* item = Item(current_);
    item->SetOldVersion(item->GetNewVersion());
    item->SetState(ui::CUpdateInfoListItemUI::kUpToDate);
    item->SetChecked(false);
    bool pending = false;
    bool allLatest = true;
    for (int i = 0; i < ItemCount(); ++i) {
        const ui::CUpdateInfoListItemUI* other = Item(i);
        const bool latest = other->GetState() == ui::CUpdateInfoListItemUI::kUpToDate;
        pending = pending || (other->IsChecked() && !latest);
        allLatest = allLatest && latest;
    }
    if (pending) {
        SetStatus(kFound);
        InstallNext();
        return;
    }
    for (int i = 0; i < ItemCount(); ++i) {
        if (Item(i)->GetState() != ui::CUpdateInfoListItemUI::kUpToDate) {
            Item(i)->SetSelectable(true);
        }
    }
    SetStatus(allLatest ? kLatest : kFound);
}

void CSetWnd::UpdateButtonForChecks() {
    bool any = false;
    for (int i = 0; i < ItemCount(); ++i) {
        any = any || Item(i)->IsChecked();
    }
    ShowUpdateButton(any);
}

void CSetWnd::ShowUpdateButton(bool on) {
    if (ui::CControlUI* button = m_pm.FindControl("update_fw_and_ap")) {
        button->SetEnabled(on);
        button->SetVisible(on);
    }
}

void CSetWnd::SetStatus(int status) {
    status_ = status;
    // Everything is current: the owner's update badge has nothing left to say.
    if (status == kLatest && owner_ != nullptr) {
        ui::PostMessage(owner_, kMsgClearUpdateBadge);
    }
    if (ui::CControlUI* text = m_pm.FindControl("Update_Status_text")) {
        const std::string key = StatusTextKey(status);
        const std::string version = list_.Rows()[CFirmwareCatalogue::kProgramRow].versionText;
        text->SetText(status == kLatest ? Translated(key) + " " + version : key);
    }
    if (ui::CControlUI* ring = m_pm.FindControl("update_status_ring")) {
        ring->SetVisible(status == kChecking || status == kUpdating);
    }
    if (ui::CControlUI* image = m_pm.FindControl("update_status_image")) {
        image->SetVisible(status == kLatest);
    }
}

bool CSetWnd::IsBusy() const {
    for (int i = 0; i < ItemCount(); ++i) {
        const int state = Item(i)->GetState();
        if (state >= ui::CUpdateInfoListItemUI::kWaiting && state <= ui::CUpdateInfoListItemUI::kInstalling) {
            return true;
        }
    }
    return false;
}

void CSetWnd::StopThreads() {
    checkThread_.Stop();
    downloadThread_.Stop();
}

void CSetWnd::CloseNow() {
    closing_ = true;
    Close(0);
}

void CSetWnd::Notify(ui::TNotifyUI& msg) {
    const std::string name = msg.pSender != nullptr ? msg.pSender->GetName() : std::string();
    if (msg.sType == ui::kNotifySelectChanged && name == "check_name_select") {
        UpdateButtonForChecks();
        return;
    }
    if (msg.sType == ui::kNotifySelectChanged && name == "autostart_check") {
        SwitchAutostart();
        return;
    }
    if (msg.sType == ui::kNotifyItemSelect && name == "Language_combox_info") {
        if (filling_) {
            return;
        }
        auto* combo = static_cast<ui::CComboUI*>(msg.pSender->GetInterface("Combo"));
        ui::SendMessage(owner_, kMsgLanguageChanged, static_cast<ui::WPARAM>(combo->GetCurSel()));
        return;
    }
    if (msg.sType != ui::kNotifyClick) {
        return;
    }
    if (name == "closebtn" || name == "laterbtn") {
        CloseNow();
    } else if (name == "set_in_update_wnd_btn") {
        if (ui::CControlUI* hint = m_pm.FindControl("update_tishi_layout")) {
            hint->SetVisible(false);
        }
        ResizeClient(m_pm.Scale(kWidth), m_pm.Scale(kHeight));
    } else if (name == "update_fw_and_ap") {
        SelectTab(1);
    } else if (name == "update_OK_btn") {
        for (int i = 0; i < ItemCount(); ++i) {
            ui::CUpdateInfoListItemUI* item = Item(i);
            if (item->IsChecked() && item->GetState() != ui::CUpdateInfoListItemUI::kUpToDate) {
                item->SetState(ui::CUpdateInfoListItemUI::kWaiting);
            }
        }
        ShowUpdateButton(false);
        StartDownloads();
        SelectTab(0);
    } else {
        WindowImplBase::Notify(msg);
    }
}

void CSetWnd::SelectTab(int index) {
    ui::CControlUI* control = m_pm.FindControl("get_update_tab_layout");
    if (auto* tab = control != nullptr ? static_cast<ui::CTabLayoutUI*>(control->GetInterface("TabLayout"))
                                       : nullptr) {
        tab->SelectItem(index);
    }
}

ui::LRESULT CSetWnd::MessageHandler(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) {
    handled = true;
    const std::uint32_t relay = RegisteredMessages().settingsRelay;
    if (relay != 0 && message == relay) {
        OnRelay(wParam, lParam);
        return 0;
    }
    switch (message) {
        case ui::WM_CLOSE:
            if (!closing_ && IsBusy()) {
                return 0;
            }
            StopThreads();
            handled = false;
            return 0;
        case kMsgUpdateRowChecked:
            OnRowChecked(static_cast<int>(wParam));
            return 0;
        case kMsgUpdateCheckDone:
            OnCheckDone();
            return 0;
        case kMsgDownloadProgress:
            if (ui::CUpdateInfoListItemUI* item = Item(static_cast<int>(wParam))) {
                item->SetProgress(static_cast<int>(lParam));
            }
            return 0;
        case kMsgListStateChanged:
            OnDownloadDone();
            return 0;
        case kMsgLanguageChanged:
            SetStatus(status_);
            m_pm.Invalidate();
            return 0;
        default:
            handled = false;
            return 0;
    }
}

void CSetWnd::OnFinalMessage(ui::HWND) {
    StopThreads();
    delete this;
}

}  // namespace app
