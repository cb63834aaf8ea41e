#include "sim/simulated_mouse.h"

#include "device/command_report.h"
#include "sim/mouse_descriptor.h"

#include <algorithm>

CSimulatedMouse::CSimulatedMouse(MouseModel model)
    : model_(std::move(model)), firmware_(model_), deliveryThread_([this] { DeliveryLoop(); }) {}

CSimulatedMouse::~CSimulatedMouse() {
    {
        std::lock_guard lock(deliveryMutex_);
        stopping_ = true;
    }
    deliveryWake_.notify_all();
    deliveryThread_.join();
}

CSimDevice::Identity CSimulatedMouse::GetIdentity() const {
    Identity identity;
    identity.vendor_id = model_.vendorId;
    identity.product_id = model_.productId;
    identity.version = model_.firmwareVersion;
    identity.interface_number = 1;
    return identity;
}

std::vector<uint8_t> CSimulatedMouse::ReportDescriptor() const {
    return MouseInterface1Descriptor();
}

std::optional<CSimulatedMouse::Report> CSimulatedMouse::HandleRequest(std::span<const uint8_t> request) {
    return firmware_.HandleRequest(request);
}

bool CSimulatedMouse::ChangesState(uint8_t command) const {
    return command == command_code::kWriteMemory || command == command_code::kWriteKeyTable ||
           command == command_code::kWriteMacroBlock || command == command_code::kWriteShootBlock;
}

void CSimulatedMouse::Deliver(std::vector<std::vector<uint8_t>> replies) {
    std::chrono::milliseconds delay;
    {
        std::lock_guard lock(mutex_);
        delay = delay_;
    }
    std::unique_lock lock(deliveryMutex_);
    // A reply never overtakes a late one that is still on its way.
    if (delay.count() == 0 && deliveries_.empty()) {
        lock.unlock();
        for (std::vector<uint8_t>& reply : replies) {
            SendInputReport(std::move(reply));
        }
        return;
    }
    auto due = std::chrono::steady_clock::now() + delay;
    if (!deliveries_.empty()) {
        due = std::max(due, deliveries_.back().due);
    }
    for (std::vector<uint8_t>& reply : replies) {
        deliveries_.push_back({due, std::move(reply)});
    }
    lock.unlock();
    deliveryWake_.notify_all();
}

void CSimulatedMouse::DeliveryLoop() {
    std::unique_lock lock(deliveryMutex_);
    while (!stopping_) {
        if (deliveries_.empty()) {
            deliveryWake_.wait(lock);
            continue;
        }
        if (std::chrono::steady_clock::now() < deliveries_.front().due) {
            deliveryWake_.wait_until(lock, deliveries_.front().due);
            continue;
        }
        std::vector<uint8_t> report = std::move(deliveries_.front().report);
        deliveries_.pop_front();
        lock.unlock();
        SendInputReport(std::move(report));
        lock.lock();
    }
}

Json::Value CSimulatedMouse::SaveState() const {
    std::lock_guard lock(mutex_);
    return firmware_.SaveState();
}

bool CSimulatedMouse::LoadState(const Json::Value& state) {
    if (!state.isObject()) {
        return false;
    }
    std::lock_guard lock(mutex_);
    firmware_.LoadState(state);
    return true;
}

void CSimulatedMouse::AnnounceChange() {
    SendUsage(kSettingsChangedUsage);
    SendUsage(0x0000);
    NotifyStateChanged();
}

void CSimulatedMouse::PressDpiButton() {
    {
        std::lock_guard lock(mutex_);
        firmware_.CycleDpiStage();
    }
    AnnounceChange();
}

bool CSimulatedMouse::PressProfileButton(uint8_t profile) {
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        changed = firmware_.SelectProfile(profile);
    }
    if (changed) {
        AnnounceChange();
    }
    return changed;
}

void CSimulatedMouse::TypeKeys(size_t reports) {
    constexpr uint8_t kKeyboardReportId = 0x01;
    constexpr uint8_t kKeyA = 0x04;
    for (size_t report = 0; report < reports; ++report) {
        const uint8_t key = report % 2 == 0 ? kKeyA : 0x00;
        SendInputReport({kKeyboardReportId, 0x00, 0x00, key, 0x00, 0x00, 0x00, 0x00, 0x00});
    }
}

void CSimulatedMouse::SetReplyDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
}

void CSimulatedMouse::SetOnline(bool online) {
    std::lock_guard lock(mutex_);
    firmware_.SetOnline(online);
}

std::vector<uint8_t> CSimulatedMouse::Memory() const {
    std::lock_guard lock(mutex_);
    return firmware_.Memory();
}

std::vector<uint8_t> CSimulatedMouse::KeyTable() const {
    std::lock_guard lock(mutex_);
    return firmware_.KeyTable();
}

std::vector<uint8_t> CSimulatedMouse::MacroMemory() const {
    std::lock_guard lock(mutex_);
    return firmware_.MacroMemory();
}

std::vector<uint8_t> CSimulatedMouse::ShootMemory() const {
    std::lock_guard lock(mutex_);
    return firmware_.ShootMemory();
}

size_t CSimulatedMouse::LightFrameCount() const {
    std::lock_guard lock(mutex_);
    return firmware_.LightFrameCount();
}

size_t CSimulatedMouse::Refusals() const {
    std::lock_guard lock(mutex_);
    return firmware_.Refusals();
}
