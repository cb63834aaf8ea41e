#pragma once

#include <string>
#include <string_view>

// Text helpers of every layer. Case folds ASCII letters only: the names, keys and file names
// compared here are ASCII, and other bytes (UTF-8 included) compare exactly.
namespace platform {

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToLower(std::string_view text);
// Without leading and trailing white space.
std::string_view Trimmed(std::string_view text);

}  // namespace platform
