#include "macro/macro_control_ui.h"

#include "macro/device_hook.h"
#include "macro/macro_action_row.h"
#include "macro/macro_file.h"
#include "macro/macro_image.h"
#include "macro/macro_limits.h"
#include "platform/debug.h"
#include "ui/toolkit/edit_ui.h"
#include "ui/toolkit/label_ui.h"
#include "ui/toolkit/list_container_element_ui.h"
#include "ui/toolkit/list_label_element_ui.h"
#include "ui/toolkit/list_ui.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/progress_ui.h"
#include "ui/toolkit/resource_manager.h"

#include <QWidget>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace {

constexpr int kNameRowHeight = 30;
constexpr int kScrollDelayMs = 50;
constexpr uint32_t kGaugeNormal = 0xFF0099FF;
constexpr uint32_t kGaugeWarning = 0xFFE5484D;
constexpr uint32_t kTextNormal = 0xFF9AA0AA;

// The controls that stop responding while a recording runs.
constexpr const char* kLockedNames[] = {"macro_name_tab", "macro_tab_macroaction_edit",
                                        "macro_tab_macrodelay_edit"};

std::string Resolve(const std::string& key) {
    const std::string* text = ui::CResourceManager::GetInstance().GetText(key);
    return text != nullptr ? *text : key;
}

// The leading decimal digits of a text, 0 for none, saturating at `limit`.
uint32_t LeadingNumber(const std::string& text, uint32_t limit) {
    MacroEvent probe;
    probe.delay = text;
    return std::min(probe.DelayMs(), limit);
}

// The text with its first "%d" replaced by `first` and the next by `second`: a translation
// cannot make the numbers read as anything else.
std::string FillNumbers(std::string text, size_t first, size_t second) {
    for (const size_t number : {first, second}) {
        const size_t at = text.find("%d");
        if (at == std::string::npos) {
            break;
        }
        text.replace(at, 2, std::to_string(number));
    }
    return text;
}

}  // namespace

std::string CMacroControlUI::GetClass() const {
    return "MacroControlUI";
}

void* CMacroControlUI::GetInterface(std::string_view name) {
    return name == "MacroControl" ? this : CHorizontalLayoutUI::GetInterface(name);
}

void CMacroControlUI::DoEvent(ui::TEventUI& event) {
    if (event.Type == ui::EventType::Timer && event.wParam == static_cast<ui::WPARAM>(kScrollTimer)) {
        KillTimer(kScrollTimer);
        if (actionList_ != nullptr && actionList_->GetCurSel() >= 0) {
            actionList_->EnsureVisible(actionList_->GetCurSel());
        }
        return;
    }
    CHorizontalLayoutUI::DoEvent(event);
}

template <class T>
T* CMacroControlUI::Bind(const std::string& name, const char* interfaceName) {
    ui::CControlUI* control = FindSubControl(name);
    if (control == nullptr) {
        platform::DebugFormat("CMacroControlUI: the panel has no control named '%s'\n", name.c_str());
        return nullptr;
    }
    return static_cast<T*>(control->GetInterface(interfaceName));
}

void CMacroControlUI::BindControls() {
    nameList_ = Bind<ui::CListUI>("macro_name_list", "List");
    actionList_ = Bind<ui::CListUI>("macro_action_list", "List");
    actionLayout_ = Bind<ui::CControlUI>("macro_action_layout", "Control");
    nameEdit_ = Bind<ui::CEditUI>("macro_edit_macroname", "Edit");
    fixedDelay_ = Bind<ui::CEditUI>("macro_fixed_time_edit", "Edit");
    startButton_ = Bind<ui::CControlUI>("macro_btn_starredio", "Control");
    stopButton_ = Bind<ui::CControlUI>("macro_btn_stopredio", "Control");
    gauge_ = Bind<ui::CProgressUI>("macro_memory_gauge", "Progress");
    gaugeText_ = Bind<ui::CLabelUI>("macro_memory_text", "Label");
    lockedWhileRecording_.clear();
    for (const char* name : kLockedNames) {
        if (auto* control = Bind<ui::CControlUI>(name, "Control")) {
            lockedWhileRecording_.push_back(control);
        }
    }
    if (fixedDelay_ != nullptr) {
        fixedDelay_->SetText(std::to_string(recorder_.FixedDelay()));
    }
    if (stopButton_ != nullptr) {
        stopButton_->SetVisible(false);
    }
}

