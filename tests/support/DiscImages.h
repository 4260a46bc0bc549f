// Disc images built at test time: ISO 9660 volumes (genisoimage), raw
// Mode 1 tracks made from them, CD audio (sox); and what a drive shows of
// them: the TOC table rows and raw sectors.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class CDevCmdROM;
class ListControl;

namespace testing_support {

// An ISO 9660 volume holding one small file named label.txt; empty path
// when genisoimage failed.
std::filesystem::path MakeIso(const std::filesystem::path& folder, const std::string& label);
// The ISO's sectors as raw 2352-byte Mode 1 sectors, as a drive reads them.
std::string RawMode1Sectors(const std::filesystem::path& iso);
// Signed 16-bit little-endian stereo samples at 44.1 kHz, whole sectors.
std::string AudioSectors(int sectors, int frequency);

using Rows = std::vector<std::vector<std::string>>;

// Every row of a list, cells split.
Rows ListRows(const ListControl& list);
// The table-of-contents view's rows.
Rows TocRows(CDevCmdROM& drive);
// One 2352-byte sector as READ CD returns it; empty when the read fails.
std::string RawSector(CDevCmdROM& drive, int32_t lba);

} // namespace testing_support
