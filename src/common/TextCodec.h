// Text conversions for names and identifiers read from discs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Decodes at most 256 bytes of big-endian UCS-2 (Joliet names, 16-bit OSTA
// names, UDF identifiers) into UTF-8. Writes at most outSize bytes into the
// zero-filled output, always leaving it terminated; characters that do not
// fit whole are dropped.
void Ucs2BeToLocal(const uint8_t* name, size_t n, char* out, size_t outSize);

// The same conversion into a string, without the 256-byte input limit.
std::string Ucs2BeToUtf8(const uint8_t* name, size_t n);

// Big-endian UTF-16 (16-bit OSTA names since UDF 2.00) to UTF-8: surrogate
// pairs give one character; a zero character ends the text.
std::string Utf16BeToUtf8(const uint8_t* text, size_t n);

// Latin-1 (ISO 8859-1, the OSTA 8-bit form and CD-Text's usual code) to UTF-8.
std::string Latin1ToUtf8(const uint8_t* text, size_t n);
