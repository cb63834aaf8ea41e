#include "app/set_wnd.h"
#include "app/msg_wnd.h"
#include "app/registered_messages.h"
#include "app/update_download.h"
#include "net/update_time_record.h"
#include "platform/autostart.h"
#include "tests/net/environment_guard.h"
#include "tests/net/local_http_server.h"
#include "tests/net/refused_port.h"
#include "tests/support/debug_capture.h"
#include "tests/support/modal_window.h"
#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
#include "tests/support/temp_data_home.h"
#include "ui/controls/update_info_list_item_ui.h"
#include "ui/toolkit/list_ui.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/tab_layout_ui.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using app::CSetWnd;
using Item = ui::CUpdateInfoListItemUI;

constexpr const char kFirmware[] = "firmware image 0104";

// The mouse of the first page is open with firmware 0x0103; no other device is.
class CMouseFirmware : public IFirmwareVersionSource {
public:
    int FirmwareVersion(size_t page) const override { return page == 0 ? 0x0103 : 0; }
};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The update service and its files: the mouse has 0104 at "/files/mouse.bin", the program is up
// to date. How the file is served is the test's choice.
class SetWndTest : public ::testing::Test {
protected:
    enum class EFile { kServed, kMissing, kStalled };

    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(LoadProgramSkin());
        ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
        app::RegisterShellMessages();
        setenv("XDG_CACHE_HOME", home.Path("cache").c_str(), 1);
        setenv("NORVIK_UPDATE_URL", server.Url("/api/").c_str(), 1);
        // xdg-open stands in for the desktop: it notes the folder it was asked to open.
        const std::filesystem::path bin = home.Root() / "bin";
        std::filesystem::create_directories(bin);
        std::ofstream(bin / "xdg-open") << "#!/bin/sh\necho \"$1\" >> '" << opened << "'\n";
        std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
        setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", path.c_str(), 1);
        ui::CResourceManager::GetInstance().Release();
    }

    CLocalHttpServer::Reply Serve(const CLocalHttpServer::Request& request) {
        if (request.requestLine.rfind("POST /api/updates", 0) == 0) {
            if (checkStalls) {
                return {"", true};
            }
            const bool program = request.body.find("_ALL_") != std::string::npos;
            return CLocalHttpServer::Response(
                200,
                program
                    ? R"({"path": "http://127.0.0.1:1/p.bin", "version": "1", "name": "AP"})"
                    : R"({"path": ")" + server.Url("/files/mouse.bin") +
                          R"(", "version": "0104", "name": "mouse", "version_name": "V0104", "device_id": 7})");
        }
        if (file == EFile::kMissing) {
            return CLocalHttpServer::Response(404, "gone", "text/plain");
        }
        if (file == EFile::kStalled) {
            const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 4096\r\nConnection: close\r\n\r\n";
            const bool get = request.requestLine.rfind("GET", 0) == 0;
            return {get ? head + "first bytes" : head, get};
        }
        return CLocalHttpServer::Response(200, kFirmware, "application/octet-stream");
    }

    static CSetWnd& Window() { return *dynamic_cast<CSetWnd*>(CSetWnd::OpenWindow()); }
    static ui::CControlUI* Find(ui::CHostWidget& host, const std::string& name) {
        return host.GetPaintManager()->FindControl(name);
    }
    static Item* ItemAt(ui::CHostWidget& host, int index) {
        auto* list = static_cast<ui::CListUI*>(Find(host, "device_update_list_info")->GetInterface("List"));
        return index < list->GetCount()
                   ? static_cast<Item*>(list->GetItemAt(index)->GetInterface("UpdateInfoListItem"))
                   : nullptr;
    }
    static bool WaitForStatus(int status) {
        return WaitFor([status] { return Window().Status() == status; }, 5000);
    }
    static void Click(ui::CHostWidget& host, const std::string& name) {
        ASSERT_TRUE(Find(host, name)->Activate());
    }
    static void Render(ui::CHostWidget& host, const std::string& name) {
        EXPECT_TRUE(SaveRender(host, name));
    }

    // Opens the settings window centred over no owner and runs the action inside its modal loop.
    void Run(std::function<void(ui::CHostWidget&)> action) {
        bool ran = false;
        WhenShown(app::kSetWndClassName, [&](ui::CHostWidget& host) {
            action(host);
            ran = true;
            if (CSetWnd::OpenWindow() != nullptr) {
                Click(host, "closebtn");
            }
        });
        EXPECT_TRUE(CSetWnd::Open(nullptr, firmware, 1, false));
        EXPECT_TRUE(ran);
        EXPECT_EQ(CSetWnd::OpenWindow(), nullptr);
    }

    CEnvironmentGuard environment{
        {"NORVIK_UPDATE_URL", "XDG_CACHE_HOME", "http_proxy", "HTTP_PROXY", "no_proxy"}};
    CTempDataHome home;
    std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "/usr/bin:/bin";
    std::string opened = home.Path("opened.txt");
    std::atomic<EFile> file{EFile::kServed};
    std::atomic<bool> checkStalls{false};
    CMouseFirmware firmware;
    CLocalHttpServer server{[this](const CLocalHttpServer::Request& r) { return Serve(r); }};
};

