#include "app/application.h"

#include "app/control_factory_tables.h"
#include "app/main_wnd.h"
#include "app/product_identity.h"
#include "app/registered_messages.h"
#include "net/update_service.h"
#include "net/update_thread.h"
#include "platform/ipc/broadcast_bus.h"
#include "platform/ipc/shell_messages.h"
#include "platform/ipc/single_instance.h"
#include "platform/ipc/sleep_watch.h"
#include "platform/paths.h"
#include "platform/settings/settings_store.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/window_wnd.h"

#include <memory>

namespace app {

int CApplication::Run() {
    RegisterProductMessage();

    platform::ipc::CSingleInstance instance(platform::ipc::kSingleInstanceName);
    if (instance.AcquireOrRaise() == platform::ipc::CSingleInstance::ERole::kSecond) {
        return 0;
    }

    // The installer's step, done by the first start: the settings keep the language choice only
    // under a key that exists.
    CSettingsStore().CreateKey(kProductSettingsKey);

    ui::CPaintManagerUI::SetInstancePath(platform::ProgramFolder());
    ui::CPaintManagerUI::SetResourceType(1);
    ui::CPaintManagerUI::SetResourcePath(ui::CPaintManagerUI::GetInstancePath() + "skin/");
    ui::CResourceManager::GetInstance().LoadResource("res.xml");
    RegisterControlClasses();
    RegisterShellMessages();

    auto window = std::make_unique<CMainWnd>();
    platform::ipc::CBroadcastBus bus;
    window->SetBroadcaster([&bus](const std::string& name, std::uint64_t wParam, std::int64_t lParam) {
        bus.Broadcast(name, wParam, lParam);
    });
    window->SetUpdateService(
        std::make_unique<CUpdateThread>(*window, *window, CUpdateService::FromUserSettings()));
    // Created hidden at its final size and shown centred by "windowinit", so it never jumps.
    if (window->Create(nullptr, kProductName, kMainWndStyle & ~ui::WS_VISIBLE, 0, 0, 0, 1000, 640) ==
        nullptr) {
        return 0;
    }
    const ui::HWND hwnd = window->GetHWND();
    instance.SetMessageHandler([hwnd](std::uint64_t wParam, std::int64_t lParam) {
        ui::PostMessage(hwnd, RegisteredMessages().productMessage, wParam, lParam);
    });
    bus.Listen(platform::ipc::kSettingsRelayMessageName);
    bus.Listen(platform::ipc::kLightControlCommandName);
    bus.SetMessageHandler([hwnd](std::uint32_t message, std::uint64_t wParam, std::int64_t lParam) {
        ui::PostMessage(hwnd, message, wParam, lParam);
    });
    // logind's sleep signal stands in for the power broadcasts: 4 suspending, 18 resumed.
    platform::ipc::CSleepWatch sleep([hwnd](bool goingToSleep) {
        ui::PostMessage(hwnd, ui::WM_POWERBROADCAST, goingToSleep ? kPowerSuspend : kPowerResume);
    });
    window->CenterWindow();

    ui::CPaintManagerUI::MessageLoop();

    window.reset();
    ui::CResourceManager::GetInstance().Release();
    return 0;
}

}  // namespace app
