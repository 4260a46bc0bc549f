// Text conversions for names and identifiers read from discs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Big-endian UTF-16 (Joliet names and identifiers, 16-bit OSTA names) to
// UTF-8: surrogate pairs give one character, as the writers that follow
// Windows record characters beyond the basic plane; an unpaired half becomes
// U+FFFD; a zero character ends the text.
std::string Utf16BeToUtf8(const uint8_t* text, size_t n);

// The same conversion of at most 256 bytes into a zero-filled buffer of
// outSize bytes, always left terminated; characters that do not fit whole
// are dropped.
void Ucs2BeToLocal(const uint8_t* name, size_t n, char* out, size_t outSize);

// Latin-1 (ISO 8859-1, the OSTA 8-bit form and CD-Text's usual code) to UTF-8.
std::string Latin1ToUtf8(const uint8_t* text, size_t n);
