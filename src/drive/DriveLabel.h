// The lines the device selection list shows.
#pragma once

#include <string>
#include <vector>

class DevDeque;
class CDevCmdROM;

// "/dev/sr0: VENDOR  PRODUCT         REV " for a drive that answers INQUIRY;
// empty for an entry that is not listed as a drive.
std::string DriveLabel(CDevCmdROM& drive);

// One line per listed drive, then "[Image File]".
std::vector<std::string> DeviceListLines(DevDeque& drives);
