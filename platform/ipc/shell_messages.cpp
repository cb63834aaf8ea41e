#include "platform/ipc/shell_messages.h"

#include "platform/ipc/message_registry.h"

namespace platform::ipc {

SShellMessages RegisterShellMessages() {
    SShellMessages messages;
    messages.settingsRelay = RegisterWindowMessage(kSettingsRelayMessageName);
    messages.lightControlAnnouncement = RegisterWindowMessage(kLightControlAnnouncementName);
    messages.lightControlCommand = RegisterWindowMessage(kLightControlCommandName);
    return messages;
}

}  // namespace platform::ipc
