#include "device/hid_device.h"

#include "sim/sim_hid_bus.h"
#include "tests/support/mouse_interface_descriptor.h"
#include "tests/support/scripted_sim_device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

using platform::hid::ReportType;

namespace {

void WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

TEST(HidPathTest, ParsersReadTheHexNumberAfterTheirMarkerInAnyCase) {
    struct Case {
        const char* path;
        uint16_t vid, pid, mi, col;
    } cases[] = {
        {R"(\\?\hid#vid_320f&pid_21fd&mi_01&col04#7&2a0d&0&0003#{4d1e55b2})", 0x320F, 0x21FD, 1, 4},
        {R"(\\?\HID#VID_320F&PID_2002&MI_01&COL04#x)", 0x320F, 0x2002, 1, 4},
        {"/dev/hidraw3#vid_320f&pid_21fd&mi_01#0003:320F:21FD.0005", 0x320F, 0x21FD, 1, 0},
        {"vid_320f&pid_", 0x320F, 0, 0, 0},
        {"no markers at all", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(VendorIdOfPath(c.path), c.vid);
        EXPECT_EQ(ProductIdOfPath(c.path), c.pid);
        EXPECT_EQ(InterfaceOfPath(c.path), c.mi);
        EXPECT_EQ(CollectionOfPath(c.path), c.col);
    }
}

class HidDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        bus_ = std::make_shared<CSimHidBus>();
        mouse_ = std::make_shared<CScriptedSimDevice>(CSimDevice::Identity{0x320F, 0x21FD, 0x0100, 1, "A1"},
                                                      kMouseInterfaceDescriptor);
        handle_ = bus_->Plug("mouse3389", mouse_);
        ASSERT_NE(handle_, 0u);
    }

    std::string PathOfCollection(uint16_t collection) {
        HidDevice lister(bus_);
        EXPECT_TRUE(lister.EnumerateInterfaces());
        while (auto path = lister.NextPath()) {
            if (CollectionOfPath(*path) == collection) {
                return *path;
            }
        }
        return {};
    }

    std::shared_ptr<CSimHidBus> bus_;
    std::shared_ptr<CScriptedSimDevice> mouse_;
    uint64_t handle_ = 0;
};

TEST_F(HidDeviceTest, EnumerationGrowsItsListAndKeepsEveryPath) {
    for (int i = 0; i < 4; ++i) {
        bus_->Plug("extra", std::make_shared<CScriptedSimDevice>(
                                CSimDevice::Identity{0x1234, static_cast<uint16_t>(i), 0, 0, ""},
                                kMouseInterfaceDescriptor));
    }
    HidDevice device(bus_);
    ASSERT_TRUE(device.EnumerateInterfaces());
    EXPECT_EQ(device.PathCount(), 20u);
    std::set<std::string> seen;
    while (auto path = device.NextPath()) {
        seen.insert(*path);
    }
    EXPECT_EQ(seen.size(), 20u);
    EXPECT_FALSE(device.NextPath());
    ASSERT_TRUE(device.EnumerateInterfaces());  // a new pass starts at the front again
    EXPECT_TRUE(device.NextPath());
}

TEST_F(HidDeviceTest, OpenLoadsIdentityCapabilitiesAndTheNumbersOfThePath) {
    HidDevice device(bus_);
    const std::string path = PathOfCollection(4);
    ASSERT_TRUE(device.Open(path, true, true, true, false));
    EXPECT_EQ(device.VendorId(), 0x320F);
    EXPECT_EQ(device.ProductId(), 0x21FD);
    EXPECT_EQ(device.Version(), 0x0100);
    EXPECT_EQ(device.UsagePage(), 0xFF1C);
    EXPECT_EQ(device.Usage(), 0x92);
    EXPECT_EQ(device.InputReportLength(), 64);
    EXPECT_EQ(device.OutputReportLength(), 64);
    EXPECT_EQ(device.InterfaceNumber(), 1u);
    EXPECT_EQ(device.CollectionNumber(), 4u);
    EXPECT_EQ(device.InputReportBuffer().size(), 64u);
    EXPECT_FALSE(device.Open(std::string(260, 'x'), true, true, true, false));
    EXPECT_FALSE(device.IsOpen());
}

