#include "app/control_factory_tables.h"
#include "app/main_wnd.h"
#include "app/msg_wnd.h"
#include "app/registered_messages.h"
#include "devices/mouse/pellix_mouse_device.h"
#include "macro/macro_action_row.h"
#include "macro/macro_control_ui.h"
#include "macro/macro_list.h"
#include "platform/hid/hid_backend.h"
#include "profile/data_folders.h"
#include "profile/json_document.h"
#include "profile/profile_records.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"
#include "tests/support/menu_choice.h"
#include "tests/support/modal_window.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/menu_wnd.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/resource_manager.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using app::CMainWnd;
using Bytes = std::vector<uint8_t>;

constexpr int kMacroSubPage = 3;

std::string Text(const std::string& key) {
    const std::string* text = ui::CResourceManager::GetInstance().GetText(key);
    return text != nullptr ? *text : key;
}

// What a row shows: the key label's text, the action label's text and the delay field.
struct RowView {
    std::string key;
    std::string action;
    std::string delay;
    bool operator==(const RowView&) const = default;
};
std::ostream& operator<<(std::ostream& out, const RowView& row) {
    return out << "{" << row.key << ", " << row.action << ", " << row.delay << "}";
}

// The main window on a simulated bus with one emulated mouse and a fresh data folder, the macro
// sub-page open; the tests click, type and choose as a user does, through the real notifications,
// the real input filter and the real menu message.
class MainWndMacroTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        platform::hid::SetProcessBackend(bus);
        ASSERT_TRUE(LoadProgramSkin());
        app::RegisterControlClasses();
        app::RegisterProductMessage();
        app::RegisterShellMessages();
        ui::CPaintManagerUI::SetAllDPI(96);
        wnd = std::make_unique<CMainWnd>();
        ASSERT_NE(wnd->Create(nullptr, "Norvik 400100 Gaming Mouse", 0, 0, 0, 0, 1000, 640), nullptr);
        ASSERT_TRUE(WaitFor([&] { return wnd->IsVisible(); }));
        mouse = std::make_shared<CSimulatedMouse>(MouseModel3389());
        bus->Plug("mouse3389", mouse);
        ASSERT_TRUE(WaitFor(
            [&] { return Page() != nullptr && Panel() != nullptr && Panel()->MemoryCapacity() > 0; }, 3000));
        As<ui::COptionUI>("mouse_device_seting_option_" + std::to_string(kMacroSubPage), "Option")
            ->Selected(true);
        Panel()->Recorder().SetClock([this] { return now; });
        QObject::connect(&answerer, &QTimer::timeout, [this] {
            if (ui::CHostWidget* host = ShownWindow(app::kMsgWndClassName)) {
                messages.push_back(host->GetPaintManager()->FindControl("MessageText")->GetText());
                host->GetPaintManager()->FindControl(answerYes ? "confirm_btn" : "cancel_btn")->Activate();
            }
        });
        answerer.start(5);
    }
    void TearDown() override {
        answerer.stop();
        ui::CMenuWnd::DestroyMenu();
        wnd.reset();
        platform::hid::SetProcessBackend(nullptr);
        ui::CResourceManager::GetInstance().Release();
    }

    CPellixMouseDevice* Page() { return static_cast<CPellixMouseDevice*>(wnd->DeviceBar().ActivePage()); }
    CMacroControlUI* Panel() { return Page() != nullptr ? Page()->MacroPanel() : nullptr; }
    ui::CControlUI* Control(const std::string& name) {
        ui::CControlUI* control = wnd->GetPaintManager().FindSubControlByName(Page(), name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    template <class T>
    T* As(const std::string& name, const char* interfaceName) {
        return static_cast<T*>(Control(name)->GetInterface(interfaceName));
    }
    void Click(const std::string& name) { wnd->GetPaintManager().SendNotify(Control(name), "click"); }
    // A menu choice as the action menu hands it to the window.
    void Choose(const std::string& item) {
        ui::SendMessage(wnd->GetHWND(), ui::WM_MENUCLICK, 0,
                        reinterpret_cast<ui::LPARAM>(new ui::CMenuCmd{item, {}, {}}));
    }
    // A key press or release on the window as the desktop delivers it: the evdev code + 8.
    void Key(QEvent::Type type, int qtKey, uint16_t evdev, bool autoRepeat = false) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, evdev + 8u, 0, 0, {}, autoRepeat);
        QApplication::sendEvent(wnd->GetWidget(), &event);
    }
    void Tap(int qtKey, uint16_t evdev, uint32_t heldMs = 10) {
        Key(QEvent::KeyPress, qtKey, evdev);
        now += heldMs;
        Key(QEvent::KeyRelease, qtKey, evdev);
    }
    // A mouse button event at the middle of a control, as the desktop delivers it to the window.
    void Mouse(QEvent::Type type, Qt::MouseButton button, const std::string& over) {
        const QPoint local = Control(over)->GetPos().center();
        QWidget* host = wnd->GetWidget();
        QMouseEvent event(type, QPointF(local), QPointF(local), QPointF(host->mapToGlobal(local)), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(host, &event);
    }
    void ClickWithMouse(const std::string& over, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, button, over);
        now += 5;
        Mouse(QEvent::MouseButtonRelease, button, over);
    }
    std::vector<RowView> Rows() {
        std::vector<RowView> rows;
        auto* list = As<ui::CListUI>("macro_action_list", "List");
        for (int i = 0; i < list->GetCount(); ++i) {
            const ui::CControlUI& row = *list->GetItemAt(i);
            rows.push_back({CMacroActionRow::KeyLabel(row)->GetText(),
                            CMacroActionRow::ActionLabel(row)->GetText(),
                            CMacroActionRow::DelayField(row)->GetText()});
        }
        return rows;
    }
    std::string Folder() const { return CDataFolders::UserDataFolder("mouse3389"); }
    Json::Value MacroFile(size_t index) {
        const auto entries = CMacroList(Folder()).Entries();
        return index < entries.size() ? CJsonDocument().ReadJsonValue(Folder() + entries[index].guid + ".mac")
                                      : Json::Value();
    }
    void Render(const std::string& name) {
        ASSERT_TRUE(SaveRender(wnd->GetPaintManager(), *wnd->GetWidget(), name)) << name;
    }
    void AddMacro() {
        Click("macro_btn_name_add");
        ASSERT_GE(Panel()->SelectedMacro(), 0);
    }

    CTempDataHome home;
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMouse> mouse;
    std::unique_ptr<CMainWnd> wnd;
    uint32_t now = 1000;
    QTimer answerer;
    bool answerYes = true;
    std::vector<std::string> messages;
};