TEST_F(SetWndTest, ACheckFindsTheNewerFirmwareAndADownloadEndsInTheOpenedFolder) {
    CDebugCapture capture;
    Run([&](ui::CHostWidget& host) {
        ASSERT_TRUE(WaitForStatus(CSetWnd::kFound));
        Render(host, "settings_window_found.png");
        Item* mouse = ItemAt(host, 0);
        Item* program = ItemAt(host, 1);
        ASSERT_NE(program, nullptr);
        EXPECT_EQ(ItemAt(host, 2), nullptr);  // rows without a version have no item
        EXPECT_EQ(mouse->GetOldVersion(), "V0103");
        EXPECT_EQ(mouse->GetNewVersion(), "V0104");
        EXPECT_EQ(mouse->GetState(), Item::kNewer);
        EXPECT_TRUE(mouse->IsChecked());
        EXPECT_EQ(program->GetName(), "AP");
        EXPECT_EQ(program->GetState(), Item::kUpToDate);
        EXPECT_FALSE(program->IsChecked());
        EXPECT_TRUE(Find(host, "update_fw_and_ap")->IsVisible());
        EXPECT_EQ(CUpdateTimeRecord::ReadLastCheckDate(), CUpdateTimeRecord::Today());

        // Unticking the only item hides the update button; ticking it again shows it.
        Click(host, "check_name_select");
        EXPECT_FALSE(Find(host, "update_fw_and_ap")->IsVisible());
        Click(host, "check_name_select");
        EXPECT_TRUE(Find(host, "update_fw_and_ap")->IsEnabled());

        Click(host, "update_fw_and_ap");
        auto* tabs =
            static_cast<ui::CTabLayoutUI*>(Find(host, "get_update_tab_layout")->GetInterface("TabLayout"));
        EXPECT_EQ(tabs->GetCurSel(), 1);
        Click(host, "update_OK_btn");
        EXPECT_EQ(tabs->GetCurSel(), 0);
        ASSERT_TRUE(WaitFor([&] { return mouse->GetState() == Item::kInstalling; }, 5000))
            << mouse->GetState();
        EXPECT_EQ(Window().Status(), CSetWnd::kUpdating);

        const std::filesystem::path saved =
            home.Root() / "cache" / "Norvik 400100 Gaming Mouse" / "UpdateData" /
            app::CUpdateDownload::TargetFileName(mouse->GetName(), "mouse.bin");
        EXPECT_EQ(ReadFile(saved), kFirmware);
        EXPECT_FALSE((std::filesystem::status(saved).permissions() & std::filesystem::perms::owner_exec) !=
                     std::filesystem::perms::none);
        const std::string sha =
            QCryptographicHash::hash(kFirmware, QCryptographicHash::Sha256).toHex().toStdString();
        EXPECT_NE(mouse->GetFileText().find(saved.string()), std::string::npos);
        EXPECT_NE(mouse->GetFileText().find(sha), std::string::npos);
        ASSERT_TRUE(WaitFor([&] { return !ReadFile(opened).empty(); }, 5000));
        EXPECT_EQ(ReadFile(opened), saved.parent_path().string() + "\n");
        EXPECT_EQ(mouse->GetProgress(), 100);
        Render(host, "settings_window_updating.png");

        // The installation is in hand: closing is refused until the updater reports.
        ui::SendMessage(CSetWnd::OpenWindow(), ui::WM_CLOSE);
        ASSERT_NE(CSetWnd::OpenWindow(), nullptr);
        const unsigned relay = app::RegisteredMessages().settingsRelay;
        ui::SendMessage(CSetWnd::OpenWindow(), relay, 4, 60);
        EXPECT_EQ(mouse->GetProgress(), 60);
        ui::SendMessage(CSetWnd::OpenWindow(), relay, 1, 0);
        EXPECT_EQ(mouse->GetState(), Item::kUpToDate);
        EXPECT_EQ(mouse->GetOldVersion(), "V0104");
        EXPECT_FALSE(mouse->IsChecked());
        EXPECT_EQ(Window().Status(), CSetWnd::kLatest);
        Render(host, "settings_window_latest.png");
        ui::SendMessage(CSetWnd::OpenWindow(), ui::WM_CLOSE);
        EXPECT_EQ(CSetWnd::OpenWindow(), nullptr);
    });
    // Every control the window and its items look up is in their layouts.
    EXPECT_EQ(capture.Text().find("has no control named"), std::string::npos) << capture.Text();
}