void CMacroControlUI::SetFolder(const std::string& folder) {
    folder_ = folder;
    LoadList();
}

void CMacroControlUI::SetAsideDamagedList() {
    if (std::string moved = CMacroList(folder_).SetAsideIfDamaged(); !moved.empty()) {
        setAside_.push_back(std::move(moved));
    }
}

std::vector<std::string> CMacroControlUI::TakeSetAsideFiles() {
    return std::exchange(setAside_, {});
}

void CMacroControlUI::LoadList() {
    names_.clear();
    if (nameList_ != nullptr) {
        nameList_->RemoveAll();
    }
    if (actionList_ != nullptr) {
        actionList_->RemoveAll();
    }
    if (folder_.empty()) {
        return;
    }
    SetAsideDamagedList();
    for (const CMacroList::Entry& entry : List().Entries()) {
        names_.push_back(entry.name);
        if (nameList_ != nullptr) {
            auto* row = new ui::CListLabelElementUI;
            row->SetText(entry.name);
            row->SetUserData(entry.guid);
            row->SetFixedHeight(kNameRowHeight);
            nameList_->Add(row);
        }
    }
    if (actionLayout_ != nullptr) {
        actionLayout_->SetEnabled(!names_.empty());
    }
    otherEvents_ = 0;
    UpdateGauge();
}

int CMacroControlUI::SelectedMacro() const {
    return nameList_ != nullptr ? nameList_->GetCurSel() : -1;
}

void CMacroControlUI::SelectMacro(int index) {
    if (nameList_ != nullptr) {
        nameList_->SelectItem(index);
    }
    LoadEvents();
}

void CMacroControlUI::LoadEvents() {
    if (actionList_ == nullptr) {
        return;
    }
    actionList_->RemoveAll();
    const int selected = SelectedMacro();
    const CMacroList list = List();
    otherEvents_ = 0;
    for (size_t i = 0; i < names_.size(); ++i) {
        if (static_cast<int>(i) != selected) {
            otherEvents_ += list.Load(i).size();
        }
    }
    if (selected >= 0) {
        if (actionLayout_ != nullptr) {
            actionLayout_->SetEnabled(true);
        }
        for (const MacroEvent& event : list.Load(static_cast<size_t>(selected))) {
            actionList_->Add(CMacroActionRow::Build(event));
        }
    }
    UpdateGauge();
}

std::optional<std::string> CMacroControlUI::Add() {
    if (folder_.empty() || names_.size() >= macro_limits::kMacrosPerList) {
        return std::nullopt;
    }
    CMacroList list = List();
    const std::optional<size_t> index = list.Create();
    if (!index || list.Entries().size() != names_.size() + 1) {
        return std::nullopt;
    }
    LoadList();
    SelectMacro(static_cast<int>(*index));
    return names_[*index];
}

int CMacroControlUI::Delete() {
    const int selected = SelectedMacro();
    if (selected < 0 || names_.empty()) {
        return -1;
    }
    CMacroList list = List();
    if (!list.Delete(static_cast<size_t>(selected)) || list.Entries().size() + 1 != names_.size()) {
        return -1;
    }
    LoadList();
    SelectMacro(names_.empty() ? -1 : 0);
    if (names_.empty() && actionLayout_ != nullptr) {
        actionLayout_->SetEnabled(false);
    }
    return selected;
}

std::optional<std::pair<int, std::string>> CMacroControlUI::Rename() {
    const int selected = SelectedMacro();
    const std::string name = nameEdit_ != nullptr ? nameEdit_->GetText() : std::string();
    if (selected < 0 || name.empty()) {
        return std::nullopt;
    }
    CMacroList list = List();
    if (!list.Rename(static_cast<size_t>(selected), name) ||
        list.Entries()[static_cast<size_t>(selected)].name != name) {
        return std::nullopt;
    }
    names_[static_cast<size_t>(selected)] = name;
    if (ui::CControlUI* row = nameList_ != nullptr ? nameList_->GetItemAt(selected) : nullptr) {
        row->SetText(name);
    }
    return std::make_pair(selected, name);
}

