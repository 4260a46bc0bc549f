// OSTA compressed Unicode (CS0) as UDF records names and identifiers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file identifier: a compression byte (8: one byte per character, 16: two
// bytes, big-endian UTF-16) and the characters, to UTF-8. Another
// compression byte gives an empty name; a zero character ends the name.
std::string DecodeOstaName(const uint8_t* identifier, size_t length);

// A dstring field of fieldLength bytes, whose last byte holds the number of
// bytes used (compression byte included).
std::string DecodeOstaDString(const uint8_t* field, size_t fieldLength);