TEST_F(SetWndTest, AFailedDownloadCanBeChosenAgainAndAStalledOneHoldsTheWindowOpen) {
    file = EFile::kMissing;
    Run([&](ui::CHostWidget& host) {
        ASSERT_TRUE(WaitForStatus(CSetWnd::kFound));
        Item* mouse = ItemAt(host, 0);
        Click(host, "update_fw_and_ap");
        Click(host, "update_OK_btn");
        ASSERT_TRUE(WaitFor([&] { return mouse->GetState() == Item::kFailed; }, 5000));
        EXPECT_TRUE(mouse->GetFileText().empty());
        EXPECT_TRUE(ReadFile(opened).empty());
        // The failed item stays chosen, so it can be downloaded again.
        EXPECT_TRUE(mouse->IsChecked());

        file = EFile::kStalled;
        ASSERT_TRUE(Find(host, "update_fw_and_ap")->IsVisible());
        Click(host, "update_fw_and_ap");
        Click(host, "update_OK_btn");
        ASSERT_TRUE(WaitFor([&] { return mouse->GetState() == Item::kDownloading; }, 5000));
        ui::SendMessage(CSetWnd::OpenWindow(), ui::WM_CLOSE);
        EXPECT_NE(CSetWnd::OpenWindow(), nullptr);
        EXPECT_EQ(Window().Status(), CSetWnd::kUpdating);
        // "closebtn" stops the download and closes at once.
    });
}

