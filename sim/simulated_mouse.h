#pragma once

#include "sim/command_emulator.h"
#include "sim/mouse_firmware.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// Interface 1 of an emulated mouse on the simulated bus: the firmware of CMouseFirmware behind
// the report descriptor of MouseInterface1Descriptor. Command requests (report id 4) go to the
// firmware and its reply comes back as an input report of the vendor collection; other output
// reports (the keyboard LEDs) are accepted and ignored.
//
// Tests and norvikctl reach the paths a real mouse takes:
// - PressDpiButton / PressProfileButton change a setting as the mouse's own buttons do and
//   announce it with consumer usage 0x0401 (a press and a release report on collection 3);
// - Faults() plays faults on chosen requests; SetReplyDelay makes every reply late;
// - SetOnline switches a wireless mouse off behind its receiver;
// - the accessors show what the firmware holds and which requests it received.
//
// Thread safety: every public operation from any thread. Late replies are delivered by the
// object's own thread, which ends when the object is destroyed.
class CSimulatedMouse : public CCommandEmulator {
public:
    explicit CSimulatedMouse(MouseModel model);
    ~CSimulatedMouse() override;

    Identity GetIdentity() const override;
    std::vector<uint8_t> ReportDescriptor() const override;
    Json::Value SaveState() const override;
    bool LoadState(const Json::Value& state) override;

    void PressDpiButton();
    // False when the profile does not exist or is the active one already.
    bool PressProfileButton(uint8_t profile);

    // Sends that many keyboard reports (presses and releases of one key), as a button assigned
    // to a key does; they reach every open handle of the interface.
    void TypeKeys(size_t reports);

    void SetReplyDelay(std::chrono::milliseconds delay);
    void SetOnline(bool online);

    const MouseModel& Model() const { return model_; }
    std::vector<uint8_t> Memory() const;
    std::vector<uint8_t> KeyTable() const;
    std::vector<uint8_t> MacroMemory() const;
    std::vector<uint8_t> ShootMemory() const;
    size_t LightFrameCount() const;
    // Requests the firmware itself refused (faults played on purpose are not counted).
    size_t Refusals() const;

private:
    struct Delivery {
        std::chrono::steady_clock::time_point due;
        std::vector<uint8_t> report;
    };

    std::optional<Report> HandleRequest(std::span<const uint8_t> request) override;
    bool ChangesState(uint8_t command) const override;
    void Deliver(std::vector<std::vector<uint8_t>> replies) override;
    void DeliveryLoop();
    void AnnounceChange();

    const MouseModel model_;
    CMouseFirmware firmware_;
    std::chrono::milliseconds delay_{0};

    std::mutex deliveryMutex_;
    std::condition_variable deliveryWake_;
    std::deque<Delivery> deliveries_;
    bool stopping_ = false;
    std::thread deliveryThread_;
};
