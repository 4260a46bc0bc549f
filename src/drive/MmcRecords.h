// Records filled as a drive returns them (MMC/SPC layouts). Callers zero them
// before a command so that a failed read leaves zeros.
#pragma once

#include <cstdint>

struct DISC_INFO {
    uint8_t bytes[546];
};
struct TRACK_INFO {
    uint8_t bytes[36];
};
struct INQUIRYDATA {
    uint8_t bytes[96];
};
// Mode page 2Ah as read: byte 0's low six bits are the page code.
struct PARAM_PAGE_READ {
    uint8_t bytes[26];
};

// CD-Text as the explorer reads it: the record of track t (1 to 99) starts at
// byte 8 + 817 * t and holds zero-terminated texts at fixed offsets.
struct FS_CDTEXT_INFO {
    uint8_t bytes[82526];

    static constexpr int kRecordSize = 817;
    static constexpr int kTitle = 0;
    static constexpr int kArtist = 160;
    static constexpr int kSpecialTitle = 320;
    static constexpr int kComposer = 480;
    static constexpr int kSongster = 640;
    static constexpr int kIsrc = 800;
    static constexpr int kTextWidth = 160;
    static constexpr int kIsrcWidth = 17;

    static constexpr int RecordOffset(int track) { return 8 + kRecordSize * track; }
};
static_assert(sizeof(FS_CDTEXT_INFO) == 82526);
static_assert(FS_CDTEXT_INFO::RecordOffset(99) + FS_CDTEXT_INFO::kRecordSize <= 82526);

// The current profile of GET CONFIGURATION. 0 (none), 8, 9 and 10 are CD
// media; anything else is treated as DVD-class media.
using MEDIUM_TYPE = uint16_t;
namespace MediumType {
inline constexpr MEDIUM_TYPE None = 0x00;
inline constexpr MEDIUM_TYPE CdRom = 0x08;
inline constexpr MEDIUM_TYPE CdR = 0x09;
inline constexpr MEDIUM_TYPE CdRw = 0x0A;
inline constexpr MEDIUM_TYPE DvdRom = 0x10;
inline constexpr bool IsCd(MEDIUM_TYPE t) { return t == None || t == CdRom || t == CdR || t == CdRw; }
} // namespace MediumType