TEST_F(SetWndTest, ADownloadWhoseFolderCannotBeOpenedSaysSoAndKeepsItsPathAndSha) {
    // A desktop without xdg-open at all.
    std::filesystem::remove(home.Root() / "bin" / "xdg-open");
    setenv("PATH", (home.Root() / "bin").c_str(), 1);
    bool told = false;
    Run([&](ui::CHostWidget& host) {
        ASSERT_TRUE(WaitForStatus(CSetWnd::kFound));
        Item* mouse = ItemAt(host, 0);
        WhenShown(app::kMsgWndClassName, [&](ui::CHostWidget& message) {
            told = message.GetPaintManager()
                       ->FindControl("MessageText")
                       ->GetText()
                       .find("could not be opened") != std::string::npos;
            message.GetPaintManager()->FindControl("confirm_btn")->Activate();
        });
        Click(host, "update_fw_and_ap");
        Click(host, "update_OK_btn");
        ASSERT_TRUE(WaitFor([&] { return mouse->GetState() == Item::kFailed; }, 5000));
        EXPECT_NE(mouse->GetFileText().find("SHA-256: "), std::string::npos);
    });
    EXPECT_TRUE(told);
}

TEST_F(SetWndTest, TheStatusSaysWhenTheServiceCannotBeReachedOrIsStillAsked) {
    checkStalls = true;
    Run([&](ui::CHostWidget& host) {
        EXPECT_EQ(Window().Status(), CSetWnd::kChecking);
        EXPECT_TRUE(Find(host, "update_status_ring")->IsVisible());
        EXPECT_TRUE(ItemAt(host, 0)->IsPending());
        EXPECT_FALSE(Find(host, "update_fw_and_ap")->IsVisible());
        Render(host, "settings_window_checking.png");
    });
    CRefusedPort refused;
    setenv("NORVIK_UPDATE_URL", refused.Url("/api/").c_str(), 1);
    Run([&](ui::CHostWidget& host) {
        ASSERT_TRUE(WaitForStatus(CSetWnd::kNotReached));
        EXPECT_EQ(ItemAt(host, 0)->GetOldVersion(), "V0103");
        EXPECT_EQ(ItemAt(host, 0)->GetState(), Item::kUpToDate);
        EXPECT_FALSE(Find(host, "update_fw_and_ap")->IsVisible());
        EXPECT_TRUE(ItemAt(host, 0)->IsPending());  // no answer, so no "up to date" either
        EXPECT_EQ(Find(host, "Update_Status_text")->GetText(), "The update service could not be reached");
        Render(host, "settings_window_unreachable.png");
    });
}

TEST(UpdateDownloadTest, TargetNamesStayInTheFolder) {
    const struct {
        const char* display;
        const char* url;
        const char* name;
    } cases[] = {
        {"Gaming Mouse", "http://h/f/fw_0104.bin", "Gaming Mouse.bin"},
        {"Gaming Mouse", "http://h/f/fw.exe?sig=a/b.c", "Gaming Mouse.exe"},
        {"../../etc/passwd", "http://h/x", ".._.._etc_passwd"},
        {"..", "http://h/a.bin", "update.bin"},
        {"AP", "http://h/dir.d/", "AP"},
        {"AP", "http://h/a.b$c", "AP.b_c"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(app::CUpdateDownload::TargetFileName(c.display, c.url), c.name)
            << c.display << " " << c.url;
    }
}

}  // namespace

TEST_F(SetWndTest, TheStartAtLoginSwitchWritesAndRemovesTheAutostartEntry) {
    checkStalls = true;
    Run([&](ui::CHostWidget& host) {
        auto* check = static_cast<ui::CCheckBoxUI*>(Find(host, "autostart_check")->GetInterface("CheckBox"));
        ASSERT_NE(check, nullptr);
        EXPECT_FALSE(check->GetCheck());
        check->SetCheck(true);
        EXPECT_TRUE(platform::AutostartEnabled());
        Render(host, "settings_window_autostart.png");
        check->SetCheck(false);
        EXPECT_FALSE(std::filesystem::exists(platform::AutostartEntryPath()));
    });
    ASSERT_TRUE(platform::SetAutostart(true, "norvik"));
    Run([&](ui::CHostWidget& host) {
        EXPECT_TRUE(static_cast<ui::CCheckBoxUI*>(Find(host, "autostart_check")->GetInterface("CheckBox"))
                        ->GetCheck());
    });
}
