#pragma once

#include "platform/hid/hid_backend.h"
#include "platform/sync/event.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One HID interface (one top-level collection) of the bus in use: enumeration of the bus's
// paths, opening by path, identity and capabilities, timed reads and writes that another thread
// can cut short, and decoding of input reports into usages.
//
// Results: every operation returns false on failure and produces no error text; the caller
// decides what to report. A transfer fails on a time-out, an abort, an I/O error, a device that
// left, or an object without an open handle.
//
// Concurrency: at most two threads use one object: one that transfers (a read and a write may
// wait at the same time) and one that may Open, Close or set the abort event. Close and Open cut
// a waiting transfer short at once, also one waiting with an infinite time-out. Enumeration and
// the accessors belong to the thread that opens the object.

// One decoded input usage; see UnpackInputReport.
struct HidDataItem {
    // No real report has this many buttons on at once; longer usage lists are cut to it.
    static constexpr uint32_t kMaxUsageListLength = 4096;

    bool is_button_data = false;
    uint16_t usage_page = 0;
    uint32_t status = platform::hid::kStatusSuccess;
    uint32_t report_id = 0;
    bool is_data_set = false;
    // Button items: usage range, capacity and the usages that were on in the last report (ended
    // by a 0 entry when fewer than the capacity).
    uint32_t usage_min = 0;
    uint32_t usage_max = 0;
    uint32_t max_usage_length = 0;
    std::vector<uint16_t> usages;
    // Value items: the usage (the same as usage_min) and the last decoded values.
    uint32_t usage = 0;
    int32_t raw_value = 0;
    int32_t scaled_value = 0;
};

class HidDevice {
public:
    static constexpr size_t kMaxPathLength = 259;
    static constexpr size_t kInitialPathCapacity = 8;

    // On the process bus, or on the given one.
    HidDevice();
    explicit HidDevice(std::shared_ptr<platform::hid::CHidBackend> backend);
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    // Lists the bus's entries into the path list (room for 8, doubling when full) and clears the
    // cursor. False, with the list released, when the bus cannot be listed.
    bool EnumerateInterfaces();
    // The path at the cursor, advancing it; nullopt at the end or without a list.
    std::optional<std::string> NextPath();
    void ReleasePaths();
    uint32_t PathCount() const { return path_count_; }

    // Opens the path (closing a previous opening first) and loads its capabilities and input
    // items. exclusive and overlapped are kept for callers; every handle here is abortable. A
    // path longer than 259 bytes is refused. False leaves no handle.
    bool Open(const std::string& path, bool want_read, bool want_write, bool overlapped, bool exclusive);
    // Cuts any waiting transfer short, frees the tables and the handle; the path list and the
    // stored path stay.
    void Close();

    // One report of `length` bytes with a time-out in ms (platform::kInfinite: none). transferred
    // (when given) is set to 0 first, then to the bytes moved.
    bool Read(uint8_t* buffer, size_t length, int timeout_ms, size_t* transferred = nullptr);
    bool Write(const uint8_t* buffer, size_t length, int timeout_ms, size_t* transferred = nullptr);
    // Reads and drops what is queued on the handle without waiting, at most `limit` reports; not
    // a pending read. Returns how many were dropped.
    size_t DiscardPendingInput(size_t limit);

    // Decodes a report (report id in its first byte) into the items of that report id: a button
    // item gets the usages that are on for its usage page, kept to its usage range and ended by 0
    // when fewer than its capacity; a value item gets its raw and scaled value. False at the first
    // value that cannot be read (items before it keep what was decoded). Only input reports are
    // decoded; another type gives false.
    bool UnpackInputReport(const uint8_t* report, size_t length, platform::hid::ReportType type,
                           std::vector<HidDataItem>& items) const;

    // Set by another thread to cut a waiting read or write short (auto-reset).
    platform::CEvent& AbortEvent() { return abort_; }
    bool ReadPending() const { return read_pending_; }
    bool WritePending() const { return write_pending_; }

    bool IsOpen() const;
    const std::string& Path() const { return path_; }
    uint16_t VendorId() const { return attributes_.vendor_id; }
    uint16_t ProductId() const { return attributes_.product_id; }
    uint16_t Version() const { return attributes_.version; }
    uint16_t UsagePage() const { return caps_.usage_page; }
    uint16_t Usage() const { return caps_.usage; }
    uint16_t InputReportLength() const { return caps_.input_report_length; }
    uint16_t OutputReportLength() const { return caps_.output_report_length; }
    uint16_t FeatureReportLength() const { return caps_.feature_report_length; }
    const platform::hid::HidCaps& Caps() const { return caps_; }
    uint32_t InterfaceNumber() const { return interface_number_; }
    uint32_t CollectionNumber() const { return collection_number_; }
    // The device kind an emulator names for itself; 0 for real hardware (HidEntryInfo).
    uint16_t EmulatedKind() const { return emulated_kind_; }
    std::vector<uint8_t>& InputReportBuffer() { return input_report_; }
    std::vector<HidDataItem>& InputItems() { return input_items_; }
    uint32_t InputItemCount() const { return static_cast<uint32_t>(input_items_.size()); }

private:
    std::shared_ptr<platform::hid::CHidConnection> Connection() const;
    void BuildInputItems();

    std::shared_ptr<platform::hid::CHidBackend> backend_;
    std::vector<std::string> paths_;
    uint32_t path_count_ = 0;
    uint32_t cursor_ = 0;
    bool want_read_ = false;
    bool want_write_ = false;
    bool overlapped_ = false;
    bool exclusive_ = false;
    mutable std::mutex connection_mutex_;  // guards the handle swap only, never held while waiting
    std::shared_ptr<platform::hid::CHidConnection> connection_;
    std::string path_;
    platform::hid::HidCollectionInfo collection_;
    platform::hid::HidCaps caps_;
    platform::hid::HidAttributes attributes_;
    std::vector<uint8_t> input_report_;
    std::vector<HidDataItem> input_items_;
    uint32_t interface_number_ = 0;
    uint32_t collection_number_ = 0;
    uint16_t emulated_kind_ = 0;
    platform::CEvent abort_{platform::CEvent::Mode::kAutoReset};
    std::atomic<bool> read_pending_{false};
    std::atomic<bool> write_pending_{false};
};

// Path parsers: the hexadecimal number after the marker (case-insensitive), 0 when absent.
uint16_t VendorIdOfPath(std::string_view path);    // "vid_"
uint16_t ProductIdOfPath(std::string_view path);   // "pid_"
uint16_t InterfaceOfPath(std::string_view path);   // "&mi_"
uint16_t CollectionOfPath(std::string_view path);  // "&col"
