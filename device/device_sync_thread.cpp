#include "device/device_sync_thread.h"

#include "platform/debug.h"

#include <vector>

CDeviceSyncThread::CDeviceSyncThread(CommandChannel& notification) : notification_(notification) {}

CDeviceSyncThread::~CDeviceSyncThread() {
    Stop();
}

bool CDeviceSyncThread::Start() {
    // A thread left running (for instance from a failed open) may wait in a read without limit;
    // the worker's own stop would only set the stop event and join it for ever.
    Stop();
    return thread_.Start([this](platform::CEvent& stop) { Run(stop); });
}

void CDeviceSyncThread::Stop() {
    if (!thread_.Running()) {
        return;
    }
    notification_.Device().AbortEvent().Set();
    thread_.Stop();
    // The thread may have ended without reading; its abort must not cut the next reader short.
    notification_.Device().AbortEvent().Reset();
}

void CDeviceSyncThread::Run(platform::CEvent& stop) {
    std::vector<uint8_t> report;
    while (!stop.Wait(0)) {
        HidDevice& device = notification_.Device();
        if (!notification_.IsOpen()) {
            stop.Wait(kIdleWaitMs);
            continue;
        }
        report.assign(device.InputReportLength(), 0);
        size_t read = 0;
        if (report.empty() || !device.Read(report.data(), report.size(), platform::kInfinite, &read)) {
            // A device that left fails every read at once; pause rather than spin.
            stop.Wait(kIdleWaitMs);
            continue;
        }
        HandleReport(report.data(), report.size());
    }
    platform::DebugOutput("MS设备同步线程设定退出\n");
}

void CDeviceSyncThread::HandleReport(const uint8_t* report, size_t length) {
    HidDevice& device = notification_.Device();
    std::vector<HidDataItem>& items = device.InputItems();
    device.UnpackInputReport(report, length, platform::hid::ReportType::kInput, items);
    if (items.empty()) {
        return;
    }
    const HidDataItem& first = items.front();
    const uint32_t usage =
        first.is_button_data ? (first.usages.empty() ? 0 : first.usages.front()) : first.usage;
    platform::DebugOutput("接收到自动添加设备的同步信息要求  TEST\n");
    if (usage != kResyncUsage) {
        return;
    }
    platform::DebugOutput("接收到自动添加设备的同步信息要求\n");
    if (request_) {
        request_(kResyncDelayMs);
    }
}
