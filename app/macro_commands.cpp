#include "app/macro_commands.h"

#include "app/main_wnd.h"
#include "device/pellix_usb_device.h"
#include "macro/device_hook.h"
#include "macro/macro_control_ui.h"
#include "macro/macro_limits.h"
#include "platform/debug.h"
#include "ui/toolkit/menu_wnd.h"
#include "ui/toolkit/option_ui.h"

#include <QCursor>

#include <array>
#include <optional>
#include <string_view>
#include <utility>

namespace app {

namespace {

constexpr const char* kMenuFile = "XML\\Menus\\macro_action_menu.xml";
// The time mode of a record item that follows "macro_check_time".
constexpr int kTimeByOption = 0;

struct SButtonItem {
    std::string_view prefix;
    uint8_t mask;
};
constexpr auto kButtonItems = std::to_array<SButtonItem>(
    {{"left", 0x01}, {"right", 0x02}, {"middle", 0x04}, {"forward", 0x10}, {"back", 0x08}});

struct SRecordItem {
    std::string_view name;
    int hookMode;
    int timeMode;
};
constexpr auto kRecordItems = std::to_array<SRecordItem>({
    {"redio_previous_record_time", CMacroControlUI::kModeBefore, kTimeByOption},
    {"redio_previous_constant_time", CMacroControlUI::kModeBefore, CMacroRecorder::kConstantTime},
    {"redio_previous_ignore_time", CMacroControlUI::kModeBefore, CMacroRecorder::kIgnoreTime},
    {"redio_later_record_time", CMacroControlUI::kModeAfter, kTimeByOption},
    {"redio_later_constant_time", CMacroControlUI::kModeAfter, CMacroRecorder::kConstantTime},
    {"redio_later_ignore_time", CMacroControlUI::kModeAfter, CMacroRecorder::kIgnoreTime},
    {"macro_action_edit", CMacroControlUI::kModeReplace, CMacroRecorder::kIgnoreTime},
    {"macro_btn_starredio", CMacroControlUI::kModeAppend, kTimeByOption},
});

struct SRowItem {
    std::string_view name;
    void (*run)(CMacroControlUI&);
};
using Move = CMacroControlUI::Move;
using Direction = CMacroControlUI::Direction;
constexpr auto kRowItems = std::to_array<SRowItem>({
    {"macro_btn_up", [](CMacroControlUI& p) { p.MoveRow(Move::Up); }},
    {"macro_btn_down", [](CMacroControlUI& p) { p.MoveRow(Move::Down); }},
    {"macro_btn_uptop", [](CMacroControlUI& p) { p.MoveRow(Move::Top); }},
    {"macro_btn_downbottom", [](CMacroControlUI& p) { p.MoveRow(Move::Bottom); }},
    {"macro_btn_delete", [](CMacroControlUI& p) { p.DeleteRow(); }},
    {"macro_btn_deleteall", [](CMacroControlUI& p) { p.DeleteAllRows(); }},
    {"macro_inset_moveleftkey_btn", [](CMacroControlUI& p) { p.InsertMove(Direction::Left); }},
    {"macro_inset_moverightkey_btn", [](CMacroControlUI& p) { p.InsertMove(Direction::Right); }},
    {"macro_inset_moveupkey_btn", [](CMacroControlUI& p) { p.InsertMove(Direction::Up); }},
    {"macro_inset_movedownkey_btn", [](CMacroControlUI& p) { p.InsertMove(Direction::Down); }},
    {"macro_btn_save", [](CMacroControlUI&) {}},
});

constexpr auto kListItems = std::to_array<std::string_view>(
    {"macro_btn_name_add", "macro_btn_name_sub", "macro_btn_name_edit", "macro_btn_import",
     "macro_btn_export", "macro_btn_cancel", "macro_btn_stopredio"});

// "left_down" → (0x01, press), "left_up", "left_click"; nullopt for another name.
std::optional<std::pair<uint8_t, std::string_view>> ButtonItem(std::string_view name) {
    for (const SButtonItem& item : kButtonItems) {
        if (name.size() > item.prefix.size() + 1 && name.starts_with(item.prefix) &&
            name[item.prefix.size()] == '_') {
            const std::string_view rest = name.substr(item.prefix.size() + 1);
            if (rest == "down" || rest == "up" || rest == "click") {
                return std::make_pair(item.mask, rest);
            }
        }
    }
    return std::nullopt;
}

bool UsesFixedDelay(CMacroControlUI& panel) {
    ui::CControlUI* control = panel.FindSubControl("macro_check_time");
    const auto* option =
        control != nullptr ? static_cast<ui::COptionUI*>(control->GetInterface("Option")) : nullptr;
    return option != nullptr && option->IsSelected();
}

}  // namespace

bool CMacroCommands::Handles(const std::string& name) {
    if (ButtonItem(name)) {
        return true;
    }
    for (const SRecordItem& item : kRecordItems) {
        if (item.name == name) {
            return true;
        }
    }
    for (const SRowItem& item : kRowItems) {
        if (item.name == name) {
            return true;
        }
    }
    for (std::string_view item : kListItems) {
        if (item == name) {
            return true;
        }
    }
    return false;
}

// Only keyboard and mouse pages own a macro panel; for other pages the commands do nothing.
CPellixUSBDevice* CMacroCommands::ActivePage() const {
    return window_.DeviceBar().ActivePage();
}

CMacroControlUI* CMacroCommands::ActivePanel() const {
    CPellixUSBDevice* page = ActivePage();
    return page != nullptr ? page->MacroPanel() : nullptr;
}

void CMacroCommands::Run(const std::string& name) {
    CPellixUSBDevice* page = ActivePage();
    CMacroControlUI* panel = page != nullptr ? page->MacroPanel() : nullptr;
    if (panel == nullptr) {
        return;
    }
    if (RunRecordingCommand(*panel, name) || RunRowCommand(*panel, name)) {
        return;
    }
    if (name == "macro_btn_name_add") {
        Add(*page, *panel);
    } else if (name == "macro_btn_name_sub") {
        Delete(*page, *panel);
    } else if (name == "macro_btn_name_edit") {
        Rename(*page, *panel);
    } else if (name == "macro_btn_import") {
        Import(*page, *panel);
    } else if (name == "macro_btn_export") {
        Export(*panel);
    } else if (name == "macro_btn_cancel") {
        panel->Cancel();
    }
}

bool CMacroCommands::RunRecordingCommand(CMacroControlUI& panel, const std::string& name) {
    if (name == "macro_btn_stopredio") {
        StopRecording();
        return true;
    }
    for (const SRecordItem& item : kRecordItems) {
        if (item.name == name) {
            const int fromOption =
                UsesFixedDelay(panel) ? CMacroRecorder::kConstantTime : CMacroRecorder::kRecordTime;
            StartRecording(item.hookMode, item.timeMode == kTimeByOption ? fromOption : item.timeMode);
            return true;
        }
    }
    return false;
}

bool CMacroCommands::RunRowCommand(CMacroControlUI& panel, const std::string& name) {
    if (const auto button = ButtonItem(name)) {
        const auto [mask, kind] = *button;
        if (kind == "click") {
            panel.InsertClick(mask);
        } else {
            panel.InsertButton(mask, kind == "down");
        }
        Save(panel);
        return true;
    }
    for (const SRowItem& item : kRowItems) {
        if (item.name == name) {
            item.run(panel);
            Save(panel);
            return true;
        }
    }
    return false;
}

void CMacroCommands::MacroSelected() {
    if (CMacroControlUI* panel = ActivePanel()) {
        panel->LoadEvents();
    }
}

void CMacroCommands::DelayLeft() {
    if (CMacroControlUI* panel = ActivePanel()) {
        Save(*panel);
    }
}

void CMacroCommands::ShowActionMenu() {
    if (ActivePanel() == nullptr) {
        return;
    }
    ui::CMenuWnd::DestroyMenu();
    ui::CMenuWnd::CreateMenu(window_.GetHWND(), kMenuFile, QCursor::pos(),
                             ui::eMenuAlignment_Left | ui::eMenuAlignment_Top,
                             window_.GetPaintManager().GetDPI());
}

void CMacroCommands::Save(CMacroControlUI& panel) {
    if (panel.Save() == CMacroControlUI::Result::WriteFailed) {
        window_.ShowMessage("macro_save_failed");
    }
}

void CMacroCommands::Add(CPellixUSBDevice& page, CMacroControlUI& panel) {
    const bool full = panel.Names().size() >= macro_limits::kMacrosPerList;
    if (panel.Add()) {
        page.MacroNamesChanged();
    } else if (!full) {
        window_.ShowMessage("macro_list_failed");
    }
}

void CMacroCommands::Delete(CPellixUSBDevice& page, CMacroControlUI& panel) {
    const int selected = panel.SelectedMacro();
    if (selected < 0 || !window_.Confirm("message_text_4")) {
        return;
    }
    if (page.MacroReferenced(selected) && !window_.Confirm("message_text_2")) {
        return;
    }
    const int position = panel.Delete();
    if (position < 0) {
        window_.ShowMessage("macro_list_failed");
        return;
    }
    page.MacroDeleted(position);
}

void CMacroCommands::Rename(CPellixUSBDevice& page, CMacroControlUI& panel) {
    if (panel.SelectedMacro() < 0) {
        return;
    }
    ui::CControlUI* edit = panel.FindSubControl("macro_edit_macroname");
    if (edit == nullptr || edit->GetText().empty()) {
        window_.ShowMessage("message_text_5");
        return;
    }
    if (!panel.Rename()) {
        window_.ShowMessage("macro_list_failed");
        return;
    }
    page.MacroNamesChanged();
    page.SaveProfile();
}

void CMacroCommands::Import(CPellixUSBDevice& page, CMacroControlUI& panel) {
    if (panel.Names().size() >= macro_limits::kMacrosPerList) {
        return;
    }
    const std::string path = window_.FileDialogs().Open(CFileDialogs::Kind::Macro);
    if (path.empty()) {
        return;
    }
    if (!panel.Import(path)) {
        window_.ShowMessage("macro_import_failed");
        return;
    }
    page.MacroNamesChanged();
}

void CMacroCommands::Export(CMacroControlUI& panel) {
    if (panel.SelectedMacro() < 0) {
        return;
    }
    const std::string path = window_.FileDialogs().Save(CFileDialogs::Kind::Macro);
    if (!path.empty() && !panel.Export(path)) {
        window_.ShowMessage("macro_export_failed");
    }
}

void CMacroCommands::StartRecording(int hookMode, int timeMode) {
    CPellixUSBDevice* page = ActivePage();
    CMacroControlUI* panel = page != nullptr ? page->MacroPanel() : nullptr;
    if (panel == nullptr || recordingPage_ != nullptr || panel->SelectedMacro() < 0) {
        return;
    }
    panel->StartRecording(timeMode, hookMode);
    window_.Hook().InstallHooks(hookMode, window_.GetHWND(), true, true);
    window_.EditingLock().Take(true);
    recordingPage_ = page;
}

void CMacroCommands::StopRecording() {
    if (recordingPage_ == nullptr) {
        return;
    }
    CMacroControlUI* panel = recordingPage_->MacroPanel();
    recordingPage_ = nullptr;
    panel->StopRecording();
    window_.Hook().UninstallHooks();
    window_.EditingLock().Release(true);
    Save(*panel);
}

void CMacroCommands::PageRemoved(const CPellixUSBDevice* page) {
    if (page != nullptr && page == recordingPage_) {
        StopRecording();
    }
}

bool CMacroCommands::HandleHookMessage(unsigned message, ui::WPARAM wParam, ui::LPARAM lParam) {
    for (const int mode : {CMacroControlUI::kModeAppend, CMacroControlUI::kModeBefore,
                           CMacroControlUI::kModeAfter, CMacroControlUI::kModeReplace}) {
        const bool key = message == CDeviceHook::MessageOfMode(mode);
        const bool mouse = message == CDeviceHook::MouseMessageOfMode(mode);
        if (!key && !mouse) {
            continue;
        }
        CMacroControlUI* panel = recordingPage_ != nullptr ? recordingPage_->MacroPanel() : nullptr;
        if (panel == nullptr || lParam == 0) {
            return true;
        }
        if (key) {
            panel->RecordKey(mode, static_cast<unsigned>(wParam),
                             *reinterpret_cast<const KeyboardHookEvent*>(lParam));
        } else {
            if (mode == CMacroControlUI::kModeAppend) {
                platform::DebugOutput("WM_HOOK_KEY_MSMACRO");
            }
            panel->RecordMouse(mode, static_cast<unsigned>(wParam),
                               *reinterpret_cast<const MouseHookEvent*>(lParam));
        }
        return true;
    }
    return false;
}

}  // namespace app
