#pragma once

#include "discovery/DeviceTable.h"

namespace tessaly::testing {

// Attached PCI devices as the picker lists them: a host bridge (hidden until "Show all
// devices"), two Intel functions, the sample instrument and a PLX bridge.
inline DeviceTable SampleDeviceTable() {
    DeviceTable table{.title = "Attached PCI Devices",
                      .columns = {"Address", "IDs", "Vendor"},
                      .rows = {},
                      .emptyText = "No PCI device was found on this computer."};
    table.rows = {
        {{"0000:00:00.0", "8086:1237", "Intel Corporation"}, true},
        {{"0000:00:02.0", "8086:100e", "Intel Corporation"}, false},
        {{"0000:00:0a.0", "1a2b:0042", "Tessaly Instruments"}, false},
        {{"0000:00:0b.0", "10b5:9054", "PLX Technology, Inc."}, false},
    };
    return table;
}

}  // namespace tessaly::testing
