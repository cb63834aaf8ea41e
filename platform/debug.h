#pragma once

#include <functional>
#include <string>
#include <string_view>

// The stand-in for OutputDebugString. Diagnostics never reach the user: they go to stderr only
// when NORVIK_DEBUG=1, or to a sink that a test installs to read them.
//
// Thread safety: any thread may call these at any time.

namespace platform {

// Writes one diagnostic text as it is (callers put their own line ends).
void DebugOutput(std::string_view text);

// printf-style convenience for the many formatted diagnostics.
void DebugFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// True when diagnostics go anywhere (a sink is installed, or NORVIK_DEBUG=1), so that hot paths
// can skip formatting texts nobody reads.
bool DebugEnabled();

using DebugSink = std::function<void(std::string_view)>;

// Routes every later diagnostic to the sink (an empty sink restores the default);
// returns the previous sink.
DebugSink SetDebugSink(DebugSink sink);

}  // namespace platform
