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


// The first track's number from the size information, as texts run from
// the disc's (track 0) straight on to the first track's.
int FirstTrack(const uint8_t* packs, size_t length)
{
    for (size_t at = 0; at + kPackSize <= length; at += kPackSize) {
        const uint8_t* pack = packs + at;
        if (pack[0] == 0x8F && pack[1] == 0 && ((pack[3] >> 4) & 0x07) == 0 && pack[5] >= 1 && pack[5] <= 99)
            return pack[5];
    }
    return 1;
}

} // namespace

void DecodeCdTextPacks(const uint8_t* packs, size_t length, FS_CDTEXT_INFO& info)
{
    const int firstTrack = FirstTrack(packs, length);
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
                track = track == 0 ? firstTrack : track + 1;
            }
        }
    }
}

uint16_t CdTextPackCrc(const uint8_t* pack)
{
    uint16_t crc = 0;
    for (size_t i = 0; i < 16; ++i) {
        crc ^= uint16_t(pack[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? uint16_t((crc << 1) ^ 0x1021) : uint16_t(crc << 1);
    }
    return uint16_t(~crc);
}

namespace {

constexpr uint8_t kEnglish = 0x09;
constexpr uint8_t kIso8859_1 = 0x00;
// Only 8 blocks of 256 packs exist; one block here, minus the size packs.
constexpr size_t kMaxTextPacks = 253;

class PackWriter {
public:
    std::vector<uint8_t> packs;
    uint8_t counts[16] = {};

    // One pack type's texts, disc first, then tracks, each ending in a zero,
    // run together across packs.
    bool WriteType(uint8_t type, const std::vector<std::pair<int, std::string>>& texts)
    {
        uint8_t text[kTextPerPack];
        size_t filled = 0;
        int packTrack = 0;
        int packPosition = 0;
        for (const auto& [track, s] : texts) {
            for (size_t c = 0; c <= s.size(); ++c) {
                if (filled == 0) {
                    packTrack = track;
                    packPosition = int(std::min<size_t>(c, 15));
                }
                text[filled++] = c < s.size() ? uint8_t(s[c]) : 0;
                if (filled == kTextPerPack) {
                    if (!Emit(type, packTrack, packPosition, text))
                        return false;
                    filled = 0;
                }
            }
        }
        if (filled > 0) {
            std::memset(text + filled, 0, kTextPerPack - filled);
            return Emit(type, packTrack, packPosition, text);
        }
        return true;
    }

    bool Emit(uint8_t type, int track, int position, const uint8_t* text)
    {
        if (packs.size() / kPackSize >= kMaxTextPacks + (type == CdTextPack::kSizeInfo ? 3 : 0))
            return false;
        uint8_t pack[kPackSize] = {type, uint8_t(track), uint8_t(packs.size() / kPackSize), uint8_t(position)};
        std::memcpy(pack + 4, text, kTextPerPack);
        const uint16_t crc = CdTextPackCrc(pack);
        pack[16] = uint8_t(crc >> 8);
        pack[17] = uint8_t(crc);
        packs.insert(packs.end(), pack, pack + kPackSize);
        ++counts[type & 0x0F];
        return true;
    }
};

} // namespace

std::vector<uint8_t> EncodeCdTextPacks(const CdTextItems& items, int firstTrack, int lastTrack)
{
    if (items.empty() || firstTrack < 1 || lastTrack < firstTrack || lastTrack > 99)
        return {};
    PackWriter writer;
    for (uint8_t type = CdTextPack::kTitle; type < CdTextPack::kSizeInfo; ++type) {
        bool present = false;
        std::vector<std::pair<int, std::string>> texts;
        for (int track = 0; track <= lastTrack; track = track == 0 ? firstTrack : track + 1) {
            const auto it = items.find({type, track});
            present = present || it != items.end();
            texts.emplace_back(track, it != items.end() ? it->second : std::string());
        }
        if (present && !writer.WriteType(type, texts))
            return {};
    }
    if (writer.packs.empty())
        return {};
    // Size information: three packs that count the packs of each type.
    writer.counts[CdTextPack::kSizeInfo & 0x0F] = 3;
    uint8_t info[36] = {kIso8859_1, uint8_t(firstTrack), uint8_t(lastTrack), 0};
    std::memcpy(info + 4, writer.counts, 16);
    info[20] = uint8_t(writer.packs.size() / kPackSize + 2); // last sequence number of block 0
    info[28] = kEnglish;
    for (int i = 0; i < 3; ++i)
        if (!writer.Emit(CdTextPack::kSizeInfo, i, 0, info + 12 * i))
            return {};
    return writer.packs;
}
