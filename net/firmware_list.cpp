#include "net/firmware_list.h"

#include <charconv>
#include <climits>

#ifndef NORVIK_PROGRAM_VERSION
#error "the build names the program's version"
#endif

CFirmwareList::CFirmwareList()
    : rows_(CFirmwareCatalogue::Rows().begin(), CFirmwareCatalogue::Rows().end()) {}

void CFirmwareList::Refresh(const IFirmwareVersionSource& source, int programVersion) {
    for (size_t page = 0; page < CFirmwareCatalogue::kDeviceRowCount; ++page) {
        rows_[page].version = source.FirmwareVersion(page);
    }
    rows_[CFirmwareCatalogue::kProgramRow].version = programVersion;
}

std::string CFirmwareList::ApplicationKey(const FirmwareRow& row) {
    if (row.version == 0) {
        return "NULL";
    }
    return row.vendor + "_" + std::to_string(row.kind) + "_" + row.model + "_" + row.name + "_" +
           std::to_string(row.sub);
}

int CFirmwareList::VersionNumber(std::string_view dotted) {
    std::string digits;
    for (const char c : dotted) {
        if (c != '.') {
            digits += c;
        }
    }
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return 0;
    }
    return number;
}

std::string CFirmwareList::ProgramVersionText() {
    return NORVIK_PROGRAM_VERSION;
}

int CFirmwareList::ProgramVersion() {
    return VersionNumber(NORVIK_PROGRAM_VERSION);
}
