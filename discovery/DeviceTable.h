#pragma once

#include <string>
#include <vector>

namespace tessaly {

// The attached devices of one bus, as rows of text to pick one from. Texts are UTF-8.
struct DeviceTable {
    struct Row {
        std::vector<std::string> cells{};  // one per column
        bool hiddenByDefault = false;      // shown only when all devices are asked for
    };

    std::string title{};
    std::vector<std::string> columns{};
    std::vector<Row> rows{};
    std::string emptyText{};  // said in the list area when the bus has no device
};

}  // namespace tessaly
