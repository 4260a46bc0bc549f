#include "filesystems/OstaName.h"

#include "common/TextCodec.h"

#include <algorithm>

std::string DecodeOstaName(const uint8_t* identifier, size_t length)
{
    if (length == 0)
        return {};
    // 254 and 255 are the 8 and 16-bit forms of UDF 2.50 and later.
    switch (identifier[0]) {
    case 8:
    case 254:
        return Latin1ToUtf8(identifier + 1, length - 1);
    case 16:
    case 255:
        return Utf16BeToUtf8(identifier + 1, length - 1);
    default:
        return {};
    }
}

std::string DecodeOstaDString(const uint8_t* field, size_t fieldLength)
{
    if (fieldLength < 2)
        return {};
    const size_t used = std::min<size_t>(field[fieldLength - 1], fieldLength - 1);
    return DecodeOstaName(field, used);
}
