#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// The folder chooser's status line: a path longer than 35 characters shows its first 35
// followed by "...".
std::string ShortenStatusText(std::string_view path);

}  // namespace tessaly