RowView KeyRow(const std::string& key, bool down, const std::string& delay) {
    return {Text(key), Text(down ? "macro_action_down" : "macro_action_up"), delay};
}

// A new user's recording: typed keys (one held with auto-repeat), a modifier and a click into
// the window, then the click on Stop. The stop click is not recorded, each delay is the time to
// the next event, and "Apply" puts into the mouse's macro memory exactly the image worked out by
// hand from the events: header, offset table, event count, then delay, type | 0x80 for a press,
// and key or button.
TEST_F(MainWndMacroTest, RecordingTypedKeysAndClicksReachesTheMacroMemory) {
    AddMacro();
    Click("macro_btn_starredio");
    ASSERT_TRUE(Panel()->IsRecording());
    EXPECT_TRUE(wnd->Hook().IsInstalled());
    EXPECT_FALSE(wnd->GetPaintManager().FindControl("device_select_layout")->IsEnabled());
    EXPECT_TRUE(Control("macro_btn_stopredio")->IsVisible());
    EXPECT_FALSE(Control("macro_btn_starredio")->IsVisible());

    now += 100;
    Key(QEvent::KeyPress, Qt::Key_A, KEY_A);
    now += 20;
    Key(QEvent::KeyPress, Qt::Key_A, KEY_A, true);
    now += 30;
    Key(QEvent::KeyRelease, Qt::Key_A, KEY_A);
    now += 50;
    Tap(Qt::Key_Shift, KEY_LEFTSHIFT, 60);
    now += 40;
    ClickWithMouse("macro_memory_text");
    now += 7;
    ASSERT_TRUE(WaitFor([&] { return !Control("macro_btn_stopredio")->GetPos().isEmpty(); }));
    Render("macro_panel_recording.png");
    ClickWithMouse("macro_btn_stopredio");

    ASSERT_FALSE(Panel()->IsRecording());
    EXPECT_FALSE(wnd->Hook().IsInstalled());
    EXPECT_TRUE(wnd->GetPaintManager().FindControl("device_select_layout")->IsEnabled());
    const std::vector<RowView> expected = {
        KeyRow("keyboard_key_A", true, "50"),      KeyRow("keyboard_key_A", false, "50"),
        KeyRow("keyboard_key_LShift", true, "60"), KeyRow("keyboard_key_LShift", false, "40"),
        KeyRow("mouse_key_left", true, "5"),       KeyRow("mouse_key_left", false, "0"),
    };
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(MacroFile(0)["Events"].size(), 6u);
    EXPECT_EQ(MacroFile(0)["Events"][0]["Delay"], "50");

    Click("key_butt_prosave");
    const Bytes image = {0xAA, 0x55, 46,   0,    1,  0, 0,    0,    0, 0, 0, 0, 0, 0, 0, 0,  // header
                         18,   0,                                     // offset of macro 0
                         6,    0,    0,    0,                         // six events
                         50,   0,    0x8A, 0x04, 50, 0, 0x0A, 0x04,   // A
                         60,   0,    0x89, 0x02, 40, 0, 0x09, 0x02,   // left Shift (mask 0x02)
                         5,    0,    0x81, 0x01, 0,  0, 0x01, 0x01};  // left button
    ASSERT_TRUE(WaitFor([&] { return mouse->MacroMemory().size() >= image.size(); }, 3000));
    const Bytes memory = mouse->MacroMemory();
    EXPECT_EQ(Bytes(memory.begin(), memory.begin() + static_cast<long>(image.size())), image);
    Render("macro_panel_recorded.png");
}

