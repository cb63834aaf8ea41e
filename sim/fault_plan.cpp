#include "sim/fault_plan.h"

#include <algorithm>

void CFaultPlan::Add(FaultKind kind, unsigned passing) {
    std::lock_guard lock(mutex_);
    const Pending fault{kind, requests_ + passing};
    const auto later =
        std::upper_bound(pending_.begin(), pending_.end(), fault.request,
                         [](uint64_t request, const Pending& p) { return request < p.request; });
    pending_.insert(later, fault);
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
