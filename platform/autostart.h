#pragma once

#include <string>

// Start at login: an XDG autostart entry in $XDG_CONFIG_HOME/autostart/ that starts the
// application hidden (NORVIK_START_HIDDEN=1), so that settings that live on the host are applied
// again and replugged devices get their profile back.
//
// Thread safety: any thread; each call reads or writes the entry's file alone.

namespace platform {

// The entry's file.
std::string AutostartEntryPath();

// Writes the entry (atomically) starting `program`, or removes it. False when the file could not
// be written or removed; the previous state is kept then.
bool SetAutostart(bool enabled, const std::string& program);

// True while the entry exists and is not disabled with Hidden=true.
bool AutostartEnabled();

// The application beside the running executable when it is there, else "norvik" from PATH.
std::string ApplicationProgram();

}  // namespace platform
