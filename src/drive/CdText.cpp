#include "drive/CdText.h"

#include "common/TextCodec.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr size_t kPackSize = 18;
constexpr size_t kTextPerPack = 12;

// Where each pack type lands in a track's record, and how wide it is there.
struct Field {
    uint8_t packType;
    int offset;
    int width;
};
constexpr Field kFields[] = {
    {0x80, FS_CDTEXT_INFO::kTitle, FS_CDTEXT_INFO::kTextWidth},       // title
    {0x81, FS_CDTEXT_INFO::kArtist, FS_CDTEXT_INFO::kTextWidth},      // performer
    {0x85, FS_CDTEXT_INFO::kSpecialTitle, FS_CDTEXT_INFO::kTextWidth}, // message
    {0x83, FS_CDTEXT_INFO::kComposer, FS_CDTEXT_INFO::kTextWidth},    // composer
    {0x82, FS_CDTEXT_INFO::kSongster, FS_CDTEXT_INFO::kTextWidth},    // songwriter
    {0x8E, FS_CDTEXT_INFO::kIsrc, FS_CDTEXT_INFO::kIsrcWidth},        // ISRC (track 0: UPC)
};

void Store(FS_CDTEXT_INFO& info, const Field& field, int track, const std::string& text)
{
    if (track < 0 || track > 99)
        return;
    uint8_t* out = info.bytes + FS_CDTEXT_INFO::RecordOffset(track) + field.offset;
    // Keep the terminating zero, and cut only between UTF-8 characters.
    size_t length = std::min<size_t>(text.size(), size_t(field.width - 1));
    while (length > 0 && length < text.size() && (uint8_t(text[length]) & 0xC0) == 0x80)
        --length;
    std::memset(out, 0, size_t(field.width));
    std::memcpy(out, text.data(), length);
}

} // namespace

void DecodeCdTextPacks(const uint8_t* packs, size_t length, FS_CDTEXT_INFO& info)
{
    for (const Field& field : kFields) {
        std::string current;
        std::string previous;
        int track = -1;
        for (size_t at = 0; at + kPackSize <= length; at += kPackSize) {
            const uint8_t* pack = packs + at;
            const bool doubleByte = (pack[3] & 0x80) != 0;
            const int block = (pack[3] >> 4) & 0x07;
            if (pack[0] != field.packType || block != 0 || doubleByte)
                continue;
            if (track < 0 || current.empty())
                track = pack[1] & 0x7F;
            for (size_t i = 0; i < kTextPerPack; ++i) {
                const uint8_t c = pack[4 + i];
                if (c != 0) {
                    current += char(c);
                    continue;
                }
                // A lone TAB repeats the previous track's text.
                const std::string& raw = current == "\t" ? previous : current;
                Store(info, field, track,
                      Latin1ToUtf8(reinterpret_cast<const uint8_t*>(raw.data()), raw.size()));
                previous = raw;
                current.clear();
                ++track;
            }
        }
    }
}
