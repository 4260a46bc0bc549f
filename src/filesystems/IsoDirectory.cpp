#include "filesystems/IsoDirectory.h"

#include "common/ByteOrder.h"
#include "common/InputLimits.h"
#include "common/TextCodec.h"
#include "drive/CDevCmdROM.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kRecordHeaderSize = 33; // fixed part before the identifier
constexpr uint8_t kMultiExtent = 0x80;

bool HasSync(const uint8_t* raw)
{
    for (int i = 1; i <= 10; ++i)
        if (raw[i] != 0xFF)
            return false;
    return true;
}

// One folder's sectors, read the way its first sector could be read.
class FolderSectors {
public:
    FolderSectors(CDevCmdROM& drive, int sectorMode) : drive_(drive), sectorMode_(sectorMode) {}

    // Raw first; when that fails the whole folder is read cooked.
    bool ReadFirst(uint32_t lba)
    {
        if (Read(lba))
            return true;
        cooked_ = true;
        return Read(lba);
    }
    // A failed read leaves zeros, which end the walk.
    void ReadNext(uint32_t lba) { Read(lba); }

    const uint8_t* Data() const { return buffer_ + span_.offset; }
    size_t Size() const { return span_.size; }

private:
    bool Read(uint32_t lba)
    {
        std::memset(buffer_, 0, sizeof buffer_);
        uint32_t status;
        if (cooked_) {
            status = drive_.ReadCD_10(buffer_, kIsoSectorSize, 1, int32_t(lba));
            span_ = UserDataSpan{};
        } else {
            status = drive_.ReadCD_All(buffer_, kRawSectorSize, 1, int32_t(lba));
            span_ = LocateUserData(buffer_, sectorMode_);
        }
        return status == 0;
    }

    CDevCmdROM& drive_;
    int sectorMode_;
    bool cooked_ = false;
    UserDataSpan span_;
    uint8_t buffer_[kRawSectorSize];
};

} // namespace

UserDataSpan LocateUserData(const uint8_t* raw, int sectorMode)
{
    UserDataSpan span;
    // Without the sync pattern the drive gave user data only: byte 18 is
    // then data, not a sub-mode.
    if (!HasSync(raw))
        return span;
    // The header's own mode byte is surer than the session's disc type.
    const int mode = raw[15] == 1 || raw[15] == 2 ? raw[15] : sectorMode;
    span.offset = mode == 1 ? 16 : 24;
    if (mode != 1 && (raw[18] & 0x20) != 0)
        span.size = 2324;
    return span;
}

uint64_t IsoDirEntry::Size() const
{
    uint64_t total = 0;
    for (const IsoExtent& extent : extents)
        total += extent.length;
    return total;
}

std::string DecodeIsoIdentifier(const uint8_t* bytes, size_t length, bool joliet)
{
    length = std::min<size_t>(length, 255);
    if (joliet) {
        // Room for every character of a 255-byte identifier as UTF-8.
        char text[1024] = {};
        Ucs2BeToLocal(bytes, length, text, sizeof text);
        return text;
    }
    char text[256] = {};
    std::memcpy(text, bytes, length);
    return text;
}

std::string IsoEntryName(const IsoDirEntry& entry, bool joliet)
{
    std::string name = DecodeIsoIdentifier(reinterpret_cast<const uint8_t*>(entry.identifier.data()),
                                           entry.identifier.size(), joliet);
    if (!entry.IsFolder() && name.size() >= 2 && name.compare(name.size() - 2, 2, ";1") == 0)
        name.resize(name.size() - 2);
    return name;
}

bool ParseIsoDirRecord(const uint8_t* record, size_t available, IsoDirEntry& entry)
{
    if (available < kRecordHeaderSize + 1)
        return false;
    const size_t length = record[0];
    const size_t nameLength = record[32];
    if (length < kRecordHeaderSize + 1 || length > available || nameLength == 0 ||
        kRecordHeaderSize + nameLength > length)
        return false;
    entry.identifier.assign(reinterpret_cast<const char*>(record + kRecordHeaderSize), nameLength);
    entry.flags = record[25];
    std::memcpy(entry.recorded, record + 18, sizeof entry.recorded);
    entry.extents.assign(1, IsoExtent{GetLE32(record + 2), GetLE32(record + 10)});
    return true;
}

bool WalkIsoFolder(CDevCmdROM& drive, uint32_t folderLba, const IsoFolderWalk& walk,
                   const std::function<bool(const IsoDirEntry&)>& visit)
{
    if (int64_t(folderLba) >= walk.endLba)
        return false;
    FolderSectors sectors(drive, walk.sectorMode);
    if (!sectors.ReadFirst(folderLba))
        return false;

    uint64_t length = sectors.Size();
    if (walk.length) {
        length = *walk.length;
    } else {
        IsoDirEntry self;
        if (ParseIsoDirRecord(sectors.Data(), sectors.Size(), self) && self.Lba() == folderLba)
            length = self.extents.front().length;
    }
    // Reading is bounded by the disc, whatever length the records claim.
    const uint64_t sectorCount = std::min<uint64_t>((length + sectors.Size() - 1) / sectors.Size(),
                                                    uint64_t(walk.endLba - folderLba));

    size_t pos = 0;
    for (int skipped = 0; skipped < 2 && pos < sectors.Size() && sectors.Data()[pos] != 0; ++skipped)
        pos += sectors.Data()[pos];

    // A multi-extent file waits here until its last record has been met.
    IsoDirEntry pending;
    bool hasPending = false;
    size_t visited = 0;
    auto flush = [&]() {
        if (!hasPending)
            return true;
        hasPending = false;
        return visit(pending) && ++visited < InputLimits::kMaxFolderEntries;
    };

    uint64_t sectorIndex = 0;
    for (;;) {
        if (pos >= sectors.Size() || sectors.Data()[pos] == 0) {
            if (++sectorIndex >= sectorCount)
                break;
            sectors.ReadNext(uint32_t(folderLba + sectorIndex));
            pos = 0;
            if (sectors.Data()[0] == 0)
                break;
        }
        IsoDirEntry entry;
        if (!ParseIsoDirRecord(sectors.Data() + pos, sectors.Size() - pos, entry)) {
            pos = sectors.Size(); // records never cross sectors: try the next one
            continue;
        }
        pos += sectors.Data()[pos];

        if (hasPending && pending.identifier == entry.identifier) {
            pending.extents.push_back(entry.extents.front());
            pending.flags = entry.flags;
        } else {
            if (!flush())
                return true;
            pending = std::move(entry);
            hasPending = true;
        }
        if ((pending.flags & kMultiExtent) == 0 && !flush())
            return true;
    }
    flush();
    return true;
}
