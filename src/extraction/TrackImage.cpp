#include "extraction/TrackImage.h"

#include "common/ByteOrder.h"
#include "drive/CDevCmdROM.h"
#include "drive/MmcCommands.h"
#include "extraction/JobState.h"
#include "extraction/OutputFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t kChunkSectors = 16;

bool ContainsNoCase(const std::string& text, const std::string& lowerNeedle)
{
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return lower.find(lowerNeedle) != std::string::npos;
}

using SectorRead = uint32_t (CDevCmdROM::*)(uint8_t*, uint32_t, uint32_t, int32_t, SenseData_tag*);

// Reads n sectors of size bytes into buffer; when the command fails, each
// sector on its own, leaving the zeros of the ones that still fail.
void ReadChunk(CDevCmdROM& drive, SectorRead read, uint32_t size, uint8_t* buffer, int32_t lba, int32_t n)
{
    std::memset(buffer, 0, size_t(n) * size);
    if ((drive.*read)(buffer, uint32_t(n) * size, uint32_t(n), lba, nullptr) == 0)
        return;
    for (int32_t i = 0; i < n; ++i) {
        uint8_t* sector = buffer + size_t(i) * size;
        if ((drive.*read)(sector, size, 1, lba + i, nullptr) != 0)
            std::memset(sector, 0, size);
    }
}

} // namespace

TrackFormat ChooseTrackFormat(int kind, const std::string& path)
{
    if (kind == 0 && ContainsNoCase(path, ".wav"))
        return TrackFormat::Wav;
    if (kind == 1 && ContainsNoCase(path, ".iso"))
        return TrackFormat::Iso;
    return TrackFormat::Raw;
}

std::array<uint8_t, 44> MakeWavHeader(uint32_t sectors)
{
    const uint32_t dataLength = sectors * Mmc::kRawSectorSize;
    std::array<uint8_t, 44> h{};
    std::memcpy(&h[0], "RIFF", 4);
    PutLE32(&h[4], 36 + dataLength);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    PutLE32(&h[16], 16);
    PutLE16(&h[20], 1);      // PCM
    PutLE16(&h[22], 2);      // channels
    PutLE32(&h[24], 44100);  // samples per second
    PutLE32(&h[28], 176400); // bytes per second
    PutLE16(&h[32], 4);      // block alignment
    PutLE16(&h[34], 16);     // bits per sample
    std::memcpy(&h[36], "data", 4);
    PutLE32(&h[40], dataLength);
    return h;
}

void RunTrackJob(CDevCmdROM& drive, JobState& state, const TrackJob& job)
{
    state.SetCurrentName("TRACK DATA");
    OutputFile file;
    const int64_t sectors = int64_t(job.end) - job.first;
    const TrackFormat format = ChooseTrackFormat(job.kind, job.path);
    bool writing = file.Create(job.path);
    if (writing && format == TrackFormat::Wav) {
        const auto header = MakeWavHeader(uint32_t(sectors));
        writing = file.Write(header.data(), header.size());
    }
    const bool cooked = format == TrackFormat::Iso;
    const uint32_t size = cooked ? Mmc::kCookedSectorSize : Mmc::kRawSectorSize;
    const SectorRead read = cooked ? &CDevCmdROM::ReadCD_10 : &CDevCmdROM::ReadCD_All;
    std::vector<uint8_t> buffer(size_t(kChunkSectors) * Mmc::kRawSectorSize);
    for (int32_t at = job.first; writing && at < job.end;) {
        if (state.IsDone()) {
            file.Discard();
            return;
        }
        const int32_t n = std::min<int32_t>(kChunkSectors, job.end - at);
        ReadChunk(drive, read, size, buffer.data(), at, n);
        writing = file.Write(buffer.data(), size_t(n) * size);
        at += n;
        state.SetProgress(uint64_t(at - job.first), uint64_t(sectors));
    }
    file.Close();
    state.SetProgress(100);
    state.RaiseDone();
}
