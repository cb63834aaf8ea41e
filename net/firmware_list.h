#pragma once

#include "net/firmware_catalogue.h"
#include "net/firmware_version_source.h"

#include <string>
#include <string_view>
#include <vector>

// The working copy of the firmware catalogue, with the versions of this moment.
//
// Thread safety: an object belongs to one thread at a time.
class CFirmwareList {
public:
    // A copy of the catalogue with every version 0.
    CFirmwareList();

    // Device rows take the source's versions, the program row takes programVersion.
    void Refresh(const IFirmwareVersionSource& source, int programVersion = ProgramVersion());

    const std::vector<FirmwareRow>& Rows() const { return rows_; }

    // "NULL" for version 0, else vendor_kind_model_name_sub, nothing escaped.
    static std::string ApplicationKey(const FirmwareRow& row);

    // The dotted version with every "." removed, read as a decimal number ("1.0.3" gives 103);
    // 0 when that is not a number.
    static int VersionNumber(std::string_view dotted);

    // This build's version, dotted ("1.0.0") and as a number.
    static std::string ProgramVersionText();
    static int ProgramVersion();

private:
    std::vector<FirmwareRow> rows_;
};
