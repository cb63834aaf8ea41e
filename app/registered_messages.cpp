#include "app/registered_messages.h"

#include "platform/debug.h"
#include "platform/ipc/message_registry.h"
#include "platform/ipc/shell_messages.h"

namespace app {
namespace {

SRegisteredMessages& Messages() {
    static SRegisteredMessages messages;
    return messages;
}

}  // namespace

std::uint32_t RegisterProductMessage() {
    Messages().productMessage = platform::ipc::RegisterWindowMessage(platform::ipc::kProductMessageName);
    platform::DebugFormat("软件标示：%u\n", Messages().productMessage);
    return Messages().productMessage;
}

void RegisterShellMessages() {
    const platform::ipc::SShellMessages shell = platform::ipc::RegisterShellMessages();
    Messages().settingsRelay = shell.settingsRelay;
    Messages().lightControlAnnouncement = shell.lightControlAnnouncement;
    Messages().lightControlCommand = shell.lightControlCommand;
}

const SRegisteredMessages& RegisteredMessages() {
    return Messages();
}

}  // namespace app
