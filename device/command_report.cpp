#include "device/command_report.h"

uint16_t CommandChecksum(const uint8_t* report) {
    unsigned sum = 0;
    for (size_t i = kCommandCodeByte; i < kCommandReportSize; ++i) {
        sum += report[i];
    }
    return static_cast<uint16_t>(sum);
}

void SealCommandReport(uint8_t* report) {
    const uint16_t checksum = CommandChecksum(report);
    report[1] = static_cast<uint8_t>(checksum & 0xFF);
    report[2] = static_cast<uint8_t>(checksum >> 8);
}
