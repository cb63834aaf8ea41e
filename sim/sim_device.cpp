#include "sim/sim_device.h"

#include <utility>

void CSimDevice::Attach(Link link) {
    std::lock_guard lock(link_mutex_);
    link_ = std::move(link);
}

void CSimDevice::Detach() {
    std::lock_guard lock(link_mutex_);
    link_ = Link{};
}

CSimDevice::Link CSimDevice::CurrentLink() const {
    std::lock_guard lock(link_mutex_);
    return link_;
}

void CSimDevice::SendInputReport(std::vector<uint8_t> report) {
    Link link = CurrentLink();
    if (link.send_input) {
        link.send_input(std::move(report));
    }
}

void CSimDevice::NotifyStateChanged() {
    Link link = CurrentLink();
    if (link.state_changed) {
        link.state_changed();
    }
}

void CSimDevice::RequestUnplug() {
    Link link = CurrentLink();
    if (link.unplug) {
        link.unplug();
    }
}
