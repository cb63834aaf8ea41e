#pragma once

#include "net/firmware_list.h"
#include "net/update_answer.h"
#include "net/update_service.h"
#include "platform/sync/event.h"
#include "platform/sync/worker_thread.h"
#include "ui/toolkit/window_impl_base.h"

#include <mutex>
#include <string>
#include <vector>

// CSetWnd: the modal settings window, built from "setwnd.xml": the language list
// "Language_combox_info" (choosing one sends 0xC11 with its index to the owner) and the update
// list "device_update_list_info" with one CUpdateInfoListItemUI per firmware row that has a
// version. When it opens it checks every row against the update service on its check thread;
// "update_fw_and_ap" and "update_OK_btn" send the chosen items to its download thread, which
// saves each into CUpdateDownload::Folder() with its progress. A downloaded item is "installed"
// by opening the folder holding it (nothing downloaded is ever run) and waits in state 6 for the
// settings relay message: 1 done, 2 or 3 failed, 4 progress.
//
// Window states (the text of "Update_Status_text"): 0 checking, 1 updates found, 2 service not
// reached, 3 updating, 4 up to date (followed by the program's version).
//
// "closebtn" and "laterbtn" stop the threads and close it at any time; WM_CLOSE is refused while
// an item waits, downloads, is downloaded or is being installed.
//
// Thread: the UI thread; the workers reach it only with posted messages.

namespace ui {
class CCheckBoxUI;
class CUpdateInfoListItemUI;
}  // namespace ui

namespace app {

inline constexpr const char kSetWndClassName[] = "SetWnd";
inline constexpr const char kSetWndSkinFile[] = "setwnd.xml";
inline constexpr unsigned kMsgListStateChanged = 0xC14;
inline constexpr unsigned kMsgUpdateRowChecked = 0x0400 + 40;
inline constexpr unsigned kMsgUpdateCheckDone = 0x0400 + 41;
inline constexpr unsigned kMsgDownloadProgress = 0x0400 + 42;

class CSetWnd : public ui::WindowImplBase {
public:
    enum EStatus { kChecking = 0, kFound = 1, kNotReached = 2, kUpdating = 3, kLatest = 4 };

    // Opens the window over owner and returns when it closes: beside the owner's right edge, or
    // centred on it. versions gives the firmware of the connected devices. With one already open
    // it opens nothing and returns false.
    static bool Open(ui::HWND owner, const IFirmwareVersionSource& versions, int languageIndex,
                     bool besideOwner);
    // The open settings window, nullptr while none is open.
    static ui::HWND OpenWindow();
    // The window's status text for a status.
    static std::string StatusTextKey(int status);

    std::string GetWindowClassName() const override;
    std::string GetSkinFile() override;
    void InitWindow() override;
    void Notify(ui::TNotifyUI& msg) override;
    ui::LRESULT MessageHandler(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam,
                               bool& handled) override;

    int Status() const { return status_; }
    // Whether an item waits, downloads, is downloaded or is being installed: WM_CLOSE is refused.
    bool IsBusy() const;

protected:
    void OnFinalMessage(ui::HWND window) override;

private:
    struct SCheckRow {
        FirmwareRow row;
        CheckResult result;
    };
    struct SDownloadJob {
        int item = 0;
        std::string url;
        std::string file;
        bool ok = false;
        std::string sha256;
    };

    CSetWnd(ui::HWND owner, const IFirmwareVersionSource& versions, int languageIndex);
    void FillLanguageList();
    // The start-at-login switch shows the autostart entry; a switch that cannot be written goes
    // back and says so.
    void ShowAutostart();
    ui::CCheckBoxUI* AutostartCheck();
    void SwitchAutostart();
    void AddItems();
    void StartCheck();
    void CheckBody(ui::HWND window, platform::CEvent& stop);
    void DownloadBody(ui::HWND window, platform::CEvent& stop);
    void OnRowChecked(int index);
    void OnCheckDone();
    void OnDownloadDone();
    void OnRelay(ui::WPARAM wParam, ui::LPARAM lParam);
    void OnCurrentSucceeded();
    void StartDownloads();
    void InstallNext();
    void UpdateButtonForChecks();
    void SetStatus(int status);
    void ShowUpdateButton(bool on);
    void SelectTab(int index);
    void StopThreads();
    void CloseNow();
    ui::CUpdateInfoListItemUI* Item(int index) const;
    int ItemCount() const;

    ui::HWND owner_;
    CFirmwareList list_;
    int languageIndex_;
    int status_ = kChecking;
    int current_ = -1;
    int unreachable_ = 0;
    bool closing_ = false;
    bool filling_ = false;
    platform::CWorkerThread checkThread_;
    platform::CWorkerThread downloadThread_;
    platform::CEvent downloadRequest_{platform::CEvent::Mode::kAutoReset};
    std::mutex mutex_;  // guards rows_ and jobs_ between the workers and the UI thread
    std::vector<SCheckRow> rows_;
    std::vector<SDownloadJob> jobs_;     // waiting for the download thread
    std::vector<SDownloadJob> results_;  // done, by item, for the UI thread
};

}  // namespace app