// The consumer-control handle sees only report 3; the vendor collection's report 4 on the same
// interface is not its.
TEST_F(HidDeviceTest, ReadsOnlyItsCollectionsReportsAndDecodesConsumerUsages) {
    HidDevice device(bus_);
    ASSERT_TRUE(device.Open(PathOfCollection(3), true, true, true, false));
    ASSERT_EQ(device.InputItemCount(), 1u);
    mouse_->Send(std::vector<uint8_t>(64, 0x04));
    mouse_->Send({0x03, 0x01, 0x04});
    std::vector<uint8_t>& report = device.InputReportBuffer();
    size_t got = 0;
    ASSERT_TRUE(device.Read(report.data(), report.size(), 1000, &got));
    EXPECT_EQ(got, 3u);
    ASSERT_TRUE(device.UnpackInputReport(report.data(), got, ReportType::kInput, device.InputItems()));
    const HidDataItem& item = device.InputItems()[0];
    EXPECT_TRUE(item.is_button_data);
    EXPECT_TRUE(item.is_data_set);
    EXPECT_EQ(item.usage_page, 0x0C);
    EXPECT_EQ(item.status, platform::hid::kStatusSuccess);
    ASSERT_EQ(item.usages.size(), 1u);
    EXPECT_EQ(item.usages[0], 0x0401);

    // An empty consumer report: nothing is on, the list is ended at once.
    mouse_->Send({0x03, 0x00, 0x00});
    ASSERT_TRUE(device.Read(report.data(), report.size(), 1000, &got));
    ASSERT_TRUE(device.UnpackInputReport(report.data(), got, ReportType::kInput, device.InputItems()));
    EXPECT_EQ(device.InputItems()[0].usages[0], 0);
}

// A consumer collection with two 16-bit usages, as wireless receivers have:
// both pressed usages are reported, in order, and a report of another id leaves the items alone.
TEST(HidDeviceDecodeTest, SeveralConsumerUsagesAreAllReported) {
    const std::vector<uint8_t> descriptor = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x75,
                                             0x10, 0x95, 0x02, 0x15, 0x01, 0x26, 0x8C, 0x02, 0x19,
                                             0x01, 0x2A, 0x8C, 0x02, 0x81, 0x00, 0xC0};
    auto bus = std::make_shared<CSimHidBus>();
    auto receiver =
        std::make_shared<CScriptedSimDevice>(CSimDevice::Identity{0x1234, 0x5678, 0, 1, ""}, descriptor);
    ASSERT_NE(bus->Plug("receiver", receiver), 0u);
    HidDevice device(bus);
    ASSERT_TRUE(device.EnumerateInterfaces());
    ASSERT_TRUE(device.Open(*device.NextPath(), true, true, true, false));
    EXPECT_EQ(device.InputReportLength(), 5);
    std::vector<HidDataItem>& items = device.InputItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].max_usage_length, 2u);
    const uint8_t both[] = {0x03, 0xE9, 0x00, 0xCD, 0x00};  // volume up, play/pause
    ASSERT_TRUE(device.UnpackInputReport(both, sizeof both, ReportType::kInput, items));
    EXPECT_EQ(items[0].usages, (std::vector<uint16_t>{0xE9, 0xCD}));
    const uint8_t one[] = {0x03, 0xEA, 0x00, 0x00, 0x00};
    ASSERT_TRUE(device.UnpackInputReport(one, sizeof one, ReportType::kInput, items));
    EXPECT_EQ(items[0].usages, (std::vector<uint16_t>{0xEA, 0}));
    items[0].is_data_set = false;
    const uint8_t other[] = {0x05, 0xE9, 0x00, 0x00, 0x00};
    ASSERT_TRUE(device.UnpackInputReport(other, sizeof other, ReportType::kInput, items));
    EXPECT_FALSE(items[0].is_data_set);
}

// A damaged descriptor of many huge button fields (found by fuzzing: it made each item's usage
// list megabytes, gigabytes in all) opens with lists of a bounded length.
TEST(HidDeviceDecodeTest, UsageListsOfHugeButtonFieldsStayBounded) {
    std::vector<uint8_t> descriptor = {0x05, 0x09, 0x09, 0x01, 0xA1, 0x01,
                                       0x15, 0x00, 0x25, 0x01, 0x75, 0x01};
    for (int field = 0; field < 40; ++field) {
        descriptor.insert(descriptor.end(), {0x96, 0xFF, 0xFF, 0x19, 0x01, 0x29, 0x10, 0x81, 0x02});
    }
    descriptor.push_back(0xC0);
    auto bus = std::make_shared<CSimHidBus>();
    ASSERT_NE(bus->Plug("broken", std::make_shared<CScriptedSimDevice>(
                                      CSimDevice::Identity{0x1234, 0x5678, 0, 1, ""}, descriptor)),
              0u);
    HidDevice device(bus);
    ASSERT_TRUE(device.EnumerateInterfaces());
    ASSERT_TRUE(device.Open(*device.NextPath(), true, true, true, false));
    ASSERT_FALSE(device.InputItems().empty());
    for (const HidDataItem& item : device.InputItems()) {
        EXPECT_EQ(item.max_usage_length, HidDataItem::kMaxUsageListLength);
        EXPECT_EQ(item.usages.size(), HidDataItem::kMaxUsageListLength);
    }
}

