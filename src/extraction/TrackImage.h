// Whole tracks to one local file: WAV (audio with a 44-byte header), ISO
// (the user data of data sectors) or raw 2352-byte sectors.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class CDevCmdROM;
class JobState;

enum class TrackFormat { Wav, Iso, Raw };

// kind 0 audio, 1 data. ".wav" (audio) and ".iso" (data) anywhere in the
// path, in any case, pick WAV and ISO; everything else is raw.
TrackFormat ChooseTrackFormat(int kind, const std::string& path);

// The RIFF header of sectors raw CD-DA sectors: 44.1 kHz, 16-bit stereo PCM.
std::array<uint8_t, 44> MakeWavHeader(uint32_t sectors);

struct TrackJob {
    int kind = 0;
    int32_t first = 0;
    int32_t end = 0; // one past the last sector copied
    std::string path;
};

// Copies the job's sectors into its file, 16 sectors per command. A raw or
// WAV file always holds 2352 bytes per sector: a sector that cannot be read
// is written as zeros (silence). Raises the job's done flag at the end;
// a done flag raised by the poller cancels and deletes the file.
void RunTrackJob(CDevCmdROM& drive, JobState& state, const TrackJob& job);
