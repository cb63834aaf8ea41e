#include "cli/mouse_verifier.h"

#include "devices/mouse/mouse_wire_format.h"

#include <functional>

using namespace mousewire;

namespace {

struct Field {
    std::string name;
    std::function<int(const MouseParameters&)> value;
};

std::vector<Field> RecordFields() {
    std::vector<Field> fields{
        {"light mode", [](const MouseParameters& p) { return p.lightMode; }},
        {"light brightness", [](const MouseParameters& p) { return p.lightBrightness; }},
        {"light speed", [](const MouseParameters& p) { return p.lightSpeedIndex; }},
        {"light fx", [](const MouseParameters& p) { return p.lightFx; }},
        {"light multicolour", [](const MouseParameters& p) { return p.lightMulticolour; }},
        {"light red", [](const MouseParameters& p) { return p.lightRed; }},
        {"light green", [](const MouseParameters& p) { return p.lightGreen; }},
        {"light blue", [](const MouseParameters& p) { return p.lightBlue; }},
        {"light byte 8", [](const MouseParameters& p) { return p.lightByte8; }},
        {"polling rate", [](const MouseParameters& p) { return p.pollingRate; }},
        {"active stage", [](const MouseParameters& p) { return p.activeStage; }},
        {"logo mode", [](const MouseParameters& p) { return p.logoMode; }},
        {"ast", [](const MouseParameters& p) { return p.ast; }},
    };
    for (size_t stage = 0; stage < kStageCount; ++stage) {
        const std::string name = "stage " + std::to_string(stage + 1);
        fields.push_back(
            {name + " position", [stage](const MouseParameters& p) { return p.stages[stage].position; }});
        fields.push_back({name + " colour", [stage](const MouseParameters& p) {
                              const StageParameters& s = p.stages[stage];
                              return s.red << 16 | s.green << 8 | s.blue;
                          }});
    }
    return fields;
}

// What the mouse should hold after WriteParameters: the record it was sent, read the way the
// mouse's own record is read, so that both pass the same decoding.
MouseParameters Written(CMouseProfiledata& profile, uint8_t activeProfile, bool wireless) {
    MouseParameters sent = CMouseProtocol::ParametersFromProfile(profile);
    sent.activeProfile = activeProfile;
    const auto bytes = EncodeParameters(sent, wireless);
    return DecodeParameters(
        std::span<const uint8_t, kParameterReadLength>(bytes.data(), kParameterReadLength));
}

}  // namespace

std::vector<std::string> CMouseVerifier::CheckParameters() {
    MouseParameters held;
    if (protocol_.ReadRecord(held) != channel_result::kOk) {
        return {"the parameter record could not be read back"};
    }
    const MouseParameters written = Written(profile_, held.activeProfile, protocol_.Channel().IsWireless());
    std::vector<std::string> differing;
    for (const Field& field : RecordFields()) {
        if (field.value(written) != field.value(held)) {
            differing.push_back(field.name);
        }
    }
    return differing;
}

std::vector<std::string> CMouseVerifier::CheckKeyTable() {
    std::vector<FunctionCode> assignments;
    for (const KeyAssignment& key : profile_.GetKeyList()) {
        assignments.push_back({key.code1, key.code2, key.code3});
    }
    const std::vector<uint8_t> expected =
        PatchKeyTable(protocol_.KeyTable(), protocol_.ButtonMap(), assignments);
    // A second reader, so that the table and button map read at connection stay as they were.
    CMouseProtocol reader(protocol_.Channel());
    CMouseProfiledata scratch;
    if (reader.ReadDeviceInfo(scratch) != channel_result::kOk ||
        reader.KeyTable().size() != expected.size()) {
        return {"the key table could not be read back"};
    }
    const std::span<const uint8_t> held = reader.KeyTable();
    std::vector<std::string> differing;
    std::vector<bool> named(expected.size() / 3, false);
    for (size_t button = 0; button < kHostButtonCount; ++button) {
        const uint8_t position = protocol_.ButtonMap()[button];
        if (position == kUnmappedButton || size_t{position} * 3 + 3 > expected.size()) {
            continue;
        }
        named[position] = true;
        if (!std::equal(held.begin() + position * 3, held.begin() + position * 3 + 3,
                        expected.begin() + position * 3)) {
            differing.push_back(std::string("key ") + HostButtons()[button].nameTextId + " (position " +
                                std::to_string(position) + ")");
        }
    }
    for (size_t position = 0; position < named.size(); ++position) {
        if (!named[position] && !std::equal(held.begin() + position * 3, held.begin() + position * 3 + 3,
                                            expected.begin() + position * 3)) {
            differing.push_back("key position " + std::to_string(position));
        }
    }
    return differing;
}