MacroEvent Event(uint8_t type, uint8_t button, bool down, const std::string& delay) {
    MacroEvent event;
    event.type = type;
    event.button = button;
    event.action = down ? "down" : "up";
    event.delay = delay;
    return event;
}

// A macro holding B pressed (100 ms) and released (200 ms), selected.
class MainWndMacroEditTest : public MainWndMacroTest {
protected:
    void SetUp() override {
        MainWndMacroTest::SetUp();
        CMacroList list(Folder());
        ASSERT_TRUE(list.Create().has_value());
        ASSERT_EQ(list.Save(0, {Event(10, 0x05, true, "100"), Event(10, 0x05, false, "200")}), 0);
        Panel()->LoadList();
        Panel()->SelectMacro(0);
        ASSERT_EQ(Panel()->RowCount(), 2);
    }
    RowView B(bool down) { return KeyRow("keyboard_key_B", down, down ? "100" : "200"); }
    RowView A(bool down, const std::string& delay) { return KeyRow("keyboard_key_A", down, delay); }
};

// Every way of recording: the time modes (measured, fixed, none) of the record button and the
// action menu, where the rows go and which row stays selected, and replacing a row's key.
TEST_F(MainWndMacroEditTest, TimeModesAndVariantsPlaceAndTimeTheRows) {
    struct Case {
        const char* name;
        int selectedRow;
        bool fixedOption;
        const char* fixedDelay;
        const char* trigger;  // a button click, or a menu item
        uint32_t gapMs;       // between the press and the release of A
        std::vector<RowView> rows;
    };
    const std::vector<Case> cases = {
        {"append, measured",
         -1,
         false,
         "50",
         "macro_btn_starredio",
         10,
         {B(true), B(false), A(true, "10"), A(false, "0")}},
        {"append, fixed",
         -1,
         true,
         "50",
         "macro_btn_starredio",
         10,
         {B(true), B(false), A(true, "50"), A(false, "50")}},
        {"append, 70 s apart",
         -1,
         false,
         "50",
         "macro_btn_starredio",
         70000,
         {B(true), B(false), A(true, "65535"), A(false, "0")}},
        {"before, measured, at the top",
         0,
         false,
         "50",
         "redio_previous_record_time",
         10,
         {A(true, "10"), A(false, "0"), B(true), B(false)}},
        {"before, measured with the option: fixed",
         1,
         true,
         "40",
         "redio_previous_record_time",
         10,
         {B(true), A(true, "40"), A(false, "40"), B(false)}},
        {"before, no delay",
         1,
         false,
         "50",
         "redio_previous_ignore_time",
         10,
         {B(true), A(true, "0"), A(false, "0"), B(false)}},
        {"after, fixed",
         0,
         false,
         "30",
         "redio_later_constant_time",
         10,
         {B(true), A(true, "30"), A(false, "30"), B(false)}},
        {"after, measured",
         1,
         false,
         "50",
         "redio_later_record_time",
         10,
         {B(true), B(false), A(true, "10"), A(false, "0")}},
        {"after, no delay",
         1,
         false,
         "50",
         "redio_later_ignore_time",
         10,
         {B(true), B(false), A(true, "0"), A(false, "0")}},
        {"replace the key, action and delay kept",
         0,
         false,
         "50",
         "macro_action_edit",
         10,
         {A(true, "100"), B(false)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Panel()->LoadEvents();
        Panel()->SelectRow(c.selectedRow);
        As<ui::COptionUI>("macro_check_time", "Option")->Selected(c.fixedOption, false);
        Control("macro_fixed_time_edit")->SetText(c.fixedDelay);
        if (std::string(c.trigger).starts_with("macro_btn")) {
            Click(c.trigger);
        } else {
            Choose(c.trigger);
        }
        ASSERT_TRUE(Panel()->IsRecording());
        now += 30;
        Key(QEvent::KeyPress, Qt::Key_A, KEY_A);
        now += c.gapMs;
        Key(QEvent::KeyRelease, Qt::Key_A, KEY_A);
        Click("macro_btn_stopredio");
        ASSERT_FALSE(Panel()->IsRecording());
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(MacroFile(0)["Events"].size(), c.rows.size());
        CMacroList(Folder()).Save(0, {Event(10, 0x05, true, "100"), Event(10, 0x05, false, "200")});
    }
}

// With nothing selected the insert and replace variants record nothing; a macro of 2000 rows
// takes no recorded row more.
TEST_F(MainWndMacroEditTest, RecordingLimits) {
    Panel()->SelectRow(-1);
    Choose("redio_later_ignore_time");
    Tap(Qt::Key_A, KEY_A);
    Click("macro_btn_stopredio");
    EXPECT_EQ(Panel()->RowCount(), 2);

    CMacroList(Folder()).Save(0, std::vector<MacroEvent>(2000, Event(10, 0x04, true, "1")));
    Panel()->LoadEvents();
    Click("macro_btn_starredio");
    Tap(Qt::Key_A, KEY_A);
    Click("macro_btn_stopredio");
    EXPECT_EQ(Panel()->RowCount(), 2000);
}

// The editing buttons and menu items, each followed by the save the window makes: the rows and
// the file agree.
TEST_F(MainWndMacroEditTest, EditingButtonsAndMenuItemsChangeTheRowsAndTheFile) {
    const RowView leftDown{Text("mouse_key_left"), Text("macro_action_down"), "50"};
    const RowView leftUp{Text("mouse_key_left"), Text("macro_action_up"), "50"};
    struct Case {
        const char* name;
        int selectedRow;
        std::function<void()> act;
        std::vector<RowView> rows;
    };
    const std::vector<Case> cases = {
        {"left click after the last row",
         1,
         [&] { Choose("left_click"); },
         {B(true), B(false), leftDown, leftUp}},
        {"a release with nothing selected goes to the top",
         -1,
         [&] { Choose("left_up"); },
         {leftUp, B(true), B(false)}},
        {"moving the top row up does nothing", 0, [&] { Click("macro_btn_up"); }, {B(true), B(false)}},
        {"moving the last row down does nothing",
         1,
         [&] { Click("macro_btn_downbottom"); },
         {B(true), B(false)}},
        {"down", 0, [&] { Click("macro_btn_down"); }, {B(false), B(true)}},
        {"to the top", 1, [&] { Click("macro_btn_uptop"); }, {B(false), B(true)}},
        {"delete a row", 0, [&] { Click("macro_btn_delete"); }, {B(false)}},
        {"delete every row", 0, [&] { Click("macro_btn_deleteall"); }, {}},
        {"a move of 300 to the left is 255",
         0,
         [&] {
             Control("mouse_x_left_edit")->SetText("300");
             Click("macro_inset_moveleftkey_btn");
         },
         {B(true), {Text("mouse_move_to_left_text"), "255", "50"}, B(false)}},
        {"a move of abc down is 1",
         1,
         [&] {
             Control("mouse_y_down_edit")->SetText("abc");
             Click("macro_inset_movedownkey_btn");
         },
         {B(true), B(false), {Text("mouse_move_to_down_text"), "1", "50"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMacroList(Folder()).Save(0, {Event(10, 0x05, true, "100"), Event(10, 0x05, false, "200")});
        Panel()->LoadEvents();
        Panel()->SelectRow(c.selectedRow);
        c.act();
        EXPECT_EQ(Rows(), c.rows);
        std::vector<RowView> saved;
        for (const MacroEvent& event : CMacroList(Folder()).Load(0)) {
            saved.push_back(
                {CMacroActionRow::KeyLabelKey(event).empty() ? "" : Text(CMacroActionRow::KeyLabelKey(event)),
                 event.type == 4 || event.type == 5
                     ? std::to_string(event.button)
                     : Text(event.IsDown() ? "macro_action_down" : "macro_action_up"),
                 event.delay});
        }
        EXPECT_EQ(saved, c.rows);
    }
    EXPECT_EQ(Control("mouse_x_left_edit")->GetText(), "255");
    EXPECT_EQ(Control("mouse_y_down_edit")->GetText(), "1");
}

// Leaving a delay field saves the macro with the field's number as "%d".
TEST_F(MainWndMacroEditTest, LeavingADelayFieldSavesItsNumber) {
    for (const auto& [typed, saved] : std::vector<std::pair<std::string, std::string>>{
             {"", "0"}, {"007", "7"}, {"65535", "65535"}, {"99999", "65535"}}) {
        SCOPED_TRACE(typed);
        ui::CEditUI* field =
            CMacroActionRow::DelayField(*As<ui::CListUI>("macro_action_list", "List")->GetItemAt(0));
        field->SetText(typed);
        wnd->GetPaintManager().SendNotify(field, "killfocus");
        EXPECT_EQ(field->GetText(), saved);
        EXPECT_EQ(MacroFile(0)["Events"][0]["Delay"], saved);
    }
}

// New macros take the smallest free number; deleting a macro a button uses asks first, gives
// that button its default function back and moves the buttons of later macros up with their
// macro, in the profile and in the mouse's key table.
TEST_F(MainWndMacroTest, DeletingAMacroRenumbersTheKeysThatUseMacros) {
    for (int i = 0; i < 3; ++i) {
        AddMacro();
    }
    EXPECT_EQ(Panel()->Names(), (std::vector<std::string>{"macro_1", "macro_2", "macro_3"}));
    std::vector<KeyAssignment> keys = Page()->Profile().GetKeyList();
    ASSERT_GE(keys.size(), 2u);
    const KeyAssignment firstDefault = keys[0];
    keys[0].code1 = 0x70;
    keys[0].code2 = 1;
    keys[1].code1 = 0x71;
    keys[1].code2 = 2;
    Page()->Profile().SetKeyList(keys);

    Panel()->SelectMacro(1);
    Click("macro_btn_name_sub");
    EXPECT_EQ(messages, (std::vector<std::string>{Text("message_text_4"), Text("message_text_2")}));
    EXPECT_EQ(Panel()->Names(), (std::vector<std::string>{"macro_1", "macro_3"}));
    keys = Page()->Profile().GetKeyList();
    EXPECT_EQ(keys[0].code1, firstDefault.defaultCode1);
    EXPECT_EQ(keys[0].code2, firstDefault.defaultCode2);
    EXPECT_EQ(keys[1].code1, 0x71);
    EXPECT_EQ(keys[1].code2, 1);
    ASSERT_TRUE(WaitFor(
        [&] {
            const Bytes table = mouse->KeyTable();
            return table.size() >= 6 && table[3 * keys[1].keyPosition] == 0x71 &&
                   table[3 * keys[1].keyPosition + 1] == 1;
        },
        3000));

    AddMacro();
    EXPECT_EQ(Panel()->Names().back(), "macro_2");

    answerYes = false;
    messages.clear();
    Panel()->SelectMacro(0);
    Click("macro_btn_name_sub");
    EXPECT_EQ(Panel()->Names().size(), 3u);
}

// Bad input and failed writes: a file that is not a macro imports nothing and says so; a macro
// whose file cannot be replaced says so and keeps its rows; an empty name is refused.
TEST_F(MainWndMacroEditTest, FailuresAreReportedAndChangeNothing) {
    const std::string notMacro = home.Path("notes.mac");
    std::ofstream(notMacro) << "this is not a macro";
    wnd->FileDialogs().SetChooser([&](app::CFileDialogs::Purpose, const std::string&) { return notMacro; });
    Click("macro_btn_import");
    EXPECT_EQ(Panel()->Names().size(), 1u);
    EXPECT_EQ(CMacroList(Folder()).Entries().size(), 1u);

    const std::string file = Folder() + CMacroList(Folder()).Entries()[0].guid + ".mac";
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);  // the file cannot be replaced
    Panel()->SelectRow(0);
    Click("macro_btn_delete");
    EXPECT_EQ(Panel()->RowCount(), 1);

    Control("macro_edit_macroname")->SetText("");
    Click("macro_btn_name_edit");
    EXPECT_EQ(Panel()->Names()[0], "macro_1");
    ASSERT_TRUE(WaitFor([&] { return messages.size() >= 3; }));
    EXPECT_EQ(messages, (std::vector<std::string>{Text("macro_import_failed"), Text("macro_save_failed"),
                                                  Text("message_text_5")}));

    // A damaged list is never rewritten as an empty one: the add is refused and said so.
    std::ofstream(Folder() + "macro.config", std::ios::trunc) << "{ \"MacroInfo\": [";
    messages.clear();
    Click("macro_btn_name_add");
    ASSERT_TRUE(WaitFor([&] { return !messages.empty(); }));
    EXPECT_EQ(messages[0], Text("macro_list_failed"));
    std::ifstream list(Folder() + "macro.config");
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(list)), {}), "{ \"MacroInfo\": [");
}

// A list found damaged when the page reads it is kept beside itself and a new list starts.
TEST_F(MainWndMacroEditTest, ADamagedListIsKeptAsideAndANewOneStarts) {
    const std::string damaged = "{ \"MacroInfo\": [ {\"MacroName\": \"Keep me\"";
    std::ofstream(Folder() + "macro.config", std::ios::trunc) << damaged;
    Panel()->SetFolder(Folder());
    const std::vector<std::string> moved = Panel()->TakeSetAsideFiles();
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_NE(moved[0].find("macro.config.damaged-"), std::string::npos);
    std::ifstream kept(moved[0]);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), {}), damaged);
    EXPECT_TRUE(Panel()->Names().empty());
    AddMacro();
    EXPECT_EQ(CMacroList(Folder()).Names(), std::vector<std::string>{"macro_1"});
}

