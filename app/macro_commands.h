#pragma once

#include "ui/toolkit/ui_defs.h"

#include <string>

class CMacroControlUI;
class CPellixUSBDevice;

namespace app {

class CMainWnd;

// CMacroCommands: the main window's part of the macro panel of the active page: the panel's
// buttons and the action menu's items by name, with the confirmations, file dialogs and messages
// they need; saving after every change to the rows; recording with the input hook and the editing
// lock; and the hook's recording messages passed to the recording page's panel.
//
// Thread: the UI thread only.
class CMacroCommands {
public:
    explicit CMacroCommands(CMainWnd& window) : window_(window) {}

    // Whether the name is a panel button or an action menu item this handles.
    static bool Handles(const std::string& name);
    // A click or menu choice on the active page.
    void Run(const std::string& name);
    // "itemselect" of "macro_name_list": the chosen macro's events.
    void MacroSelected();
    // "killfocus" of a "macro_delay" field: the macro is saved.
    void DelayLeft();
    // "itemactivate" of a "macro_action" row: the action menu at the cursor.
    void ShowActionMenu();

    // Recording in a hook mode (4 append, 8 before, 16 after, 32 replace) with a time mode;
    // nothing while one runs or with no macro selected.
    void StartRecording(int hookMode, int timeMode);
    void StopRecording();
    // The page left the device bar: a recording on it stops.
    void PageRemoved(const CPellixUSBDevice* page);
    bool IsRecording() const { return recordingPage_ != nullptr; }

    // A recording message of the hook; false for any other message.
    bool HandleHookMessage(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam);

private:
    CPellixUSBDevice* ActivePage() const;
    CMacroControlUI* ActivePanel() const;
    void Save(CMacroControlUI& panel);
    void Add(CPellixUSBDevice& page, CMacroControlUI& panel);
    void Delete(CPellixUSBDevice& page, CMacroControlUI& panel);
    void Rename(CPellixUSBDevice& page, CMacroControlUI& panel);
    void Import(CPellixUSBDevice& page, CMacroControlUI& panel);
    void Export(CMacroControlUI& panel);
    bool RunRowCommand(CMacroControlUI& panel, const std::string& name);
    bool RunRecordingCommand(CMacroControlUI& panel, const std::string& name);

    CMainWnd& window_;
    CPellixUSBDevice* recordingPage_ = nullptr;
};

}  // namespace app
