#include "drive/DriveLabel.h"

#include "drive/DevDeque.h"

#include <cstring>

std::string DriveLabel(CDevCmdROM& drive)
{
    if (drive.GetDeviceID() == 0)
        return std::string();
    INQUIRYDATA inquiry{};
    if (drive.Inquiry(inquiry) != 0)
        return std::string();
    const char* text = reinterpret_cast<const char*>(inquiry.bytes + 8);
    return drive.GetDevicePath() + ": " + std::string(text, strnlen(text, sizeof inquiry.bytes - 8));
}

std::vector<std::string> DeviceListLines(DevDeque& drives)
{
    std::vector<std::string> lines;
    for (int i = 0; i + 1 < drives.GetDevCount(); ++i) {
        std::string label = DriveLabel(*drives.GetDequeItem(i));
        if (!label.empty())
            lines.push_back(std::move(label));
    }
    lines.push_back("[Image File]");
    return lines;
}
