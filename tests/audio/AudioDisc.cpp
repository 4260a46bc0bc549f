#include "AudioDisc.h"

#include "audio/CAudioPlayer.h"
#include "drive/ImageTarget.h"

#include <fstream>

AudioDisc::AudioDisc(const std::filesystem::path& folder, const std::vector<int32_t>& trackSectors)
{
    const std::string path = (folder / "audio.bin").string();
    std::ofstream file(path, std::ios::binary);
    int32_t lba = 0;
    for (int32_t sectors : trackSectors)
        for (int32_t i = 0; i < sectors; ++i, ++lba) {
            const std::vector<uint8_t> bytes = SectorBytes(lba);
            file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        }
    file.close();
    Load(path, trackSectors);
}

AudioDisc::AudioDisc(const std::filesystem::path& rawFile)
{
    Load(rawFile.string(), {int32_t(std::filesystem::file_size(rawFile) / CAudioPlayer::kRawSectorSize)});
}

void AudioDisc::Load(const std::string& path, const std::vector<int32_t>& trackSectors)
{
    DiscImage disc;
    disc.files.push_back(path);
    int32_t next = 0;
    for (size_t i = 0; i < trackSectors.size(); ++i) {
        ImageTrack track;
        track.number = int(i + 1);
        track.mode = TrackMode::Audio;
        track.control = 0x00;
        track.pregapStart = track.start = next;
        track.end = next + trackSectors[i];
        disc.tracks.push_back(track);
        tracks_.push_back({next, trackSectors[i]});
        next = track.end;
    }
    disc.sessions.push_back({1, 0x00, next});
    disc.runs.push_back({0, next, SectorStorage::Raw2352, 0, 0, 2352, false});
    drive_ = std::make_unique<CDevCmdROM>(path, std::make_unique<ImageTarget>(std::move(disc)), 0);
}

std::vector<uint8_t> AudioDisc::SectorBytes(int32_t lba)
{
    std::vector<uint8_t> bytes(CAudioPlayer::kRawSectorSize);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t((uint32_t(lba) * 131u + uint32_t(i) * 7u) % 255u + 1u); // never 0: silence stands out
    return bytes;
}

std::vector<uint8_t> AudioDisc::Block(int32_t first, int32_t count)
{
    std::vector<uint8_t> block;
    block.reserve(CAudioPlayer::kBlockBytes);
    for (int32_t lba = first; lba < first + count; ++lba) {
        const std::vector<uint8_t> sector = SectorBytes(lba);
        block.insert(block.end(), sector.begin(), sector.end());
    }
    block.resize(CAudioPlayer::kBlockBytes, 0);
    return block;
}

ExplorerTree::ExplorerTree(int audioTracks, const std::vector<std::string>& moreNodes)
{
    const NodeHandle session = tree.InsertNode(kNoNode, "Session 1", 0, 0);
    for (int n = 1; n <= audioTracks; ++n)
        tracks.push_back(tree.InsertNode(session, "AUDIO TRACK " + std::to_string(n), 1, 1));
    for (const std::string& label : moreNodes)
        tree.InsertNode(session, label, 1, 1);
}
