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

// The plan's text form: faults fall where KIND@N says, and a plan with any bad entry adds nothing.
TEST(FaultPlan, TextPlansAddTheirFaultsOrNothing) {
    struct Case {
        const char* text;
        bool valid;
        std::vector<Faults> requests;
    };
    const std::vector<Case> cases = {
        {"unplug@2", true, {{}, {}, {FaultKind::kUnplug}, {}}},
        {"noreply@0,wrongecho@1", true, {{FaultKind::kNoReply}, {FaultKind::kWrongEcho}, {}}},
        {"stray@1,rejected@1,failed@0",
         true,
         {{FaultKind::kStatusFailed}, {FaultKind::kStrayReply, FaultKind::kStatusRejected}}},
        {"none", true, {{}, {}}},
        {"unplug", false, {{}, {}}},
        {"noreply@2,jam@1", false, {{}, {}, {}}},
        {"unplug@-1", false, {{}}},
        {"unplug@2x", false, {{}, {}, {}}},
        {"", false, {{}}},
        {"unplug@1,", false, {{}, {}}},
    };
    for (const Case& c : cases) {
        CFaultPlan plan;
        std::string error;
        EXPECT_EQ(plan.AddFromText(c.text, &error), c.valid) << c.text;
        EXPECT_EQ(error.empty(), c.valid) << c.text;
        for (const Faults& expected : c.requests) {
            EXPECT_EQ(plan.Take(), expected) << c.text;
        }
    }
}

}  // namespace
