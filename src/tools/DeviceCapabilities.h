// The device capability report: which CD and DVD media a drive reads and
// writes and its CD-DA abilities, from mode page 2Ah and two features of
// its GET CONFIGURATION list.
#pragma once

#include "drive/MmcRecords.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CDevCmdROM;

struct CapabilityRow {
    std::string support; // "Yes", "No", or empty for headings and spacers
    std::string label;
};

namespace DeviceCapabilities {

struct Column {
    const char* header;
    int width;
};
inline constexpr std::array<Column, 2> kColumns = {{{"Support", 200}, {"Device Parameter", 350}}};
inline constexpr int kRowCount = 29;

inline constexpr uint16_t kFeatureDvdPlusRw = 0x002A;
inline constexpr uint16_t kFeatureDvdMinusRWrite = 0x002F;

// True when the GET CONFIGURATION reply in config (length bytes) lists
// feature. The walk never leaves the buffer, whatever the reply claims.
bool HasFeature(const uint8_t* config, uint32_t length, uint16_t feature);

// The 29 rows from mode page 2Ah (bytes 2 to 5 of page) and whether the
// features 002Ah (plus) and 002Fh (minus) are present.
std::vector<CapabilityRow> BuildRows(const PARAM_PAGE_READ& page, bool plus, bool minus);

// Reads the feature list and the mode page from drive; no rows when the
// mode page cannot be read.
std::vector<CapabilityRow> ReadDeviceCapabilities(CDevCmdROM& drive);

} // namespace DeviceCapabilities
