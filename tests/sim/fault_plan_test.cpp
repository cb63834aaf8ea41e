#include "sim/fault_plan.h"

#include <gtest/gtest.h>

namespace {

using Faults = std::vector<FaultKind>;

TEST(FaultPlan, FaultsFallOnTheirRequestInTheOrderAdded) {
    CFaultPlan plan;
    plan.Add(FaultKind::kUnplug, 3);
    plan.Add(FaultKind::kStrayReply, 1);
    plan.Add(FaultKind::kStrayReply, 1);

    EXPECT_EQ(plan.Take(), Faults{});
    EXPECT_EQ(plan.Take(), (Faults{FaultKind::kStrayReply, FaultKind::kStrayReply}));
    EXPECT_EQ(plan.Take(), Faults{});
    EXPECT_EQ(plan.Take(), Faults{FaultKind::kUnplug});
    EXPECT_EQ(plan.Take(), Faults{});
}

TEST(FaultPlan, CountsFromWhenTheFaultIsAdded) {
    CFaultPlan plan;
    plan.Take();
    plan.Take();
    plan.Add(FaultKind::kStatusRejected);
    EXPECT_EQ(plan.Take(), Faults{FaultKind::kStatusRejected});

    plan.Add(FaultKind::kStatusFailed, 5);
    plan.Clear();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(plan.Take(), Faults{});
    }
}

}  // namespace
