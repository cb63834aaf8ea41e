#include "devices/keyboard/keyboard_protocol.h"

#include "device/record_transfer.h"
#include "macro/macro_list.h"
#include "platform/debug.h"

using namespace keyboardwire;

namespace {

// The first result that is not a success, so a sequence reports its first failure.
int Worst(int sofar, int result) {
    return sofar == channel_result::kOk ? result : sofar;
}

}  // namespace

CKeyboardProtocol::CKeyboardProtocol(CommandChannel& channel) : channel_(channel) {}

void CKeyboardProtocol::Forget() {
    keyTable_.fill(0);
    lightOrder_.fill(0);
    keyTableLength_ = 0;
    maps_ = EmptyMaps();
}

int CKeyboardProtocol::ReadDeviceInfo() {
    if (!channel_.IsOpen()) {
        return 0;
    }
    Forget();
    channel_.BeginTransfer();
    std::array<uint8_t, sizeof(InfoBlock)> raw{};
    const int infoResult = channel_.ReadInfo(raw);
    if (infoResult != channel_result::kOk) {
        channel_.EndTransfer();
        return infoResult;
    }
    info_ = DecodeInfoBlock(raw);
    const size_t tableBytes = info_.KeyTableBytes();
    if (tableBytes > kTableCapacity || !channel_.SetBlockSize(static_cast<uint16_t>(tableBytes))) {
        platform::DebugFormat("keyboard key table of %zu bytes exceeds the %zu-byte block\n", tableBytes,
                              kTableCapacity);
        channel_.EndTransfer();
        return 0;
    }
    std::array<uint8_t, kTableCapacity> table{};
    std::array<uint8_t, kTableCapacity> order{};
    int result = channel_.ReadKeyTable(table);
    if (result == channel_result::kOk) {
        result = channel_.ReadLightOrder(order);
    }
    channel_.EndTransfer();
    if (result != channel_result::kOk) {
        return result;
    }
    keyTable_ = table;
    lightOrder_ = order;
    keyTableLength_ = tableBytes;
    maps_ = BuildKeyMaps(KeyTable(), LightOrder());
    return channel_result::kOk;
}

void CKeyboardProtocol::MapAssignedKeys(const std::vector<KeyAssignment>& keys) {
    if (keyTableLength_ > 0) {
        maps_ = keyboardwire::MapAssignedKeys(KeyTable(), LightOrder(), keys);
    }
}

void CKeyboardProtocol::StoreLightInfo(CKeyboardProfiledata& profile, const LightInfo& light) {
    profile.SetLightInfo(light);
}

int CKeyboardProtocol::ReadActiveProfile(CKeyboardProfiledata& profile,
                                         std::array<uint8_t, kRecordSize>& out) {
    channel_.SetSynchronisedLighting(false);
    if (!channel_.IsOpen()) {
        return 0;
    }
    uint8_t slot = 0;
    std::array<uint8_t, kRecordSize> record{};
    const int result = record_transfer::ReadActiveRecord(channel_, kRecordSize, slot, record);
    if (result != channel_result::kOk) {
        return result;
    }
    LightInfo light = profile.GetLightInfo();
    KeyboardSystemStages stages = profile.GetSystemSettings();
    DecodeRecord(record, light, stages);
    StoreLightInfo(profile, light);
    profile.SetSystemSettings(stages);
    profile.Save();
    out = record;
    return channel_result::kOk;
}

int CKeyboardProtocol::WriteParameters(CKeyboardProfiledata& profile, int slot, uint8_t firstByte) {
    const auto bytes = EncodeRecord(profile.GetLightInfo(), profile.GetSystemSettings(), firstByte);
    if (!channel_.IsOpen()) {
        return 0;
    }
    return record_transfer::WriteRecord(channel_, static_cast<uint16_t>(slot * kRecordSize), bytes);
}

void CKeyboardProtocol::RefreshInfo() {
    std::array<uint8_t, sizeof(InfoBlock)> raw{};
    if (channel_.ReadInfo(raw) == channel_result::kOk) {
        info_ = DecodeInfoBlock(raw);
    }
}

int CKeyboardProtocol::WriteKeyTable(int page, const std::vector<KeyAssignment>& keys) {
    if (!channel_.IsOpen()) {
        return 0;
    }
    if (page != 0) {
        return channel_result::kBadPage;
    }
    if (keyTableLength_ == 0) {
        platform::DebugOutput("keyboard key table not read yet; nothing written\n");
        return 0;
    }
    RefreshInfo();
    const std::vector<uint8_t> table = PatchKeyTable(KeyTable(), maps_.keyCode, keys);
    int result = channel_.BeginTransfer();
    result = Worst(result, channel_.WriteKeyTable(page, table));
    return Worst(result, channel_.EndTransfer());
}

int CKeyboardProtocol::WriteMacros(const std::string& dataFolder) {
    if (channel_.IsOpen()) {
        RefreshInfo();
    }
    const std::optional<CMacroImage::Result> image = CMacroList(dataFolder).BuildImage(info_.MacroCapacity());
    if (!image) {
        return 0;
    }
    if (image->overflow > 0) {
        return image->overflow;
    }
    if (image->bytes.empty()) {
        return kMacroWriteFailed;
    }
    if (!channel_.IsOpen()) {
        return 0;
    }
    int result = channel_.BeginTransfer();
    result = Worst(result, channel_.WriteMacroBlock(image->bytes));
    result = Worst(result, channel_.EndTransfer());
    return result == channel_result::kOk ? 0 : kMacroWriteFailed;
}
