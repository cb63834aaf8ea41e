#include "device/device_discovery.h"

#include "platform/debug.h"

#include <algorithm>

CDeviceDiscovery::CDeviceDiscovery(CDiscoveryListener& listener,
                                   std::shared_ptr<platform::hid::CHidBackend> backend)
    : listener_(listener),
      backend_(std::move(backend)),
      enumerator_(backend_),
      probe_(backend_),
      slots_(SupportedInterfaces().begin(), SupportedInterfaces().end()) {}

CDeviceDiscovery::~CDeviceDiscovery() {
    Stop();
}

std::vector<InterfaceSlot> CDeviceDiscovery::Slots() const {
    std::lock_guard lock(slotsMutex_);
    return slots_;
}

bool CDeviceDiscovery::RunPass() {
    // Reading the count also clears the backend's change signal, so it is read on every pass.
    const uint64_t changeCount = backend_->ChangeCount();
    const bool anyFree =
        std::any_of(slots_.begin(), slots_.end(), [](const InterfaceSlot& s) { return s.IsFree(); });
    if (anyFree && (!enumerated_ || retry_ || changeCount != changeCount_)) {
        changeCount_ = changeCount;
        if (!enumerator_.EnumerateInterfaces()) {
            return false;
        }
        enumerated_ = true;
        BindPresentInterfaces();
        enumerator_.ReleasePaths();
    }
    if (!firstPassDone_) {
        firstPassDone_ = true;
        listener_.FirstPassDone();
    }
    ProbeConnectedSlots();
    return true;
}

void CDeviceDiscovery::BindPresentInterfaces() {
    retry_ = false;
    while (std::optional<std::string> path = enumerator_.NextPath()) {
        if (path->empty()) {
            break;
        }
        if (PassesPreCheck(*path) && !ProbeAndBind(*path)) {
            retry_ = true;
        }
    }
}

bool CDeviceDiscovery::PassesPreCheck(const std::string& path) const {
    const uint16_t vendorId = VendorIdOfPath(path);
    const uint16_t productId = ProductIdOfPath(path);
    const uint16_t collection = CollectionOfPath(path);
    const uint16_t interfaceNumber = InterfaceOfPath(path);
    const auto sameFour = [&](const InterfaceSlot& s) {
        return s.vendorId == vendorId && s.productId == productId && s.collection == collection &&
               s.interfaceNumber == interfaceNumber;
    };
    const auto& rows = SupportedInterfaces();
    if (std::none_of(rows.begin(), rows.end(), sameFour)) {
        return false;
    }
    return std::any_of(slots_.begin(), slots_.end(),
                       [&](const InterfaceSlot& s) { return sameFour(s) && s.IsFree(); });
}

bool CDeviceDiscovery::ProbeAndBind(const std::string& path) {
    if (!probe_.Open(path, true, false, true, false)) {
        return false;
    }
    InterfaceSlot probed;
    probed.vendorId = probe_.VendorId();
    probed.productId = probe_.ProductId();
    probed.usagePage = probe_.UsagePage();
    probed.usage = probe_.Usage();
    probed.collection = CollectionOfPath(path);
    probed.interfaceNumber = InterfaceOfPath(path);
    // Real hardware names no kind: the first row with its ids is its row.
    const uint16_t namedKind = probe_.EmulatedKind();
    probe_.Close();

    const auto& rows = SupportedInterfaces();
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const InterfaceSlot& r) {
        return r.vendorId == probed.vendorId && r.productId == probed.productId &&
               r.collection == probed.collection && r.interfaceNumber == probed.interfaceNumber &&
               r.usagePage == probed.usagePage && r.usage == probed.usage &&
               (namedKind == 0 || r.kind == namedKind);
    });
    if (row == rows.end()) {
        return true;  // another collection of a known device; nothing to bind
    }
    probed.kind = row->kind;
    probed.subKind = row->subKind;

    int slot = -1;
    {
        std::lock_guard lock(slotsMutex_);
        for (size_t index = 0; index < slots_.size(); ++index) {
            if (slots_[index].SameInterface(probed) && slots_[index].IsFree()) {
                slots_[index].connected = 1;
                slots_[index].path = path;
                slot = static_cast<int>(index);
                break;
            }
        }
    }
    if (slot >= 0) {
        listener_.InterfaceArrived(slot, slots_[slot]);
    }
    return true;
}

void CDeviceDiscovery::ProbeConnectedSlots() {
    for (size_t index = 0; index < slots_.size(); ++index) {
        if (slots_[index].connected == 0 || backend_->Exists(slots_[index].path)) {
            continue;
        }
        InterfaceSlot removed;
        {
            std::lock_guard lock(slotsMutex_);
            removed = slots_[index];
            slots_[index].connected = 0;
            slots_[index].path.clear();
        }
        listener_.InterfaceRemoved(static_cast<int>(index), removed);
    }
}

void CDeviceDiscovery::Run(platform::CEvent& stop) {
    const int changeFd = backend_->ChangeFd();
    while (!stop.Wait(0)) {
        if (!RunPass()) {
            return;
        }
        std::vector<int> fds;
        if (changeFd >= 0) {
            fds.push_back(changeFd);
        }
        platform::CEvent* events[] = {&stop};
        platform::CEvent::WaitAny(events, kPassIntervalMs, fds);
    }
    platform::DebugOutput("抓取设备线程设定退出\n");
}

bool CDeviceDiscovery::Start() {
    return thread_.Start([this](platform::CEvent& stop) { Run(stop); });
}

void CDeviceDiscovery::Stop() {
    thread_.Stop();
}
