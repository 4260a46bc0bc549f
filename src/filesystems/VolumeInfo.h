// The rows of the volume information view: the main fields of the ISO 9660
// (primary or Joliet supplementary) or UDF primary volume descriptor that a
// file-system reader left in the descriptor buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class ListControl;

namespace VolumeInfo {

// The two columns "Volume Descriptor" and "Infomation".
void InsertColumns(ListControl& list);

// Nothing happens for a null descriptor or a length of 0. Otherwise the rows
// are replaced: code 1 the ISO 9660 rows, 2 or more the UDF rows, 0 none; a
// length above 2048 leaves the list empty.
void Show(ListControl& list, const uint8_t* descriptor, size_t length, int fileSystemCode);

// The text a descriptor field shows: from its first byte 0x30..0x7F on (so
// leading fill, spaces and punctuation are passed over), up to the first zero
// byte; nullopt when the first length bytes are all zero.
std::optional<std::string> SkipLeadingFill(const uint8_t* bytes, size_t length);

} // namespace VolumeInfo
