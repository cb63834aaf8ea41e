#pragma once

#include "ui/controls/observer_impl.h"
#include "ui/controls/receiver_impl.h"
#include "ui/controls/skin_changed_param.h"

// The process-wide skin-change observer: created on the first call, the same object afterwards,
// kept for the life of the process. The skin chooser publishes on it; the main window receives.
//
// Thread: the UI thread only.

using SkinChangeObserver = ObserverImpl<int, SkinChangedParam>;
using SkinChangeReceiver = ReceiverImpl<int, SkinChangedParam>;

inline SkinChangeObserver& GetSkinChangeObserver() {
    static SkinChangeObserver observer;
    return observer;
}
