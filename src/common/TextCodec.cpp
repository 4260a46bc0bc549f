#include "common/TextCodec.h"

#include <algorithm>
#include <cstring>

namespace {

void AppendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

void Ucs2BeToLocal(const uint8_t* name, size_t n, char* out, size_t outSize)
{
    if (outSize == 0)
        return;
    std::memset(out, 0, outSize);
    const std::string text = Utf16BeToUtf8(name, std::min<size_t>(n, 256));
    // Cut at a character boundary so the output stays valid UTF-8.
    size_t length = std::min(text.size(), outSize - 1);
    while (length > 0 && length < text.size() && (uint8_t(text[length]) & 0xC0) == 0x80)
        --length;
    std::memcpy(out, text.data(), length);
}

std::string Utf16BeToUtf8(const uint8_t* text, size_t n)
{
    std::string out;
    out.reserve(n);
    for (size_t i = 0; i + 1 < n; i += 2) {
        uint32_t c = (uint32_t(text[i]) << 8) | text[i + 1];
        if (c == 0)
            break;
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < n) {
            const uint32_t low = (uint32_t(text[i + 2]) << 8) | text[i + 3];
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD; // an unpaired half
        AppendUtf8(out, c);
    }
    return out;
}

std::string Latin1ToUtf8(const uint8_t* text, size_t n)
{
    std::string out;
    out.reserve(n);
    for (size_t i = 0; i < n && text[i] != 0; ++i)
        AppendUtf8(out, text[i]);
    return out;
}
