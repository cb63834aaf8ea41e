#pragma once

#include "device/device_discovery.h"
#include "ui/toolkit/ui_defs.h"

namespace app {

// CDiscoveryRelay: carries discovery's calls from its thread to the main window as the messages
// 0x0C12 (arrived) and 0x0C13 (removed), wParam = slot index, lParam = the slot row. They are
// sent, not posted: the pass waits until the window has bound or released the device, and the
// row stays valid for that long. After the first pass it posts the product message once, which
// brings the window to the front.
//
// Thread: discovery's thread. A window that is gone or going answers at once, so a pass never
// waits for a shut-down.
class CDiscoveryRelay : public CDiscoveryListener {
public:
    void SetWindow(ui::HWND window) { window_ = window; }

    void InterfaceArrived(int slot, const InterfaceSlot& row) override;
    void InterfaceRemoved(int slot, const InterfaceSlot& row) override;
    void FirstPassDone() override;

private:
    ui::HWND window_ = nullptr;
};

}  // namespace app
