// The drives Linux knows, in device-node order, then the image-file entry,
// which never offers itself as a drive.
#pragma once

#include "drive/CDevCmdROM.h"

#include <memory>
#include <string>
#include <vector>

class DevDeque {
public:
    // Enumerates /sys/class/block/sr* (or /dev/sr* without sysfs).
    DevDeque();
    // For tests: these drives, then the image-file entry.
    explicit DevDeque(std::vector<std::unique_ptr<CDevCmdROM>> drives);

    int GetDevCount() const { return int(items_.size()); }
    CDevCmdROM* GetDequeItem(int index);
    CDevCmdROM* GetImageEntry() { return items_.back().get(); }

    static std::vector<std::string> FindOpticalDeviceNodes();

private:
    std::vector<std::unique_ptr<CDevCmdROM>> items_;
};
