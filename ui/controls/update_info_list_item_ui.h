#pragma once

#include "ui/toolkit/list_container_element_ui.h"

#include <string>

// CUpdateInfoListItemUI: one row of the settings window's update list, for one firmware or the
// program. On initialisation it builds its content from
// "XML\CustomControlXML\device_Update_list_item.xml": the check box "check_name_select" (the
// row's name), the versions "OldRev" and "updateRev", the state text "update_status_text", the
// progress "update_progress_value" ("%d%s" with "%"), the marks "update_status_ing" and
// "update_status_ok", and "update_file_text" with the downloaded file's path and SHA-256. What
// is set before the content exists is shown once it does.
//
// States: 0 nothing to update (greyed, not selectable), 1 and 2 a newer version exists, 3 waiting
// to download, 4 downloading, 5 downloaded, 6 being installed, 7 up to date, 8 failed.
//
// Thread: the UI thread only.

namespace ui {

class CCheckBoxUI;

class CUpdateInfoListItemUI : public CListContainerElementUI {
public:
    static constexpr const char* kContentFile = "XML\\CustomControlXML\\device_Update_list_item.xml";
    static constexpr int kNothing = 0;
    static constexpr int kNewer = 1;
    static constexpr int kNewerToo = 2;
    static constexpr int kWaiting = 3;
    static constexpr int kDownloading = 4;
    static constexpr int kDownloaded = 5;
    static constexpr int kInstalling = 6;
    static constexpr int kUpToDate = 7;
    static constexpr int kFailed = 8;

    // The language key of a state's text; "" for a state that does not exist.
    static std::string StateTextKey(int state);

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void DoInit() override;

    void SetState(int state);
    int GetState() const { return state_; }
    // While the row waits for its check, its state text and marks are not shown.
    void SetPending(bool pending);
    bool IsPending() const { return pending_; }
    void SetName(const std::string& name);
    const std::string& GetName() const { return name_; }
    void SetOldVersion(const std::string& text);
    const std::string& GetOldVersion() const { return oldVersion_; }
    void SetNewVersion(const std::string& text);
    const std::string& GetNewVersion() const { return newVersion_; }
    void SetProgress(int percent);
    int GetProgress() const { return progress_; }
    bool IsChecked() const;
    void SetChecked(bool checked);
    void SetSelectable(bool selectable);
    // The download URL and the file it goes to.
    void SetDownloadPath(const std::string& url) { downloadPath_ = url; }
    const std::string& GetDownloadPath() const { return downloadPath_; }
    void SetTargetFile(const std::string& path) { targetFile_ = path; }
    const std::string& GetTargetFile() const { return targetFile_; }
    // Shows where the downloaded file is and its SHA-256; both empty hides the line.
    void SetFileInfo(const std::string& path, const std::string& sha256);
    std::string GetFileText() const;

private:
    CControlUI* Child(const char* name) const;
    CCheckBoxUI* CheckBox() const;
    void ShowAll();
    void ShowFileText();

    int state_ = kUpToDate;
    int progress_ = 0;
    bool checked_ = false;
    bool pending_ = false;
    bool selectable_ = true;
    std::string name_;
    std::string oldVersion_;
    std::string newVersion_;
    std::string downloadPath_;
    std::string targetFile_;
    std::string fileText_;
};

}  // namespace ui
