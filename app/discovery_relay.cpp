#include "app/discovery_relay.h"

#include "app/main_wnd.h"
#include "app/registered_messages.h"
#include "ui/toolkit/message_queue.h"

namespace app {
namespace {

ui::LPARAM RowParam(const InterfaceSlot& row) {
    return reinterpret_cast<ui::LPARAM>(&row);
}

}  // namespace

void CDiscoveryRelay::InterfaceArrived(int slot, const InterfaceSlot& row) {
    ui::SendMessage(window_, kMsgInterfaceArrived, static_cast<ui::WPARAM>(slot), RowParam(row));
}

void CDiscoveryRelay::InterfaceRemoved(int slot, const InterfaceSlot& row) {
    ui::SendMessage(window_, kMsgInterfaceRemoved, static_cast<ui::WPARAM>(slot), RowParam(row));
}

void CDiscoveryRelay::FirstPassDone() {
    const unsigned productMessage = RegisteredMessages().productMessage;
    if (productMessage != 0) {
        ui::PostMessage(window_, productMessage);
    }
}

}  // namespace app
