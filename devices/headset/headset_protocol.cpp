#include "devices/headset/headset_protocol.h"

#include <algorithm>

namespace {

constexpr size_t kMode = 1;
constexpr size_t kBrightness = 2;
constexpr size_t kSpeed = 3;
constexpr size_t kMultiColour = 5;
constexpr size_t kRed = 6;

uint8_t InvertSpeed(uint8_t speed) {
    return static_cast<uint8_t>(CHeadsetProtocol::kMaxSpeed - std::min(speed, CHeadsetProtocol::kMaxSpeed));
}

}  // namespace

int CHeadsetProtocol::ReadLightRecord() {
    if (!channel_.IsOpen()) {
        return channel_result::kNoReply;
    }
    std::array<uint8_t, 1> slot{};
    if (const int result = channel_.ReadMemory(0, slot); result != channel_result::kOk) {
        return result;
    }
    std::array<uint8_t, kSlotStride> bytes{};
    const int result = channel_.ReadMemory(static_cast<uint16_t>(kSlotStride * slot[0]), bytes);
    if (result != channel_result::kOk) {
        return result;
    }
    std::copy_n(bytes.begin(), kRecordSize, record_.begin());
    record_[kSpeed] = InvertSpeed(record_[kSpeed]);
    return result;
}

int CHeadsetProtocol::WriteLightRecord(int slot) {
    if (!channel_.IsOpen()) {
        return channel_result::kNoReply;
    }
    Record wire = record_;
    wire[kSpeed] = InvertSpeed(wire[kSpeed]);
    channel_.BeginTransfer();
    const int result = channel_.WriteMemory(static_cast<uint16_t>(slot * kWriteStride), wire);
    channel_.EndTransfer();
    return result;
}

int CHeadsetProtocol::ReadPowerStatus(PowerStatus& status) {
    if (!channel_.IsOpen()) {
        return channel_result::kNoReply;
    }
    PowerStatus bytes{};
    const int result = channel_.ReadRecord(kPowerSize, 0, bytes);
    if (result != channel_result::kOk) {
        return result;
    }
    bytes[3] = channel_.IsWireless() ? 1 : 0;
    status = bytes;
    return result;
}

LightInfo CHeadsetProtocol::Light() const {
    LightInfo light;
    light.selectItem = record_[kMode];
    light.light = record_[kBrightness];
    light.speed = record_[kSpeed];
    light.multiColor = record_[kMultiColour];
    light.red = record_[kRed];
    light.green = record_[kRed + 1];
    light.blue = record_[kRed + 2];
    return light;
}

void CHeadsetProtocol::SetLight(const LightInfo& light) {
    record_[kMode] = light.selectItem;
    record_[kBrightness] = light.light;
    record_[kSpeed] = light.speed;
    record_[kMultiColour] = light.multiColor;
    record_[kRed] = light.red;
    record_[kRed + 1] = light.green;
    record_[kRed + 2] = light.blue;
}
