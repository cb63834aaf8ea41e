#include "devices/mouse/mouse_sensor.h"

#include <algorithm>
#include <cctype>
#include <climits>

CMouseSensor::CMouseSensor(uint16_t sensorId, uint8_t dpiStep, uint8_t highestPosition, uint8_t lowestDpi)
    : sensorId_(sensorId), dpiStep_(dpiStep), highestPosition_(highestPosition), lowestDpi_(lowestDpi) {}

CMouseSensor::CMouseSensor(const mousewire::InfoBlock& info)
    : CMouseSensor(info.SensorId(), info.dpiStep, info.highestPosition, info.lowestDpi) {}

int CMouseSensor::PositionToDpi(int position) const {
    switch (sensorId_) {
        case kSensor3389:
        case kSensor3360:
            return position * dpiStep_ + lowestDpi_;
        case kSensor3325:
            if (position <= kSplitPosition) {
                return position * dpiStep_ + lowestDpi_;
            }
            return dpiStep_ * 2 * (position - kSplitPosition) + kSplitDpi;
        default:
            return position;
    }
}

int CMouseSensor::DpiToPosition(int dpi) const {
    dpi = std::max(dpi, lowestDpi_);
    switch (sensorId_) {
        case kSensor3389:
        case kSensor3360:
            return dpiStep_ > 0 ? (dpi - lowestDpi_) / dpiStep_ : 0;
        case kSensor3325:
            if (dpiStep_ <= 0) {
                return 0;
            }
            if (dpi > kSplitDpi) {
                return (dpi - kSplitDpi) / (dpiStep_ * 2) + kSplitPosition;
            }
            // The inverse of the lower branch, which also cannot go below position 0 or cross
            // into the double-step range when the scale does not meet 5000 at position 48.
            return std::min((dpi - lowestDpi_) / dpiStep_, kSplitPosition);
        default:
            return dpi;
    }
}

int CMouseSensor::EntryToPosition(std::string_view entry) const {
    return DpiToPosition(ParseEntry(entry));
}

std::optional<int> CMouseSensor::SliderMaximum() const {
    switch (sensorId_) {
        case kSensor3389:
        case kSensor3360:
            return highestPosition_;
        case kSensor3327:
            return std::max(highestPosition_ - 2, 0);
        case kSensor3325:
            return std::max(highestPosition_ - 7, 0);
        default:
            return std::nullopt;
    }
}

std::optional<int> CMouseSensor::EntryMaximum() const {
    switch (sensorId_) {
        case kSensor3389:
            return 16000;
        case kSensor3327:
        case kSensor3360:
            return 12000;
        case kSensor3325:
            return 10000;
        default:
            return std::nullopt;
    }
}

int CMouseSensor::ParseEntry(std::string_view entry) {
    size_t index = 0;
    while (index < entry.size() && std::isspace(static_cast<unsigned char>(entry[index]))) {
        ++index;
    }
    bool negative = false;
    if (index < entry.size() && (entry[index] == '-' || entry[index] == '+')) {
        negative = entry[index] == '-';
        ++index;
    }
    long long value = 0;
    for (; index < entry.size() && std::isdigit(static_cast<unsigned char>(entry[index])); ++index) {
        value = std::min<long long>(value * 10 + (entry[index] - '0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
}
