#pragma once

#include <cstdint>
#include <string>

// The stand-in for RegisterWindowMessage: a process-wide table of registered message names.
//
// RegisterWindowMessage returns the number of a name, giving it the next free number from the
// registered range (0xC000..0xFFFF) the first time; the same name always gives the same number
// in this process. Names compare without regard to ASCII letter case, as Windows compares them.
// It returns 0 for an empty name and when the range is used up.
//
// Numbers are private to the process. Between processes a message travels by its name (see
// CBroadcastBus), so two programs agree on a message without agreeing on its number.
//
// Thread safety: any thread may call both functions at any time.

namespace platform::ipc {

inline constexpr std::uint32_t kFirstRegisteredMessage = 0xC000;
inline constexpr std::uint32_t kLastRegisteredMessage = 0xFFFF;

std::uint32_t RegisterWindowMessage(const std::string& name);

// The number of a name registered before, or 0; registers nothing (for names from outside).
std::uint32_t FindWindowMessage(const std::string& name);

// The name as first registered, or "" for a number that no name holds.
std::string RegisteredMessageName(std::uint32_t message);

}  // namespace platform::ipc
