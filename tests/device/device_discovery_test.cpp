#include "device/device_discovery.h"
#include "tests/device/fake_hid_backend.h"

#include <gtest/gtest.h>

namespace {

constexpr uint16_t kVendor = 0x320F;

// Records what discovery reports.
class CRecordingListener : public CDiscoveryListener {
public:
    void InterfaceArrived(int slot, const InterfaceSlot&) override { arrived.push_back(slot); }
    void InterfaceRemoved(int slot, const InterfaceSlot&) override { removed.push_back(slot); }
    void FirstPassDone() override { ++firstPasses; }

    std::vector<int> arrived;
    std::vector<int> removed;
    int firstPasses = 0;
};

}  // namespace

TEST(DeviceDiscovery, PathMatchingARowButReportingAnotherUsagePageIsNotBound) {
    auto bus = std::make_shared<CFakeHidBackend>();
    bus->Add(CFakeHidBackend::Entry(kVendor, 0x21FD, 1, 4, 0x0C, 0x01));  // text of the command collection
    CRecordingListener listener;
    CDeviceDiscovery discovery(listener, bus);

    ASSERT_TRUE(discovery.RunPass());
    EXPECT_TRUE(listener.arrived.empty());
    EXPECT_EQ(listener.firstPasses, 1);
}

TEST(DeviceDiscovery, IdlePassesEnumerateOnlyAfterABusChangeOrAFailedProbe) {
    auto bus = std::make_shared<CFakeHidBackend>();
    bus->Add(CFakeHidBackend::Entry(0x1234, 0x0001, 0, 0, 0x01, 0x02));  // a stranger
    CRecordingListener listener;
    CDeviceDiscovery discovery(listener, bus);

    for (int pass = 0; pass < 5; ++pass) {
        ASSERT_TRUE(discovery.RunPass());
    }
    EXPECT_EQ(bus->Enumerations(), 1);
    EXPECT_EQ(bus->Opens(), 0);  // the pre-check turned the stranger away
    EXPECT_EQ(listener.firstPasses, 1);

    bus->SetRefuseOpen(true);
    bus->Add(CFakeHidBackend::Entry(kVendor, 0x21FD, 1, 4, 0xFF1C, 0x92));
    ASSERT_TRUE(discovery.RunPass());
    ASSERT_TRUE(discovery.RunPass());  // the probe failed, so the next pass looks again
    EXPECT_EQ(bus->Enumerations(), 3);
    EXPECT_TRUE(listener.arrived.empty());

    bus->SetRefuseOpen(false);
    ASSERT_TRUE(discovery.RunPass());
    EXPECT_EQ(listener.arrived, std::vector<int>{4});
    ASSERT_TRUE(discovery.RunPass());
    EXPECT_EQ(bus->Enumerations(), 4);

    bus->RemoveAll();
    ASSERT_TRUE(discovery.RunPass());
    EXPECT_EQ(listener.removed, std::vector<int>{4});
    EXPECT_TRUE(discovery.Slots()[4].IsFree());
}