CMacroControlUI::Result CMacroControlUI::Save() {
    const int selected = SelectedMacro();
    if (selected < 0 || actionList_ == nullptr) {
        return Result::Nothing;
    }
    std::vector<MacroEvent> events;
    events.reserve(static_cast<size_t>(actionList_->GetCount()));
    for (int i = 0; i < actionList_->GetCount(); ++i) {
        ui::CControlUI* row = actionList_->GetItemAt(i);
        if (row->GetUserData().empty()) {
            break;
        }
        const ui::CEditUI* field = CMacroActionRow::DelayField(*row);
        MacroEvent event = CMacroActionRow::EventOf(*row);
        event.delay = std::to_string(
            LeadingNumber(field != nullptr ? field->GetText() : "0", macro_limits::kMaxDelayMs));
        events.push_back(std::move(event));
    }
    if (List().Save(static_cast<size_t>(selected), events) != 0) {
        return Result::WriteFailed;
    }
    for (size_t i = 0; i < events.size(); ++i) {
        CMacroActionRow::Show(*actionList_->GetItemAt(static_cast<int>(i)), events[i]);
    }
    UpdateGauge();
    return Result::Done;
}

void CMacroControlUI::Cancel() {
    LoadEvents();
}

std::optional<std::string> CMacroControlUI::Import(const std::string& path) {
    if (folder_.empty() || path.empty() || names_.size() >= macro_limits::kMacrosPerList ||
        !CMacroFile::IsMacroFile(path)) {
        return std::nullopt;
    }
    CMacroList list = List();
    const std::optional<size_t> index = list.Import(path);
    if (!index) {
        return std::nullopt;
    }
    LoadList();
    SelectMacro(static_cast<int>(*index));
    return names_[*index];
}

bool CMacroControlUI::Export(const std::string& path) const {
    const int selected = SelectedMacro();
    return selected >= 0 && !path.empty() && List().Export(static_cast<size_t>(selected), path);
}

int CMacroControlUI::RowCount() const {
    return actionList_ != nullptr ? actionList_->GetCount() : 0;
}

int CMacroControlUI::SelectedRow() const {
    return actionList_ != nullptr ? actionList_->GetCurSel() : -1;
}

void CMacroControlUI::SelectRow(int row) {
    if (actionList_ != nullptr) {
        actionList_->SelectItem(row);
    }
}

std::vector<MacroEvent> CMacroControlUI::RowEvents() const {
    std::vector<MacroEvent> events;
    for (int i = 0; i < RowCount(); ++i) {
        events.push_back(CMacroActionRow::EventOf(*actionList_->GetItemAt(i)));
    }
    return events;
}

void CMacroControlUI::AddRowAt(int position, const MacroEvent& event) {
    actionList_->AddAt(CMacroActionRow::Build(event), position);
}

void CMacroControlUI::MoveRow(Move move) {
    const int selected = SelectedRow();
    const int last = RowCount() - 1;
    if (selected < 0) {
        return;
    }
    const bool up = move == Move::Up || move == Move::Top;
    if ((up && selected == 0) || (!up && selected >= last)) {
        return;
    }
    const MacroEvent event = CMacroActionRow::EventOf(*actionList_->GetItemAt(selected));
    int target = selected;
    switch (move) {
        case Move::Up:
            target = selected - 1;
            break;
        case Move::Down:
            target = selected + 1;
            break;
        case Move::Top:
            target = 0;
            break;
        case Move::Bottom:
            target = last;
            break;
    }
    actionList_->RemoveAt(selected);
    AddRowAt(target, event);
    actionList_->SelectItem(target);
}

void CMacroControlUI::DeleteRow() {
    const int selected = SelectedRow();
    if (selected < 0) {
        return;
    }
    actionList_->RemoveAt(selected);
    actionList_->SelectItem(std::min(selected, RowCount() - 1));
    UpdateGauge();
}

void CMacroControlUI::DeleteAllRows() {
    if (actionList_ != nullptr) {
        actionList_->RemoveAll();
    }
    UpdateGauge();
}

