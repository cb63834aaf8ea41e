#include "sim/fault_plan.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <utility>

namespace {

constexpr std::array<std::pair<std::string_view, FaultKind>, 6> kKindNames{{
    {"unplug", FaultKind::kUnplug},
    {"noreply", FaultKind::kNoReply},
    {"wrongecho", FaultKind::kWrongEcho},
    {"stray", FaultKind::kStrayReply},
    {"rejected", FaultKind::kStatusRejected},
    {"failed", FaultKind::kStatusFailed},
}};

struct PlannedFault {
    FaultKind kind;
    unsigned passing;
};

std::optional<PlannedFault> ParseEntry(std::string_view entry) {
    const size_t at = entry.find('@');
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view name = entry.substr(0, at);
    const std::string_view count = entry.substr(at + 1);
    const auto kind = std::find_if(kKindNames.begin(), kKindNames.end(),
                                   [name](const auto& known) { return known.first == name; });
    unsigned passing = 0;
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), passing);
    if (kind == kKindNames.end() || count.empty() || error != std::errc() ||
        end != count.data() + count.size()) {
        return std::nullopt;
    }
    return PlannedFault{kind->second, passing};
}

}  // namespace

void CFaultPlan::Add(FaultKind kind, unsigned passing) {
    std::lock_guard lock(mutex_);
    const Pending fault{kind, requests_ + passing};
    const auto later =
        std::upper_bound(pending_.begin(), pending_.end(), fault.request,
                         [](uint64_t request, const Pending& p) { return request < p.request; });
    pending_.insert(later, fault);
}

bool CFaultPlan::AddFromText(std::string_view text, std::string* error) {
    if (text == "none") {
        return true;
    }
    std::vector<PlannedFault> faults;
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view entry = text.substr(0, comma);
        const std::optional<PlannedFault> fault = ParseEntry(entry);
        if (!fault) {
            if (error != nullptr) {
                *error = "\"" + std::string(entry) +
                         "\" is not KIND@N (KIND: unplug, noreply, wrongecho, stray, rejected, failed)";
            }
            return false;
        }
        faults.push_back(*fault);
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    for (const PlannedFault& fault : faults) {
        Add(fault.kind, fault.passing);
    }
    return true;
}

void CFaultPlan::Clear() {
    std::lock_guard lock(mutex_);
    pending_.clear();
}

std::vector<FaultKind> CFaultPlan::Take() {
    std::lock_guard lock(mutex_);
    const uint64_t request = requests_++;
    std::vector<FaultKind> due;
    while (!pending_.empty() && pending_.front().request <= request) {
        due.push_back(pending_.front().kind);
        pending_.pop_front();
    }
    return due;
}
