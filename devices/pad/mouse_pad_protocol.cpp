#include "devices/pad/mouse_pad_protocol.h"

#include "device/record_transfer.h"
#include "platform/debug.h"

using namespace padwire;

CMousePadProtocol::CMousePadProtocol(CommandChannel& channel) : channel_(channel) {}

int CMousePadProtocol::ReadInfo() {
    if (!channel_.IsOpen()) {
        return 0;
    }
    hasRecord_ = false;
    channel_.BeginTransfer();
    std::array<uint8_t, CommandChannel::kInfoSize> info{};
    const int result = channel_.ReadInfo(info);
    channel_.EndTransfer();
    return result;
}

int CMousePadProtocol::ReadParameters(int& profileIndex) {
    channel_.SetSynchronisedLighting(false);
    if (!channel_.IsOpen()) {
        return 0;
    }
    uint8_t slot = 0;
    std::array<uint8_t, kMemoryRecordSize> bytes{};
    const int result = record_transfer::ReadActiveRecord(channel_, kMemoryRecordSize, slot, bytes);
    if (result != channel_result::kOk) {
        return result;
    }
    record_ = DecodeRecord(bytes);
    hasRecord_ = true;
    profileIndex = record_.activeProfile;
    return channel_result::kOk;
}

int CMousePadProtocol::WriteParameters(int profileIndex) {
    if (!channel_.IsOpen()) {
        return 0;
    }
    if (!hasRecord_) {
        platform::DebugOutput("mouse pad record not read yet; nothing written\n");
        return 0;
    }
    return record_transfer::WriteRecord(channel_, static_cast<uint16_t>(profileIndex * kMemoryRecordSize),
                                        EncodeRecord(record_));
}

void CMousePadProtocol::SetLight(const LightInfo& light) {
    TakeLight(record_, light);
}
