#pragma once

#include <array>
#include <string>

// One row of the firmware catalogue: a device page's firmware, or the program itself.
struct FirmwareRow {
    int kind = 0;     // 1 or 2 for firmware (versions sent and compared in hexadecimal), 0 for the program
    int sub = 0;      // 0 or 1, part of the application key
    int version = 0;  // filled by CFirmwareList::Refresh; 0 means nothing to check
    std::string vendor;
    std::string model;  // firmware project code; "ALL" for the program
    std::string name;
    std::string displayName;  // shown in the settings window's list
    std::string versionText;
};

// The constant catalogue the update service knows: one row per device page in device bar order
// ("mouse", "keyboard", "MousePad", "HD", "mouse3389") and a last row for the program.
//
// Thread safety: any thread (constant data).
class CFirmwareCatalogue {
public:
    static constexpr size_t kDeviceRowCount = 5;
    static constexpr size_t kRowCount = kDeviceRowCount + 1;
    static constexpr size_t kProgramRow = kDeviceRowCount;
    // The device names of the pages, as the device descriptor table names them.
    static constexpr std::array<const char*, kDeviceRowCount> kPageNames{"mouse", "keyboard", "MousePad",
                                                                         "HD", "mouse3389"};

    static const std::array<FirmwareRow, kRowCount>& Rows();
};