TEST_F(HidDeviceTest, AnInfiniteReadEndsPromptlyWhenAnotherThreadCloses) {
    HidDevice device(bus_);
    ASSERT_TRUE(device.Open(PathOfCollection(3), true, true, true, false));
    std::atomic<bool> result{true};
    std::atomic<int64_t> returned_at{0};
    std::thread reader([&] {
        uint8_t report[3];
        result = device.Read(report, sizeof report, platform::kInfinite);
        returned_at = platform::SteadyMs();
    });
    WaitUntil([&] { return device.ReadPending(); });
    const int64_t closed_at = platform::SteadyMs();
    device.Close();
    reader.join();
    EXPECT_FALSE(result);
    // Prompt means well inside a human-noticeable delay; a loaded machine may wake the reader late.
    EXPECT_LT(returned_at - closed_at, 100);
    EXPECT_FALSE(device.ReadPending());
}

TEST_F(HidDeviceTest, ATimedOutReadReportsNothingAndLeavesNothingPending) {
    HidDevice device(bus_);
    ASSERT_TRUE(device.Open(PathOfCollection(4), true, true, true, false));
    uint8_t report[64];
    size_t got = 99;
    const int64_t start = platform::SteadyMs();
    EXPECT_FALSE(device.Read(report, sizeof report, 30, &got));
    EXPECT_GE(platform::SteadyMs() - start, 29);
    EXPECT_EQ(got, 0u);
    EXPECT_FALSE(device.ReadPending());
    // Nothing of the timed-out read lingers: the next report goes to the next read.
    mouse_->Send(std::vector<uint8_t>(64, 0x04));
    EXPECT_TRUE(device.Read(report, sizeof report, 1000, &got));
    EXPECT_EQ(got, 64u);
}

TEST_F(HidDeviceTest, TheAbortEventCutsAWaitingReadShort) {
    HidDevice device(bus_);
    ASSERT_TRUE(device.Open(PathOfCollection(3), true, true, true, false));
    std::atomic<bool> result{true};
    std::thread reader([&] {
        uint8_t report[3];
        result = device.Read(report, sizeof report, platform::kInfinite);
    });
    WaitUntil([&] { return device.ReadPending(); });
    device.AbortEvent().Set();
    reader.join();
    EXPECT_FALSE(result);
    EXPECT_TRUE(device.IsOpen());
}

TEST_F(HidDeviceTest, UnplugDuringABlockedReadFailsItAndTheProbe) {
    HidDevice device(bus_);
    const std::string path = PathOfCollection(4);
    ASSERT_TRUE(device.Open(path, true, true, true, false));
    std::atomic<bool> result{true};
    std::thread reader([&] {
        uint8_t report[64];
        result = device.Read(report, sizeof report, platform::kInfinite);
    });
    WaitUntil([&] { return device.ReadPending(); });
    ASSERT_TRUE(bus_->Unplug(handle_));
    reader.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(bus_->Exists(path));
    const uint8_t request[64] = {0x04};
    EXPECT_FALSE(device.Write(request, sizeof request, 1000));
    EXPECT_FALSE(device.Open(path, true, true, true, false));
}

TEST_F(HidDeviceTest, WritesReachTheDeviceAndRepliesComeBack) {
    mouse_->echo_ = true;
    HidDevice device(bus_);
    ASSERT_TRUE(device.Open(PathOfCollection(4), true, true, true, false));
    uint8_t request[64] = {0x04, 0x01, 0x00, 0x01};
    size_t sent = 0;
    ASSERT_TRUE(device.Write(request, sizeof request, 1000, &sent));
    EXPECT_EQ(sent, 64u);
    ASSERT_EQ(mouse_->Received().size(), 1u);
    EXPECT_EQ(mouse_->Received()[0][3], 0x01);
    uint8_t reply[64] = {};
    ASSERT_TRUE(device.Read(reply, sizeof reply, 1000));
    EXPECT_EQ(reply[3], 0x01);
    mouse_->refuse_writes_ = true;
    EXPECT_FALSE(device.Write(request, sizeof request, 1000, &sent));
    EXPECT_EQ(sent, 0u);
}

TEST_F(HidDeviceTest, OpeningAnotherPathClosesTheFirstHandle) {
    HidDevice device(bus_);
    ASSERT_TRUE(device.Open(PathOfCollection(3), true, true, true, false));
    std::atomic<bool> result{true};
    std::thread reader([&] {
        uint8_t report[3];
        result = device.Read(report, sizeof report, platform::kInfinite);
    });
    WaitUntil([&] { return device.ReadPending(); });
    ASSERT_TRUE(device.Open(PathOfCollection(4), true, true, true, false));
    reader.join();
    EXPECT_FALSE(result);
    EXPECT_EQ(device.UsagePage(), 0xFF1C);
    EXPECT_EQ(device.CollectionNumber(), 4u);
}

}  // namespace
