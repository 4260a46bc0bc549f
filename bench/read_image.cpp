// Reads a disc image sector by sector through the drive-command layer, as
// the viewers and the extraction engine do, and prints the throughput.
//   bench_read_image IMAGE cooked|raw
#include "common/ByteOrder.h"
#include "drive/CDevCmdROM.h"
#include "drive/MmcCommands.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[2], "cooked") != 0 && std::strcmp(argv[2], "raw") != 0)) {
        std::fprintf(stderr, "usage: bench_read_image IMAGE cooked|raw\n");
        return 2;
    }
    const bool raw = std::strcmp(argv[2], "raw") == 0;
    CDevCmdROM drive;
    if (!drive.SetImageFile(argv[1])) {
        std::fprintf(stderr, "not an image: %s\n", argv[1]);
        return 1;
    }
    DISC_INFO disc{};
    TRACK_INFO track{};
    if (drive.ReadDiscInfo(disc) != 0 || drive.ReadTrackInfo(track, 1, disc.bytes[3]) != 0)
        return 1;
    const int32_t first = int32_t(GetBE32(&track.bytes[8]));
    const int32_t count = int32_t(GetBE32(&track.bytes[24]));
    const uint32_t size = raw ? Mmc::kRawSectorSize : Mmc::kCookedSectorSize;
    std::vector<uint8_t> sector(size);
    uint64_t checksum = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (int32_t lba = first; lba < first + count; ++lba) {
        const uint32_t status = raw ? drive.ReadCD_All(sector.data(), size, 1, lba)
                                    : drive.ReadCD_10(sector.data(), size, 1, lba);
        if (status != 0) {
            std::fprintf(stderr, "read failed at %d\n", lba);
            return 1;
        }
        checksum += sector[size - 1];
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    const double megabytes = double(count) * size / 1e6;
    std::printf("%s %d sectors %.1f MB %.3f s %.1f MB/s (checksum %llu)\n", argv[2], count, megabytes, seconds,
                megabytes / seconds, static_cast<unsigned long long>(checksum));
    return 0;
}
