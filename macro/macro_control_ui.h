#pragma once

#include "macro/macro_event.h"
#include "macro/macro_list.h"
#include "macro/macro_recorder.h"
#include "ui/toolkit/horizontal_layout_ui.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {
class CEditUI;
class CLabelUI;
class CListUI;
class CProgressUI;
}  // namespace ui

struct KeyboardHookEvent;
struct MouseHookEvent;

// CMacroControlUI: the macro panel of the keyboard and mouse pages (skin
// "XML\CustomControlXML\MacroControl.xml", element "MacroControl", found as "MacroControlItem").
// "macro_name_list" shows the macro list of the folder; "macro_action_list" one row per event of
// the selected macro (CMacroActionRow), the event kept in the row. Saving rebuilds the macro file
// from the rows. The memory gauge shows the bytes the whole list takes in the device's macro
// memory (16 + 6 per macro + 4 per event), the selected macro counted by its rows.
//
// Recording takes the input hook's events (CMacroRecorder): mode 4 appends, 8 inserts before the
// selected row, 16 after it, 32 replaces the selected row's key or button.
//
// Files go through CMacroList; an operation whose write failed returns so and leaves the rows
// and the list as they were. Thread: the UI thread only.
class CMacroControlUI : public ui::CHorizontalLayoutUI {
public:
    static constexpr int kScrollTimer = 4101;
    static constexpr int kModeAppend = 4;
    static constexpr int kModeBefore = 8;
    static constexpr int kModeAfter = 16;
    static constexpr int kModeReplace = 32;

    enum class Move { Up, Down, Top, Bottom };
    enum class Direction { Left, Right, Up, Down };
    enum class Result { Done, Nothing, WriteFailed };

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void DoEvent(ui::TEventUI& event) override;

    // Finds the panel's controls by name (a missing one writes a debug line).
    void BindControls();
    // The user data folder of the device kind (ends with '/'); loads the list.
    void SetFolder(const std::string& folder);
    const std::string& Folder() const { return folder_; }
    // Reads the list; a "macro.config" that cannot be read as a list is first renamed beside itself
    // ("<name>.damaged-<time>") so that a new list can start without losing it.
    void LoadList();
    const std::vector<std::string>& Names() const { return names_; }
    // The damaged list files moved aside since the last call.
    std::vector<std::string> TakeSetAsideFiles();

    int SelectedMacro() const;
    // Selects the macro and loads its events ("itemselect" of "macro_name_list" does the same).
    void SelectMacro(int index);
    void LoadEvents();

    // A new macro "macro_%d", selected; nullopt at 50 macros or when the list cannot be written.
    std::optional<std::string> Add();
    // Deletes the selected macro; its position, or -1 with nothing selected or a failed write.
    int Delete();
    // The text of "macro_edit_macroname" as the selected macro's name: the position and name;
    // nullopt with nothing selected, an empty name or a failed write.
    std::optional<std::pair<int, std::string>> Rename();
    // Rebuilds the selected macro's file from the rows (normalising the delay fields).
    Result Save();
    void Cancel();
    // A new macro from a file; its name, or nullopt (nothing added) at 50 macros, for a file
    // that is not a macro file, or when a write failed.
    std::optional<std::string> Import(const std::string& path);
    bool Export(const std::string& path) const;

    void MoveRow(Move move);
    void DeleteRow();
    void DeleteAllRows();
    // Inserted after the selected row (at the top with none), with the fixed delay.
    void InsertButton(uint8_t mask, bool down);
    void InsertClick(uint8_t mask);
    void InsertMove(Direction direction);

    // Recording: StartRecording stores the time mode, re-reads the fixed delay for mode 2 and
    // makes the lists and editing fields unresponsive; StopRecording undoes it.
    void StartRecording(int timeMode, int hookMode);
    void StopRecording();
    bool IsRecording() const { return recording_; }
    int RecordingMode() const { return hookMode_; }
    // A hook event for a recording mode; keyMessage 0x100/0x104 press, else release.
    void RecordKey(int mode, unsigned keyMessage, const KeyboardHookEvent& key);
    void RecordMouse(int mode, unsigned mouseMessage, const MouseHookEvent& mouse);
    CMacroRecorder& Recorder() { return recorder_; }
    // "macro_fixed_time_edit" read, clamped to 65535 and stored.
    uint32_t ReadFixedDelay();

    std::vector<MacroEvent> RowEvents() const;
    int RowCount() const;
    int SelectedRow() const;
    void SelectRow(int row);

    // The device's macro memory in bytes (0: unknown, the gauge shows the bytes only).
    void SetMemoryCapacity(size_t bytes);
    size_t MemoryCapacity() const { return capacity_; }
    size_t MemoryUsed() const;
    bool MemoryFits() const { return capacity_ == 0 || MemoryUsed() <= capacity_; }
    void UpdateGauge();

private:
    CMacroList List() const { return CMacroList(folder_); }
    void AddRowAt(int position, const MacroEvent& event);
    void InsertEvent(MacroEvent event);
    void AppendRecorded(int mode, MacroEvent event);
    void ReplaceSelected(const MacroEvent& event);
    void SetRecordingState(bool on);
    void SetAsideDamagedList();
    bool OnStopButton(int x, int y) const;
    uint32_t EditNumber(const std::string& name, uint32_t fallback) const;
    template <class T>
    T* Bind(const std::string& name, const char* interfaceName);

    std::string folder_;
    std::vector<std::string> names_;
    std::vector<std::string> setAside_;
    CMacroRecorder recorder_;
    bool recording_ = false;
    bool recorded_ = false;
    int hookMode_ = 0;
    size_t capacity_ = 0;
    size_t otherEvents_ = 0;  // events of the macros besides the selected one
    ui::CListUI* nameList_ = nullptr;
    ui::CListUI* actionList_ = nullptr;
    ui::CControlUI* actionLayout_ = nullptr;
    ui::CEditUI* nameEdit_ = nullptr;
    ui::CEditUI* fixedDelay_ = nullptr;
    ui::CControlUI* startButton_ = nullptr;
    ui::CControlUI* stopButton_ = nullptr;
    ui::CProgressUI* gauge_ = nullptr;
    ui::CLabelUI* gaugeText_ = nullptr;
    std::vector<ui::CControlUI*> lockedWhileRecording_;
};
