#include "devices/mouse/mouse_protocol.h"

#include "macro/macro_file.h"
#include "macro/macro_image.h"
#include "macro/macro_list.h"
#include "platform/debug.h"

#include <algorithm>

using namespace mousewire;

namespace {

// The first result that is not a success, so a sequence reports its first
// failure.
int Worst(int sofar, int result) {
    return sofar == channel_result::kOk ? result : sofar;
}

}  // namespace

CMouseProtocol::CMouseProtocol(CommandChannel& channel) : channel_(channel) {
    ForgetKeyTable();
}

bool CMouseProtocol::Reachable() {
    if (!channel_.IsOpen()) {
        return false;
    }
    return !channel_.IsWireless() || channel_.IsOnline();
}

int CMouseProtocol::ReadDeviceInfo(CMouseProfiledata& profile) {
    if (!Reachable()) {
        return 0;
    }
    channel_.BeginTransfer();
    std::array<uint8_t, sizeof(InfoBlock)> raw{};
    const int infoResult = channel_.ReadInfo(raw);
    if (infoResult != channel_result::kOk) {
        channel_.EndTransfer();
        return infoResult;
    }
    info_ = DecodeInfoBlock(raw);
    profile.SetSensorId(info_.SensorId());
    // The table and map of an earlier connection no longer match this block size; until the
    // read below succeeds, WriteKeyTable must have nothing to send.
    ForgetKeyTable();

    const size_t tableBytes = info_.KeyTableBytes();
    if (tableBytes > kKeyTableCapacity || !channel_.SetBlockSize(static_cast<uint16_t>(tableBytes))) {
        platform::DebugFormat("mouse key table of %zu bytes exceeds the %zu-byte block\n", tableBytes,
                              kKeyTableCapacity);
        channel_.EndTransfer();
        return 0;
    }
    std::array<uint8_t, kKeyTableCapacity> table{};
    const int tableResult = channel_.ReadKeyTable(table);
    channel_.EndTransfer();
    if (tableResult != channel_result::kOk) {
        return tableResult;
    }
    keyTable_ = table;
    keyTableLength_ = tableBytes;
    buttonMap_ = BuildButtonMap(KeyTable());
    return channel_result::kOk;
}

int CMouseProtocol::ReadRecord(MouseParameters& out) {
    if (!Reachable()) {
        return 0;
    }
    uint8_t index = 0;
    int result = channel_.ReadMemory(0, std::span(&index, 1));
    if (result != channel_result::kOk) {
        return result;
    }
    std::array<uint8_t, kParameterReadLength> record{};
    result = channel_.ReadMemory(static_cast<uint16_t>(index * kProfileStride), record);
    if (result != channel_result::kOk) {
        return result;
    }
    record[0] = index;
    out = DecodeParameters(record);
    return channel_result::kOk;
}

int CMouseProtocol::ReadParameters(CMouseProfiledata& profile, MouseParameters& out) {
    channel_.SetSynchronisedLighting(false);
    const int result = ReadRecord(out);
    if (result != channel_result::kOk) {
        return result;
    }
    profile.SetActiveStage(out.activeStage);
    LightInfo light;
    light.selectItem = out.lightMode;
    light.light = out.lightBrightness;
    light.speed = out.lightSpeedIndex;
    light.fx = out.lightFx;
    light.multiColor = out.lightMulticolour;
    light.red = out.lightRed;
    light.green = out.lightGreen;
    light.blue = out.lightBlue;
    light.extraWord = out.lightByte8;
    profile.SetLightInfo(light);
    profile.Save();
    return channel_result::kOk;
}

MouseParameters CMouseProtocol::ParametersFromProfile(CMouseProfiledata& profile) {
    const std::vector<DpiStage> stages = profile.GetStages();
    const MouseSystemSettings settings = profile.GetSystemSettings();
    const LightInfo light = profile.GetLightInfo();

    MouseParameters parameters;
    parameters.lightMode = light.selectItem;
    parameters.lightBrightness = light.light;
    parameters.lightSpeedIndex = light.speed;
    parameters.lightFx = light.fx;
    parameters.lightMulticolour = light.multiColor;
    parameters.lightRed = light.red;
    parameters.lightGreen = light.green;
    parameters.lightBlue = light.blue;
    parameters.lightByte8 = static_cast<uint8_t>(light.extraWord);
    parameters.pollingRate = static_cast<uint8_t>(settings.pollingRate);
    parameters.activeStage = static_cast<uint8_t>(profile.GetActiveStage());
    for (size_t stage = 0; stage < kStageCount && stage < stages.size(); ++stage) {
        // Only the low byte of DPI X and the colour reach the mouse; the X/Y flag
        // and DPI Y stay on the host.
        parameters.stages[stage] = {stages[stage].dpiX[0], stages[stage].red, stages[stage].green,
                                    stages[stage].blue};
    }
    parameters.logoMode = static_cast<uint8_t>(settings.logoLight);
    parameters.ast = static_cast<uint8_t>(settings.ast);
    return parameters;
}

