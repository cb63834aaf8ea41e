#include "device/device_binder.h"
#include "device/device_access_check.h"
#include "device/device_discovery.h"
#include "sim/mouse_descriptor.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_keyboard.h"
#include "sim/simulated_mouse.h"
#include "sim/simulated_mouse_pad.h"
#include "tests/support/debug_capture.h"
#include "tests/support/scripted_sim_device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Waits for a condition, polling briefly; true when it held within the time.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace

// The two mice on the simulated bus, bound through the binder as norvikctl binds them.
class DiscoveryWithMice : public ::testing::Test {
protected:
    DiscoveryWithMice() {
        for (const DeviceDescriptor& row : DeviceDescriptors()) {
            if (!IsMouseKind(row.kind)) {
                continue;
            }
            const int slot =
                FindSlot(SupportedInterfaces(), row.vendorId, row.productId, row.kind, row.subKind);
            devices.push_back(std::make_unique<CDeviceConnection>(SupportedInterfaces()[slot], bus));
            binder.Add(*devices.back());
        }
    }

    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::vector<std::unique_ptr<CDeviceConnection>> devices;  // "mouse", then "mouse3389"
    CDeviceBinder binder;
    CDeviceDiscovery discovery{binder, bus};
};

TEST_F(DiscoveryWithMice, EachMouseBindsItsCommandAndNotificationSlots) {
    CDebugCapture debug;
    bus->Plug("mouse3389", std::make_shared<CSimulatedMouse>(MouseModel3389()));
    ASSERT_TRUE(discovery.RunPass());

    std::vector<InterfaceSlot> slots = discovery.Slots();
    EXPECT_EQ(slots[4].connected, 1);
    EXPECT_EQ(slots[5].connected, 1);
    EXPECT_NE(slots[4].path.find("col04"), std::string::npos);
    EXPECT_NE(slots[5].path.find("col03"), std::string::npos);
    EXPECT_TRUE(devices[1]->Command().IsOpen());
    EXPECT_FALSE(devices[1]->Command().IsWireless());
    EXPECT_TRUE(devices[1]->Notification().IsOpen());
    EXPECT_TRUE(devices[1]->SyncThread().Running());
    EXPECT_FALSE(devices[0]->Command().IsOpen());

    bus->Plug("mouse", std::make_shared<CSimulatedMouse>(MouseModel3325()));
    ASSERT_TRUE(discovery.RunPass());
    slots = discovery.Slots();
    EXPECT_EQ(slots[2].connected, 1);
    EXPECT_EQ(slots[3].connected, 1);
    EXPECT_TRUE(devices[0]->Command().IsOpen());

    const std::string text = debug.Text();
    size_t arrivals = 0;
    for (size_t at = text.find("添加一个鼠标设备"); at != std::string::npos;
         at = text.find("添加一个鼠标设备", at + 1)) {
        ++arrivals;
    }
    EXPECT_EQ(arrivals, 4u);
}

TEST_F(DiscoveryWithMice, ASecondMouseOfTheSameProductIsNotBound) {
    bus->Plug("mouse3389", std::make_shared<CSimulatedMouse>(MouseModel3389()));
    ASSERT_TRUE(discovery.RunPass());
    const std::string first = discovery.Slots()[4].path;

    bus->Plug("mouse3389", std::make_shared<CSimulatedMouse>(MouseModel3389()));
    ASSERT_TRUE(discovery.RunPass());
    ASSERT_TRUE(discovery.RunPass());
    const std::vector<InterfaceSlot> slots = discovery.Slots();
    EXPECT_EQ(slots[4].path, first);
    int bound = 0;
    for (const InterfaceSlot& slot : slots) {
        bound += slot.connected;
    }
    EXPECT_EQ(bound, 2);
}

