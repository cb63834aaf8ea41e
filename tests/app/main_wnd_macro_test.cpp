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
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"
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
#include <QMouseEvent>
#include <QTimer>

#include <filesystem>
#include <fstream>

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
        QMouseEvent event(type, QPointF(local), QPointF(host->mapToGlobal(local)), button,
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
}  // namespace