int CMouseProtocol::WriteParameters(CMouseProfiledata& profile, int profileIndex, uint8_t firstByte) {
    MouseParameters parameters = ParametersFromProfile(profile);
    parameters.activeProfile = firstByte;
    const auto bytes = EncodeParameters(parameters, channel_.IsWireless());

    return Transfer([&] {
               return channel_.WriteMemory(static_cast<uint16_t>(profileIndex * kProfileStride), bytes);
           })
        .value_or(0);
}

void CMouseProtocol::MapAssignedButtons(const std::vector<KeyAssignment>& keys) {
    std::vector<FunctionCode> assignments;
    for (const KeyAssignment& key : keys) {
        assignments.push_back({key.code1, key.code2, key.code3});
    }
    buttonMap_ = mousewire::MapAssignedButtons(KeyTable(), assignments);
}

int CMouseProtocol::WriteKeyTable(int page, const std::vector<KeyAssignment>& keys) {
    if (!Reachable()) {
        return 0;
    }
    if (keyTableLength_ == 0) {
        platform::DebugOutput("mouse key table not read yet; nothing written\n");
        return 0;
    }
    RefreshInfo();

    std::vector<FunctionCode> assignments;
    assignments.reserve(keys.size());
    for (const KeyAssignment& key : keys) {
        assignments.push_back({key.code1, key.code2, key.code3});
    }
    const std::vector<uint8_t> table = PatchKeyTable(KeyTable(), buttonMap_, assignments);

    return Transfer([&] { return channel_.WriteKeyTable(page, table); }).value_or(0);
}

std::optional<int> CMouseProtocol::Transfer(const std::function<int()>& write) {
    if (!Reachable()) {
        return std::nullopt;
    }
    int result = channel_.BeginTransfer();
    if (!Reachable()) {
        return std::nullopt;
    }
    result = Worst(result, write());
    if (!Reachable()) {
        return std::nullopt;
    }
    return Worst(result, channel_.EndTransfer());
}

int CMouseProtocol::SendImage(std::span<const uint8_t> image, bool shoot) {
    const std::optional<int> result =
        Transfer([&] { return shoot ? channel_.WriteShootBlock(image) : channel_.WriteMacroBlock(image); });
    return result == channel_result::kOk ? 0 : kMacroWriteFailed;
}

bool CMouseProtocol::ReadyForImage() {
    if (!channel_.IsOpen()) {
        return true;
    }
    if (channel_.IsWireless() && !channel_.IsOnline()) {
        return false;
    }
    RefreshInfo();
    return true;
}

void CMouseProtocol::ForgetKeyTable() {
    keyTable_.fill(0);
    keyTableLength_ = 0;
    buttonMap_.fill(kUnmappedButton);
}

void CMouseProtocol::RefreshInfo() {
    std::array<uint8_t, sizeof(InfoBlock)> raw{};
    if (channel_.ReadInfo(raw) == channel_result::kOk) {
        info_ = DecodeInfoBlock(raw);
    }
}

int CMouseProtocol::WriteMacros(const std::string& dataFolder) {
    if (!ReadyForImage()) {
        return 0;
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
    return channel_.IsOpen() ? SendImage(image->bytes, false) : 0;
}

int CMouseProtocol::WriteShootData(const std::string& dataFolder) {
    if (!ReadyForImage()) {
        return 0;
    }
    const std::vector<uint8_t> image = ShootImage(dataFolder);
    if (image.empty()) {
        return kMacroWriteFailed;
    }
    return channel_.IsOpen() ? SendImage(image, true) : 0;
}

std::vector<uint8_t> CMouseProtocol::ShootImage(const std::string& dataFolder) {
    std::vector<std::vector<MacroEvent>> guns;
    for (int gun = 0; gun < kShootEntryCount; ++gun) {
        guns.push_back(CMacroFile::Read(dataFolder + "ShootData_" + std::to_string(gun) + ".Shoot"));
    }
    return CMacroImage::Build(guns, std::nullopt).bytes;
}