TEST_F(DiscoveryWithMice, UnpluggingClearsBothSlotsPromptlyAndStopsTheSyncThread) {
    const uint64_t handle = bus->Plug("mouse3389", std::make_shared<CSimulatedMouse>(MouseModel3389()));
    ASSERT_TRUE(discovery.Start());
    ASSERT_TRUE(
        WaitFor([&] { return devices[1]->Notification().IsOpen() && devices[1]->Command().IsOpen(); }));

    CDebugCapture debug;
    const auto unplugged = std::chrono::steady_clock::now();
    ASSERT_TRUE(bus->Unplug(handle));
    ASSERT_TRUE(WaitFor([&] {
        const auto slots = discovery.Slots();
        return slots[4].IsFree() && slots[5].IsFree();
    }));
    const auto elapsed = std::chrono::steady_clock::now() - unplugged;
    // One pass interval plus scheduling; the bus's change signal usually makes it far quicker.
    EXPECT_LT(elapsed, std::chrono::milliseconds(400));
    ASSERT_TRUE(WaitFor([&] { return !devices[1]->SyncThread().Running(); }));
    discovery.Stop();

    EXPECT_FALSE(devices[1]->Command().IsOpen());
    EXPECT_FALSE(devices[1]->Notification().IsOpen());
    const std::string text = debug.Text();
    EXPECT_NE(text.find("删除一个鼠标设备"), std::string::npos);
    EXPECT_NE(text.find("MS设备同步线程设定退出"), std::string::npos);
    EXPECT_NE(text.find("抓取设备线程设定退出"), std::string::npos);
}

TEST_F(DiscoveryWithMice, TheMouseButtonsAskForAResyncHalfASecondLater) {
    auto mouse = std::make_shared<CSimulatedMouse>(MouseModel3389());
    bus->Plug("mouse3389", mouse);
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> delays;
    devices[1]->SyncThread().SetResyncRequest([&](int delayMs) {
        std::lock_guard lock(mutex);
        delays.push_back(delayMs);
        changed.notify_all();
    });
    CDebugCapture debug;
    ASSERT_TRUE(discovery.RunPass());

    mouse->PressDpiButton();
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(5), [&] { return !delays.empty(); }));
    EXPECT_EQ(delays.front(), 500);
    EXPECT_NE(debug.Text().find("接收到自动添加设备的同步信息要求  TEST"), std::string::npos);
}

// A restart must cut the running thread's endless read short instead of joining it for ever.
TEST_F(DiscoveryWithMice, RestartingTheSyncThreadEndsItsWaitingReadAtOnce) {
    auto mouse = std::make_shared<CSimulatedMouse>(MouseModel3389());
    bus->Plug("mouse3389", mouse);
    std::atomic<int> resyncs{0};
    devices[1]->SyncThread().SetResyncRequest([&](int) { ++resyncs; });
    ASSERT_TRUE(discovery.RunPass());
    ASSERT_TRUE(WaitFor([&] { return devices[1]->Notification().Device().ReadPending(); }));

    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(devices[1]->SyncThread().Start());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));

    mouse->PressDpiButton();
    EXPECT_TRUE(WaitFor([&] { return resyncs.load() > 0; }));
}

// Only supported devices are named, each node once, and a node that cannot be opened binds nothing.
TEST_F(DiscoveryWithMice, SupportedDevicesThatCannotBeOpenedAreNamedOnce) {
    const uint64_t mouse = bus->Plug("mouse3389", std::make_shared<CSimulatedMouse>(MouseModel3389()));
    const uint64_t other = bus->Plug("other", std::make_shared<CSimulatedMouse>([] {
                                         MouseModel model = MouseModel3389();
                                         model.vendorId = 0x1234;
                                         return model;
                                     }()));
    EXPECT_TRUE(CDeviceAccessCheck::DeniedNodes(*bus).empty());
    ASSERT_TRUE(bus->DenyAccess(mouse));
    ASSERT_TRUE(bus->DenyAccess(other));
    EXPECT_FALSE(bus->DenyAccess(999));

    EXPECT_EQ(CDeviceAccessCheck::DeniedNodes(*bus),
              std::vector<std::string>{"sim#mouse3389." + std::to_string(mouse)});
    ASSERT_TRUE(discovery.RunPass());
    EXPECT_FALSE(devices[1]->Command().IsOpen());
    EXPECT_NE(CDeviceAccessCheck::Hint("/dev/hidraw3").find("/dev/hidraw3 cannot be opened"),
              std::string::npos);
}

