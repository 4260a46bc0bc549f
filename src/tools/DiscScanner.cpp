#include "tools/DiscScanner.h"

#include "common/ByteOrder.h"
#include "drive/CDevCmdROM.h"
#include "drive/MmcCommands.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

namespace {
constexpr uint32_t kChunkSectors = 16;
constexpr uint32_t kChunkBytes = kChunkSectors * Mmc::kRawSectorSize;
constexpr uint32_t kTocSize = 2048;
constexpr uint8_t kByTrackNumber = 1;
constexpr int64_t kLbaLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;

// Where a track lies and how its sectors are read. Audio and CD-ROM XA
// Mode 2 tracks are read raw: READ(10) refuses Form 2 sectors, which are
// readable all the same.
struct TrackExtent {
    int64_t start = 0;
    int64_t end = 0;
    bool raw = false;
};

bool ReadTrackExtent(CDevCmdROM& drive, int track, TrackExtent& extent)
{
    TRACK_INFO info{};
    if (drive.ReadTrackInfoEx(info, kByTrackNumber, uint32_t(track)) != 0)
        return false;
    extent.start = int32_t(GetBE32(&info.bytes[8]));
    extent.end = std::min(extent.start + GetBE32(&info.bytes[24]), kLbaLimit);
    const bool audio = (info.bytes[5] & 0x0F) < 4;
    const bool mode2 = (info.bytes[6] & 0x0F) == 2;
    extent.raw = audio || mode2;
    return true;
}

uint32_t ReadSectors(CDevCmdROM& drive, std::vector<uint8_t>& buffer, bool raw, int64_t lba, uint32_t count,
                     SenseData_tag* sense = nullptr)
{
    if (raw)
        return drive.ReadCD_All(buffer.data(), count * Mmc::kRawSectorSize, count, int32_t(lba), sense);
    return drive.ReadCD_10(buffer.data(), count * Mmc::kCookedSectorSize, count, int32_t(lba), sense);
}

// The bar's value, sectors up to position * 100 / disc end, passed on only
// when it changes: a window is told a hundred times, not once per chunk.
class Progress {
public:
    Progress(const std::function<void(int)>& report, int64_t discEnd) : report_(report), discEnd_(discEnd) {}

    void Report(int64_t position)
    {
        const int percent = discEnd_ > 0 ? int(std::clamp<int64_t>(position * 100 / discEnd_, 0, 100)) : 0;
        if (percent == last_)
            return;
        last_ = percent;
        if (report_)
            report_(percent);
    }

private:
    const std::function<void(int)>& report_;
    const int64_t discEnd_;
    int last_ = -1;
};

std::string Hex(uint8_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}
} // namespace

std::array<std::string, 4> ScanList::RowTexts(const ScanError& error)
{
    return {std::to_string(error.sector), Hex(error.sense.key), Hex(error.sense.asc), Hex(error.sense.ascq)};
}

DiscScanner::DiscScanner(Callbacks callbacks) : callbacks_(std::move(callbacks)) {}

DiscScanner::~DiscScanner()
{
    Stop();
    Wait();
}

DiscScanner::StartResult DiscScanner::Start(CDevCmdROM& drive)
{
    std::lock_guard lock(threadMutex_);
    if (scanning_)
        return StartResult::AlreadyScanning;
    if (drive.TestUnitReady() != 0)
        return StartResult::NotReady;
    // A stopped scan may still be finishing its chunk.
    if (worker_.joinable())
        worker_.join();
    stopRequested_ = false;
    rowCounter_ = 0;
    scanning_ = true;
    worker_ = std::thread(&DiscScanner::Run, this, std::ref(drive));
    return StartResult::Started;
}

void DiscScanner::Stop()
{
    stopRequested_ = true;
    scanning_ = false;
}

void DiscScanner::Wait()
{
    std::lock_guard lock(threadMutex_);
    if (worker_.joinable())
        worker_.join();
}

void DiscScanner::Run(CDevCmdROM& drive)
{
    const ScanEnd end = Scan(drive);
    scanning_ = false;
    if (callbacks_.finished)
        callbacks_.finished(end);
}

ScanEnd DiscScanner::Scan(CDevCmdROM& drive)
{
    int first = 0;
    int last = 0;
    DISC_INFO disc{};
    if (drive.ReadDiscInfo(disc) == 0) {
        if ((disc.bytes[2] & 0x03) == 0) // empty disc
            return ScanEnd::Completed;
        first = disc.bytes[3];
        last = disc.bytes[6];
    } else {
        std::vector<uint8_t> toc(kTocSize, 0);
        if (drive.ReadToc(toc.data(), kTocSize, Mmc::TocFormat::Formatted, 0) != 0)
            return ScanEnd::NoTrackRange;
        first = toc[2];
        last = toc[3];
    }
    TrackExtent lastTrack;
    if (!ReadTrackExtent(drive, last, lastTrack))
        return ScanEnd::NoTrackRange;
    Progress progress{callbacks_.progress, lastTrack.end};
    progress.Report(0);

    std::vector<uint8_t> buffer(kChunkBytes, 0);
    for (int track = first; track <= last; ++track) {
        if (stopRequested_)
            return ScanEnd::Stopped;
        TrackExtent extent;
        if (!ReadTrackExtent(drive, track, extent))
            continue;
        for (int64_t pos = extent.start; pos < extent.end;) {
            if (stopRequested_)
                return ScanEnd::Stopped;
            const uint32_t n = uint32_t(std::min<int64_t>(extent.end - pos, kChunkSectors));
            if (ReadSectors(drive, buffer, extent.raw, pos, n) != 0) {
                for (uint32_t i = 0; i < n; ++i) {
                    if (stopRequested_)
                        return ScanEnd::Stopped;
                    SenseData_tag sense;
                    if (ReadSectors(drive, buffer, extent.raw, pos + i, 1, &sense) != 0)
                        ReportError(int32_t(pos + i), sense);
                }
            }
            pos += n;
            progress.Report(pos);
        }
    }
    return ScanEnd::Completed;
}

void DiscScanner::ReportError(int32_t sector, const SenseData_tag& sense)
{
    const int row = rowCounter_++;
    if (callbacks_.error)
        callbacks_.error(row, ScanError{sector, sense});
}
