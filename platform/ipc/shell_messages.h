#pragma once

#include <cstdint>

// The names of the program's inter-process messages and of its single-instance lock.
//
// The product message brings the running copy to the front; a second copy sends it with
// wParam 0 and lParam 1 (through CSingleInstance). The three GUID-named messages travel between
// programs through CBroadcastBus:
//   settings relay            received; passed on unchanged to the settings window while it is open
//   light-control announcement broadcast by this program: wParam 1, lParam 1 (drives the lighting) or 0
//   light-control command      received: wParam 1 with lParam 0 (release) or 1 (take again);
//                              the main window ignores any other wParam
//
// Thread safety: the names are constants; RegisterShellMessages may run on any thread.

namespace platform::ipc {

inline constexpr const char kProductMessageName[] = "Norvik 400100 Gaming Mouse_001";
inline constexpr const char kSingleInstanceName[] = "Norvik 400100 Gaming Mouse_QUORL";
inline constexpr const char kSettingsRelayMessageName[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}";
inline constexpr const char kLightControlAnnouncementName[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBF16}";
inline constexpr const char kLightControlCommandName[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBF17}";

inline constexpr std::uint64_t kProductMessageWParam = 0;
inline constexpr std::int64_t kProductMessageLParam = 1;
inline constexpr std::uint64_t kLightControlWParam = 1;

// The numbers of the three GUID-named messages, registered in start-up order.
struct SShellMessages {
    std::uint32_t settingsRelay = 0;
    std::uint32_t lightControlAnnouncement = 0;
    std::uint32_t lightControlCommand = 0;
};

// Registers the settings relay, light-control announcement and light-control command messages,
// in this order.
SShellMessages RegisterShellMessages();

}  // namespace platform::ipc