// The keyboard's consumer collection: its own resync delay, and its key reports as key events.
TEST(DiscoveryWithKeyboard, KeyReportsBecomeKeyEventsAndALightChangeAsksForAResync) {
    auto bus = std::make_shared<CSimHidBus>();
    const int slot = FindSlot(SupportedInterfaces(), 0, 0, kKindKeyboard, kSubKindCommand);
    ASSERT_GE(slot, 0);
    CDeviceConnection keyboardConnection(SupportedInterfaces()[slot], bus);
    CDeviceBinder binder;
    binder.Add(keyboardConnection);
    CDeviceDiscovery discovery{binder, bus};
    auto keyboard = std::make_shared<CSimulatedKeyboard>();
    bus->Plug(CSimulatedKeyboard::kName, keyboard);

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<int, int>> events;  // (firmware key, state); resyncs as (-1, delay)
    CDeviceSyncThread& sync = keyboardConnection.SyncThread();
    sync.SetResyncDelay(CDeviceSyncThread::kKeyboardResyncDelayMs);
    sync.SetResyncRequest([&](int delayMs) {
        std::lock_guard lock(mutex);
        events.emplace_back(-1, delayMs);
        changed.notify_all();
    });
    sync.SetKeyEvent([&](int key, int state) {
        std::lock_guard lock(mutex);
        events.emplace_back(key, state);
        changed.notify_all();
    });
    ASSERT_TRUE(discovery.RunPass());
    ASSERT_TRUE(WaitFor([&] { return sync.Running(); }));

    ASSERT_TRUE(keyboard->PressKey(0x7B));
    keyboard->ChangeLightOnKeyboard();
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(5), [&] { return events.size() >= 3; }));
    const std::vector<std::pair<int, int>> expected = {{0x7B, 1}, {0x7B, 2}, {-1, 100}};
    EXPECT_EQ(events, expected);
}

// The keyboard's and the pad's rows carry the same ids (0:0, interface 1): each emulator names
// its kind and binds its own rows, whichever is plugged first; an interface that names none, as
// real hardware, binds the first rows with its ids, as before.
TEST(DiscoveryWithKeyboardAndPad, EachBindsItsOwnRowsWhileAnInterfaceNamingNoKindTakesTheFirst) {
    auto bus = std::make_shared<CSimHidBus>();
    std::vector<std::unique_ptr<CDeviceConnection>> devices;
    CDeviceBinder binder;
    for (const uint16_t kind : {kKindKeyboard, kKindMousePad}) {
        const int slot = FindSlot(SupportedInterfaces(), 0, 0, kind, kSubKindCommand);
        ASSERT_GE(slot, 0);
        devices.push_back(std::make_unique<CDeviceConnection>(SupportedInterfaces()[slot], bus));
        binder.Add(*devices.back());
    }
    CDeviceDiscovery discovery{binder, bus};
    const uint64_t pad = bus->Plug(CSimulatedMousePad::kName, std::make_shared<CSimulatedMousePad>());
    const uint64_t keyboard = bus->Plug(CSimulatedKeyboard::kName, std::make_shared<CSimulatedKeyboard>());
    ASSERT_TRUE(discovery.RunPass());

    const std::vector<InterfaceSlot> slots = discovery.Slots();
    const std::pair<size_t, const char*> bound[] = {
        {0, "col04#keyboard."}, {1, "col03#keyboard."}, {6, "col04#mousepad."}, {7, "col03#mousepad."}};
    for (const auto& [slot, path] : bound) {
        EXPECT_NE(slots[slot].path.find(path), std::string::npos) << slot << ": " << slots[slot].path;
    }
    for (const auto& device : devices) {
        EXPECT_TRUE(device->Command().IsOpen());
        EXPECT_TRUE(device->Notification().IsOpen());
    }

    // Real hardware: ids alone, so the keyboard's rows (the first), freed for it here.
    bus->Unplug(pad);
    bus->Unplug(keyboard);
    ASSERT_TRUE(discovery.RunPass());
    CSimDevice::Identity unnamed;
    unnamed.interface_number = 1;
    bus->Plug("unnamed", std::make_shared<CScriptedSimDevice>(unnamed, MouseInterface1Descriptor()));
    ASSERT_TRUE(discovery.RunPass());
    EXPECT_NE(discovery.Slots()[0].path.find("#unnamed."), std::string::npos);
    EXPECT_TRUE(discovery.Slots()[6].path.empty());
}
