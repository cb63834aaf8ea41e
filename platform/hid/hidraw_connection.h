#pragma once

#include "platform/hid/hid_backend.h"

#include <vector>

// One open hidraw node, seen as one top-level collection: reads pass on only that collection's
// reports. Takes ownership of the descriptor. The CHidConnection contract applies; a node that
// reports ENODEV or a hang-up gives kClosed (the device left).
namespace platform::hid {

class CHidrawConnection : public CHidConnection {
public:
    CHidrawConnection(int fd, HidEntryInfo info);
    ~CHidrawConnection() override;

    const HidEntryInfo& Info() const override { return info_; }
    IoResult Read(uint8_t* buffer, size_t length, int timeout_ms, CEvent& abort,
                  size_t& transferred) override;
    IoResult Write(const uint8_t* buffer, size_t length, int timeout_ms, CEvent& abort,
                   size_t& transferred) override;
    void Shutdown() override { closed_.Set(); }

private:
    // Waits until the node takes a report, the abort or the shutdown is set, or the time runs out.
    IoResult WaitWritable(int timeout_ms, CEvent& abort);

    int fd_;
    HidEntryInfo info_;
    CEvent closed_{CEvent::Mode::kManualReset};
    std::vector<uint8_t> report_;  // one reader at a time, so one buffer
};

}  // namespace platform::hid
