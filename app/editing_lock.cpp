#include "app/editing_lock.h"

CEditingLock::CEditingLock(Switch barEnabled, Switch panelBusy)
    : barEnabled_(std::move(barEnabled)), panelBusy_(std::move(panelBusy)) {}

void CEditingLock::Take(bool withBar) {
    notLocked_ = false;
    if (withBar && barEnabled_)
        barEnabled_(false);
    if (panelBusy_)
        panelBusy_(true);
}

void CEditingLock::Release(bool withBar) {
    notLocked_ = true;
    if (withBar && barEnabled_)
        barEnabled_(true);
    if (panelBusy_)
        panelBusy_(false);
}
