#pragma once

#include <cstddef>

// Where the firmware list learns the firmware version of each device page. The main window
// implements it from its device objects; norvikctl from the devices it was told about.
//
// Thread safety: the update thread calls it; the implementation must allow that (the main
// window's device objects change on the UI thread).
class IFirmwareVersionSource {
public:
    virtual ~IFirmwareVersionSource() = default;

    // The firmware version (the HID attributes' version number) of the device of page
    // `page` (device bar order) while it is open, else 0.
    virtual int FirmwareVersion(size_t page) const = 0;
};
