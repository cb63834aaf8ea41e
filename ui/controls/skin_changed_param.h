#pragma once

#include <cstdint>
#include <string>

// A new background for the main window's root, as the skin chooser publishes it: a plain colour
// when isColor is set, else an image (a skin file name or a full path).
struct SkinChangedParam {
    bool isColor = false;
    std::uint32_t color = 0;  // ARGB
    std::string image;
};
