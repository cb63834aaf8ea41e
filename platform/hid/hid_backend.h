#pragma once

#include "platform/hid/hid_types.h"
#include "platform/sync/event.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The HID bus in use: the kernel's hidraw nodes or the simulated bus. Both offer one entry per
// top-level collection with a Windows-style path (vid_XXXX&pid_XXXX&mi_XX&colNN) and the
// capabilities of that collection; they differ only in transport.
//
// Contract of CHidBackend (any thread may call any operation at any time):
// - Enumerate lists the entries present now, in a stable order (interface by interface, each
//   interface's collections ascending). False (entries emptied) when the bus cannot be listed.
// - Open opens the entry with that path (the handle is shared so that a closing thread and a
//   transferring thread can both hold it); nullptr when it is absent, its node cannot be opened with
//   the asked access, or its descriptor cannot be read. Paths from an earlier enumeration of the
//   same backend are valid until the device leaves.
// - Exists is the existence probe: true while the device behind the path is present and still the
//   same device (a replugged device is another one, even on the same node).
// - AccessDeniedNode names the device node behind a listed entry that this user may not open for
//   reading and writing (no udev rule gives access), or "" when it can be opened or the backend
//   has no such notion.
// - ChangeFd / ChangeCount let a discovery pass stay cheap when idle: ChangeCount grows whenever a
//   device may have arrived or left; the fd (or -1 when the backend offers none) becomes readable
//   then, and reading ChangeCount clears it. A caller that saw the same count last time may skip
//   its enumeration.
//
// Contract of CHidConnection (one open entry): Read and Write may each be used by one thread at a
// time, a read and a write at the same time; Shutdown and Info from any thread.
// - Read waits for the next input report of this collection (reports of the interface's other
//   collections are skipped), at most timeout_ms (kInfinite: no limit), and copies it with its
//   report id first (0 for devices without report ids), zero-filled up to the collection's input
//   report length and cut at `length`. Returns kOk with the byte count, kTimeout, kAborted when the
//   abort event was set (it is consumed), kClosed after Shutdown or when the device left, kError on
//   an I/O error. Nothing is pending once it returns.
// - Write sends one output report (report id first) the same way.
// - Shutdown ends waiting and later transfers with kClosed; the connection stays valid until
//   destroyed.

namespace platform::hid {

enum class IoResult { kOk, kTimeout, kAborted, kClosed, kError };

struct OpenMode {
    bool read = true;
    bool write = true;
};

class CHidConnection {
public:
    virtual ~CHidConnection() = default;

    virtual const HidEntryInfo& Info() const = 0;
    virtual IoResult Read(uint8_t* buffer, size_t length, int timeout_ms, CEvent& abort,
                          size_t& transferred) = 0;
    virtual IoResult Write(const uint8_t* buffer, size_t length, int timeout_ms, CEvent& abort,
                           size_t& transferred) = 0;
    virtual void Shutdown() = 0;
};

class CHidBackend {
public:
    virtual ~CHidBackend() = default;

    virtual bool Enumerate(std::vector<HidEntryInfo>& entries) = 0;
    virtual std::shared_ptr<CHidConnection> Open(const std::string& path, OpenMode mode) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual std::string AccessDeniedNode(const std::string& /*path*/) { return {}; }
    virtual int ChangeFd() const = 0;
    virtual uint64_t ChangeCount() = 0;
    // "hidraw" or "simulated", for diagnostics and norvikctl.
    virtual const char* Name() const = 0;
};

// The bus of this process, chosen once at start-up: whatever SetProcessBackend installed (the
// programs install the simulated bus when NORVIK_SIMULATE is set), else the hidraw backend.
std::shared_ptr<CHidBackend> ProcessBackend();
// Replaces the process bus for objects created afterwards; call at start-up (or in a test's set-up).
void SetProcessBackend(std::shared_ptr<CHidBackend> backend);

}  // namespace platform::hid
