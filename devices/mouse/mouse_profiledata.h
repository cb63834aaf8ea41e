#pragma once

#include "profile/basic_profiledata.h"

#include <cstdint>
#include <string>
#include <vector>

// One DPI stage as the mouse code keeps it (9 bytes). The DPI fields hold slider positions.
struct DpiStage {
    uint8_t active = 0;      // byte 0: "StageActive"
    uint8_t separateXY = 0;  // byte 1: "StageXY"
    uint8_t dpiX[2] = {};    // bytes 2-3: "StageDPIX", little-endian
    uint8_t dpiY[2] = {};    // bytes 4-5: "StageDPIY", little-endian
    uint8_t red = 0;         // byte 6: "StageColorR"
    uint8_t green = 0;       // byte 7: "StageColorG"
    uint8_t blue = 0;        // byte 8: "StageColorB"

    uint16_t DpiX() const { return static_cast<uint16_t>(dpiX[0] | dpiX[1] << 8); }
    uint16_t DpiY() const { return static_cast<uint16_t>(dpiY[0] | dpiY[1] << 8); }
    void SetDpiX(uint16_t value);
    void SetDpiY(uint16_t value);

    bool operator==(const DpiStage&) const = default;
};
static_assert(sizeof(DpiStage) == 9);

// The mouse's system settings, nine unsigned 16-bit fields in this order (18 bytes).
struct MouseSystemSettings {
    uint16_t doubleClick = 0;       // "SystemStages"/"DoubleClickTime"
    uint16_t pointerSpeed = 0;      // "SystemStages"/"MouseSpeed"
    uint16_t pointerPrecision = 0;  // "SystemStages"/"PointerPrecision"
    uint16_t scrollByPage = 0;      // "SystemStages"/"ScorllPage"
    uint16_t scrollSpeed = 0;       // "SystemStages"/"WheelScorlllinse"
    uint16_t pollingRate = 0;       // "ReportStages"/"StageActive"
    uint16_t ast = 0;               // "SystemStages"/"ASTSelectItem"
    uint16_t msh = 0;               // "SystemStages"/"MSHSelectItem"
    uint16_t logoLight = 0;         // "SystemStages"/"LOGOSelectItem"

    bool operator==(const MouseSystemSettings&) const = default;
};
static_assert(sizeof(MouseSystemSettings) == 18);

// One element of "CorrectInfo". Kept as read; nothing sends or shows it.
struct MouseCorrection {
    uint8_t pixelThreshold = 0;  // "CorrectPixThresh"
    uint8_t minimumSquare = 0;   // "CorrectMinSq"
    uint8_t selected = 0;        // "CorrectSelect"
    std::string name;            // "CorrectName"

    bool operator==(const MouseCorrection&) const = default;
};

// The mouse's profile data: the base sections plus the DPI stages with the active stage, the
// system settings with the polling rate, and the read-only correction list.
//
// The sensor id chooses the stage array: "StageDPIs" for 0x3325 and 0x3389, "StageDPIs_3360"
// for 0x3360; for any other sensor the stages are neither read nor written.
//
// Contract: as CBasicProfiledata's. Setters change the device section in memory only; the
// caller saves. Readers never fail and store what they read. UI thread only.
class CMouseProfiledata : public CBasicProfiledata {
public:
    static constexpr uint16_t kDefaultSensorId = 0x3325;

    // The base's OpenActiveProfile, then reads the stages and the system settings.
    void OpenActiveProfile(const std::string& profilePath, const std::string& lightConfigPath,
                           const std::string& defaultProfilePath);

    // The stored list, its first entries replaced by the profile's stages and extended by any
    // further ones; unchanged when the profile has no "DPIStages". Also reads the active stage.
    std::vector<DpiStage> GetStages();
    // Stores the list and writes every entry into the sensor's stage array.
    void SetStages(const std::vector<DpiStage>& stages);

    int GetActiveStage() const { return activeStage_; }
    void SetActiveStage(int stage);

    // All zero when "SystemStages" is missing; polling rate 0 when "ReportStages" is missing.
    MouseSystemSettings GetSystemSettings();
    void SetSystemSettings(const MouseSystemSettings& settings);

    // "CorrectInfo", one record per element.
    std::vector<MouseCorrection> GetCorrections();

    void SetSensorId(uint16_t id) { sensorId_ = id; }
    uint16_t GetSensorId() const { return sensorId_; }

private:
    // The stage array key of the sensor, or nullptr when the sensor has none.
    const char* StageArrayKey() const;

    std::vector<DpiStage> stages_;
    int32_t activeStage_ = 0;
    MouseSystemSettings systemSettings_;
    std::vector<MouseCorrection> corrections_;
    uint16_t sensorId_ = kDefaultSensorId;
};
