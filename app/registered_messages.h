#pragma once

#include <cstdint>

// The registered window messages of the application, obtained once at start-up (the product
// message first, the three GUID-named messages after the skin is set up). Zero until registered.
//
// Thread: registered on the UI thread before the main window exists; read from any thread after.

namespace app {

struct SRegisteredMessages {
    std::uint32_t productMessage = 0;
    std::uint32_t settingsRelay = 0;
    std::uint32_t lightControlAnnouncement = 0;
    std::uint32_t lightControlCommand = 0;
};

// Registers the product message and writes "软件标示：%d" to the debug output.
std::uint32_t RegisterProductMessage();
// Registers the settings relay, light-control announcement and light-control command, in this order.
void RegisterShellMessages();
const SRegisteredMessages& RegisteredMessages();

}  // namespace app