// Importing a macro file adds a macro with its events; exporting writes the file with CR LF.
TEST_F(MainWndMacroEditTest, ImportAndExport) {
    const std::string exported = home.Path("out.mac");
    wnd->FileDialogs().SetChooser([&](app::CFileDialogs::Purpose, const std::string&) { return exported; });
    Click("macro_btn_export");
    std::ifstream in(exported, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("\r\n"), std::string::npos);
    Click("macro_btn_import");
    EXPECT_EQ(Panel()->Names(), (std::vector<std::string>{"macro_1", "macro_2"}));
    EXPECT_EQ(Panel()->SelectedMacro(), 1);
    EXPECT_EQ(Rows(), (std::vector<RowView>{B(true), B(false)}));
    EXPECT_TRUE(messages.empty());
}

// The gauge counts 16 bytes, 6 per macro and 4 per event, the selected macro by its rows, and
// warns once the list outgrows the mouse's memory, before "Apply" is refused.
TEST_F(MainWndMacroEditTest, TheGaugeCountsTheBytesTheListTakes) {
    const auto gaugeText = [&] { return Control("macro_memory_text")->GetText(); };
    EXPECT_EQ(Panel()->MemoryUsed(), 16u + 6u + 8u);
    EXPECT_NE(gaugeText().find("30"), std::string::npos);
    Choose("left_click");
    EXPECT_EQ(Panel()->MemoryUsed(), 16u + 6u + 16u);

    const size_t capacity = Panel()->MemoryCapacity();
    ASSERT_EQ(capacity, 16u * 128u);
    CMacroList(Folder()).Save(0, std::vector<MacroEvent>(507, Event(10, 0x04, true, "1")));
    Panel()->LoadEvents();
    EXPECT_GT(Panel()->MemoryUsed(), capacity);
    EXPECT_FALSE(Panel()->MemoryFits());
    EXPECT_NE(gaugeText().find(std::to_string(Panel()->MemoryUsed())), std::string::npos);
    EXPECT_EQ(gaugeText().find(std::to_string(Panel()->MemoryUsed())), Text("macro_memory_full").find("%d"));

    Panel()->SelectRow(0);
    Click("macro_btn_delete");
    EXPECT_TRUE(Panel()->MemoryFits());
}

