#include "output/FolderStatusText.h"

namespace tessaly {

std::string ShortenStatusText(std::string_view path) {
    constexpr std::size_t kShown = 35;
    if (path.size() <= kShown) {
        return std::string(path);
    }
    return std::string(path.substr(0, kShown)) + "...";
}

}  // namespace tessaly