void CMacroControlUI::InsertEvent(MacroEvent event) {
    if (actionList_ == nullptr || SelectedMacro() < 0) {
        return;
    }
    event.delay = std::to_string(ReadFixedDelay());
    const int position = SelectedRow() + 1;
    AddRowAt(position, event);
    actionList_->SelectItem(position);
    UpdateGauge();
}

void CMacroControlUI::InsertButton(uint8_t mask, bool down) {
    MacroEvent event;
    event.type = MacroEvent::kMouseButton;
    event.button = mask;
    event.action = down ? "down" : "up";
    InsertEvent(event);
}

void CMacroControlUI::InsertClick(uint8_t mask) {
    InsertButton(mask, true);
    InsertButton(mask, false);
}

void CMacroControlUI::InsertMove(Direction direction) {
    static constexpr const char* kEdits[] = {"mouse_x_left_edit", "mouse_x_right_edit", "mouse_y_up_edit",
                                             "mouse_y_down_edit"};
    ui::CControlUI* edit = FindSubControl(kEdits[static_cast<int>(direction)]);
    const std::string text = edit != nullptr ? edit->GetText() : std::string();
    // Text that does not start with a number, or none, is a distance of 1.
    const bool number = !text.empty() && std::isdigit(static_cast<unsigned char>(text[0]));
    const uint32_t distance =
        number ? std::clamp<uint32_t>(LeadingNumber(text, 1000), macro_limits::kMinDistance,
                                      macro_limits::kMaxDistance)
               : macro_limits::kMinDistance;
    if (edit != nullptr) {
        edit->SetText(std::to_string(distance));
    }
    MacroEvent event;
    const bool horizontal = direction == Direction::Left || direction == Direction::Right;
    event.type = horizontal ? MacroEvent::kHorizontalMove : MacroEvent::kVerticalMove;
    event.action = direction == Direction::Left || direction == Direction::Up ? "down" : "up";
    event.button = static_cast<uint8_t>(distance);
    InsertEvent(event);
}

uint32_t CMacroControlUI::ReadFixedDelay() {
    if (fixedDelay_ == nullptr) {
        return recorder_.FixedDelay();
    }
    const uint32_t value = LeadingNumber(fixedDelay_->GetText(), macro_limits::kMaxDelayMs);
    if (value != recorder_.FixedDelay() || fixedDelay_->GetText() != std::to_string(value)) {
        fixedDelay_->SetText(std::to_string(value));
        const int end = static_cast<int>(fixedDelay_->GetText().size());
        fixedDelay_->SetSel(end, end);
        recorder_.SetFixedDelay(value);
    }
    return value;
}

void CMacroControlUI::StartRecording(int timeMode, int hookMode) {
    const uint32_t fixed =
        timeMode == CMacroRecorder::kConstantTime ? ReadFixedDelay() : recorder_.FixedDelay();
    recorder_.Start(timeMode, fixed);
    // Only a row of this recording takes the measured time: rows from before keep their delays.
    recorded_ = false;
    hookMode_ = hookMode;
    SetRecordingState(true);
}

void CMacroControlUI::StopRecording() {
    hookMode_ = 0;
    SetRecordingState(false);
}

void CMacroControlUI::SetRecordingState(bool on) {
    recording_ = on;
    if (nameList_ != nullptr) {
        nameList_->SetEnabled(!on);
    }
    if (actionList_ != nullptr) {
        actionList_->SetEnabled(!on);
    }
    for (ui::CControlUI* control : lockedWhileRecording_) {
        control->SetEnabled(!on);
    }
    if (startButton_ != nullptr) {
        startButton_->SetVisible(!on);
    }
    if (stopButton_ != nullptr) {
        stopButton_->SetVisible(on);
    }
}

void CMacroControlUI::RecordKey(int mode, unsigned keyMessage, const KeyboardHookEvent& key) {
    if (!recording_ || SelectedMacro() < 0) {
        return;
    }
    const bool press = keyMessage == 0x100 || keyMessage == 0x104;
    const std::optional<MacroEvent> event =
        recorder_.Key(press, static_cast<uint8_t>(key.scanCode), (key.flags & 1) != 0);
    if (event) {
        AppendRecorded(mode, *event);
    }
}