// Renders: the action menu opened on a row.
TEST_F(MainWndMacroEditTest, TheActionMenuOpensOnARow) {
    ui::CControlUI* row = As<ui::CListUI>("macro_action_list", "List")->GetItemAt(0);
    wnd->GetPaintManager().SendNotify(row, "itemactivate");
    ASSERT_EQ(ui::CMenuWnd::GetOpenMenus().size(), 1u);
    ui::CMenuWnd* menu = ui::CMenuWnd::GetOpenMenus().back();
    const std::vector<std::string> items = menu->GetItemNames();
    for (const char* item : {"left_click", "back_up", "redio_previous_record_time", "redio_later_ignore_time",
                             "macro_action_edit"}) {
        EXPECT_NE(std::find(items.begin(), items.end(), item), items.end()) << item;
    }
    const char* output = std::getenv("NORVIK_TEST_OUTPUT");
    if (output != nullptr) {
        QMenu* native = menu->GetNativeMenu();
        native->adjustSize();
        EXPECT_TRUE(
            native->grab().save(QString::fromStdString(std::string(output) + "/macro_action_menu.png")));
    }
    EXPECT_TRUE(ChooseMenuItem(*menu, "right_click"));
    ASSERT_TRUE(WaitFor([&] { return Panel()->RowCount() == 4; }));
    Render("macro_panel_edited.png");
    ui::CPaintManagerUI::SetAllDPI(144);
    Render("macro_panel_edited_144dpi.png");
    ui::CPaintManagerUI::SetAllDPI(96);
}

}  // namespace
