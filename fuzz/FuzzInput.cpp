#include "FuzzInput.h"

#include "drive/CDevCmdROM.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kFixedSectors = 40;
constexpr size_t kRawSectorSize = 2352;
constexpr size_t kSectorSize = 2048;

} // namespace

const std::string& FuzzFolder()
{
    // Leaked on purpose: the exit handler below still needs it.
    static const std::string& folder = *new std::string([] {
        const char* base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string path = std::string(base) + "/morvik-fuzz-" + std::to_string(::getpid());
        std::filesystem::create_directories(path);
        std::atexit([] { std::filesystem::remove_all(FuzzFolder()); });
        return path;
    }());
    return folder;
}

std::string WriteFuzzFile(const std::string& name, const uint8_t* data, size_t size)
{
    const std::string path = FuzzFolder() + "/" + name;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

std::string WriteFixedDataFile(const std::string& name)
{
    const std::string path = FuzzFolder() + "/" + name;
    if (std::filesystem::exists(path))
        return path;
    std::vector<uint8_t> sectors(kFixedSectors * kRawSectorSize);
    for (size_t i = 0; i < kFixedSectors; ++i) {
        uint8_t* sector = &sectors[i * kRawSectorSize];
        sector[0] = 0x00;
        for (int b = 1; b < 11; ++b)
            sector[b] = 0xFF;
        sector[11] = 0x00;
        const size_t frame = i + 150;
        auto bcd = [](size_t v) { return uint8_t((v / 10) << 4 | (v % 10)); };
        sector[12] = bcd(frame / 75 / 60);
        sector[13] = bcd(frame / 75 % 60);
        sector[14] = bcd(frame % 75);
        sector[15] = 1;
    }
    return WriteFuzzFile(name, sectors.data(), sectors.size());
}

std::string WritePlainImage(const std::string& name, const uint8_t* data, size_t size, size_t minSectors)
{
    const size_t sectors = std::max(minSectors, (size + kSectorSize - 1) / kSectorSize);
    std::vector<uint8_t> image(sectors * kSectorSize);
    std::copy(data, data + size, image.begin());
    return WriteFuzzFile(name, image.data(), image.size());
}

void ExerciseDrive(CDevCmdROM& drive)
{
    // Whatever opened must answer every read without harm.
    std::vector<uint8_t> buffer(16 * kRawSectorSize);
    uint8_t toc[2048];
    for (uint8_t format : {0, 1, 2})
        drive.ReadToc(toc, sizeof toc, format, 0);
    DISC_INFO disc{};
    drive.ReadDiscInfo(disc);
    for (uint32_t track : {1u, 2u, 0xFFu}) {
        TRACK_INFO info{};
        drive.ReadTrackInfo(info, 1, track);
    }
    drive.GetMediumType();
    for (int32_t lba : {-150, -1, 0, 16, 17, 1000, 0x7FFFFFF0})
        drive.ReadCD_All(buffer.data(), uint32_t(buffer.size()), 16, lba);
    drive.ReadCD_Data(buffer.data(), uint32_t(buffer.size()), 16, 16);
    FS_CDTEXT_INFO text{};
    drive.GetCDText(text);
    drive.JudgeFileSystem(0);
}

void ExerciseImageFile(const std::string& path)
{
    CDevCmdROM drive;
    if (drive.SetImageFile(path))
        ExerciseDrive(drive);
}