void CMacroControlUI::RecordMouse(int mode, unsigned mouseMessage, const MouseHookEvent& mouse) {
    if (!recording_ || SelectedMacro() < 0) {
        return;
    }
    const std::optional<MacroEvent> event = recorder_.Mouse(
        mouseMessage, static_cast<uint16_t>(mouse.mouseData >> 16), OnStopButton(mouse.x, mouse.y));
    if (event) {
        AppendRecorded(mode, *event);
    }
}

bool CMacroControlUI::OnStopButton(int x, int y) const {
    if (stopButton_ == nullptr || !stopButton_->IsVisible() || stopButton_->GetManager() == nullptr) {
        return false;
    }
    const QWidget* host = stopButton_->GetManager()->GetPaintWindow();
    if (host == nullptr) {
        return false;
    }
    const QRect& pos = stopButton_->GetPos();
    return QRect(host->mapToGlobal(pos.topLeft()), pos.size()).contains(x, y);
}

void CMacroControlUI::ReplaceSelected(const MacroEvent& event) {
    ui::CControlUI* row = actionList_->GetItemAt(SelectedRow());
    MacroEvent kept = CMacroActionRow::EventOf(*row);
    kept.type = event.type;
    kept.button = event.button;
    if (const ui::CEditUI* field = CMacroActionRow::DelayField(*row)) {
        kept.delay = field->GetText();
    }
    CMacroActionRow::Show(*row, kept);
}

void CMacroControlUI::AppendRecorded(int mode, MacroEvent event) {
    if (actionList_ == nullptr) {
        return;
    }
    const int selected = SelectedRow();
    if (mode != kModeAppend && selected < 0) {
        return;
    }
    if (mode == kModeReplace) {
        ReplaceSelected(event);
        return;
    }
    if (RowCount() >= static_cast<int>(macro_limits::kRecordedEvents)) {
        return;
    }
    const int position = mode == kModeAppend ? RowCount() : mode == kModeBefore ? selected : selected + 1;
    const uint32_t delay = recorder_.TakeDelay();
    const bool constant = recorder_.TimeMode() == CMacroRecorder::kConstantTime;
    event.delay = position == 0 ? "0" : constant ? std::to_string(delay) : "0";
    AddRowAt(position, event);
    if (position > 0 && !constant && recorded_) {
        ui::CControlUI* above = actionList_->GetItemAt(position - 1);
        MacroEvent previous = CMacroActionRow::EventOf(*above);
        previous.delay = std::to_string(delay);
        CMacroActionRow::Show(*above, previous);
    }
    recorded_ = true;
    actionList_->SelectItem(mode == kModeBefore ? position + 1 : position);
    SetTimer(kScrollTimer, kScrollDelayMs);
    UpdateGauge();
}

void CMacroControlUI::SetMemoryCapacity(size_t bytes) {
    capacity_ = bytes;
    UpdateGauge();
}

size_t CMacroControlUI::MemoryUsed() const {
    if (names_.empty()) {
        return 0;
    }
    const size_t rows = SelectedMacro() >= 0 ? static_cast<size_t>(RowCount()) : 0;
    return CMacroImage::kHeaderSize + 6 * names_.size() + 4 * (otherEvents_ + rows);
}

void CMacroControlUI::UpdateGauge() {
    const size_t used = MemoryUsed();
    const bool fits = MemoryFits();
    if (gauge_ != nullptr) {
        gauge_->SetMaxValue(1000);
        gauge_->SetValue(capacity_ == 0 ? 0
                                        : static_cast<int>(std::min<size_t>(used * 1000 / capacity_, 1000)));
        gauge_->SetForeColor(fits ? kGaugeNormal : kGaugeWarning);
    }
    if (gaugeText_ == nullptr) {
        return;
    }
    const std::string format = Resolve(capacity_ == 0 ? "macro_memory_unknown"
                                       : fits         ? "macro_memory_text"
                                                      : "macro_memory_full");
    gaugeText_->SetText(FillNumbers(format, used, capacity_));
    gaugeText_->SetTextColor(fits ? kTextNormal : kGaugeWarning);
}
