#pragma once

// The product identity that names the window, the data folder and the inter-process names.
namespace platform {

inline constexpr const char kProductName[] = "Norvik 400100 Gaming Mouse";

}  // namespace platform
